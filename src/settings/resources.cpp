// Start-up and shut-down of the shared resources: the screen mode, the back buffer, the shared
// pictures and the fonts.
#include "settings/global.h"

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "core/constants.h"
#include "core/datafileCheck.h"
#include "platform/platform.h"

namespace {
FONT* libraryFont = nullptr;
}  // namespace

void globals::init() {
    invulnerable = false;
    speedFactor = 1.0f;
    firstStart = false;
    if (!load()) create();
    set_color_depth(colorDepth);
    setMode(screenMode);
    buffer = createBitmap(platform::screenWidth(), platform::screenHeight());
    menuBackground = loadBitmap("gfx/mainmenu.tga");
    crosshair = loadBitmap("gfx/crosshair.tga");
    data = loadCheckedDatafile("data/data.dat");
    if (!data) errors::datafileError("data/data.dat");
    // A datafile with fewer than three fonts would leave us drawing with garbage; its list
    // ends at DAT_END, so look no further than that.
    for (int i = 0; i < 3; ++i)
        if (data[i].type == DAT_END || data[i].type != DAT_FONT) errors::datafileError("data/data.dat");
    menuFont = static_cast<FONT*>(data[0].dat);
    textFont = static_cast<FONT*>(data[1].dat);
    warningFont = static_cast<FONT*>(data[2].dat);

    const int W = platform::screenWidth(), H = platform::screenHeight();
    int th = text_height(textFont);
    textout_right_ex(menuBackground, textFont, allegro_id, W - 3, H - 2 * th - 6, makecol(255, 255, 255), -1);
    if (VERSION_LETTER == 'A' || VERSION_LETTER == 'B')
        textout_right_ex(menuBackground, textFont, VERSIONSTRING.c_str(), W - 3, H - th - 3, makecol(255, 255, 255), -1);
    libraryFont = font;
    font = textFont;
    gui_fg_color = makecol(0, 0, 0);
    gui_bg_color = makecol(102, 51, 0);
}

void globals::unload() {
    if (buffer) destroy_bitmap(buffer);
    if (menuBackground) destroy_bitmap(menuBackground);
    if (crosshair) destroy_bitmap(crosshair);
    if (data) unload_datafile(data);
    buffer = menuBackground = crosshair = nullptr;
    data = nullptr;
    if (libraryFont) font = libraryFont;  // the datafile took our fonts with it
    menuFont = textFont = warningFont = nullptr;
    save();
}

void globals::toggleMode() {
    if (screenMode == 0) screenMode = 2;
    screenMode ^= 3;
    setMode(screenMode);
}
