// Draws preview pictures of the art in place, with the game's own code: the menu screens, the
// intro's final picture, a test room through the renderer with the HUD on top, and contact
// sheets of every texture, sprite and weapon frame.
//   brawnwick-preview ROOT OUTDIR
// ROOT is the repository (the game's working folder); OUTDIR receives the .bmp pictures.
#include <allegro.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/preview/menus.h"
#include "assets/preview/scene.h"
#include "assets/preview/sheets.h"
#include "core/constants.h"
#include "settings/global.h"

namespace {

const int W = 800, H = 600;  // the menus' size, and the game's in resolution.txt

// The fonts, pictures and first-start settings that global.init loads, without a screen.
bool loadResources() {
    global.setDefaults(32);
    global.firstStart = false;
    global.data = load_datafile("data/data.dat");
    global.menuBackground = load_bitmap("gfx/mainmenu.tga", nullptr);
    global.crosshair = load_bitmap("gfx/crosshair.tga", nullptr);
    if (!global.data || !global.menuBackground || !global.crosshair) return false;
    for (int i = 0; i < 3; ++i)
        if (global.data[i].type != DAT_FONT) return false;
    global.menuFont = static_cast<FONT*>(global.data[0].dat);
    global.textFont = static_cast<FONT*>(global.data[1].dat);
    global.warningFont = static_cast<FONT*>(global.data[2].dat);
    // The corner lines the game stamps on the menu background at start-up.
    const int th = text_height(global.textFont), white = makecol(255, 255, 255);
    textout_right_ex(global.menuBackground, global.textFont, allegro_id, W - 3, H - 2 * th - 6, white, -1);
    textout_right_ex(global.menuBackground, global.textFont, VERSIONSTRING.c_str(), W - 3, H - th - 3, white, -1);
    return true;
}

void unloadResources() {
    if (global.menuBackground) destroy_bitmap(global.menuBackground);
    if (global.crosshair) destroy_bitmap(global.crosshair);
    if (global.data) unload_datafile(global.data);
    global.menuBackground = global.crosshair = nullptr;
    global.data = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: brawnwick-preview ROOT OUTDIR\n");
        return 2;
    }
    std::string out = argv[2];
    if (!out.empty() && out[0] != '/') {
        char* here = getcwd(nullptr, 0);
        if (here) out = std::string(here) + "/" + out;
        std::free(here);
    }
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "brawnwick-preview: cannot enter %s\n", argv[1]);
        return 1;
    }
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
    set_color_depth(32);
    if (!loadResources()) {
        std::fprintf(stderr, "brawnwick-preview: cannot load data/data.dat, gfx/mainmenu.tga or gfx/crosshair.tga\n");
        unloadResources();
        return 1;
    }
    int failures = 0;
    // Where the three views stand: the west room, the south-west corner, and the east looking back.
    const preview::ScenePose poses[3] = {{1.6f, 5.0f, 0.0f, 0, 0}, {1.5f, 8.5f, -0.45f, 1, 3}, {10.5f, 8.5f, -2.4f, 2, 0}};
    BITMAP* firstView = nullptr;
    for (int i = 0; i < 3; ++i) {
        BITMAP* view = preview::renderScene(poses[i], W, H);
        const std::string path = out + "/scene" + std::to_string(i + 1) + ".bmp";
        if (!view || save_bitmap(path.c_str(), view, nullptr) != 0) {
            std::fprintf(stderr, "brawnwick-preview: cannot make %s\n", path.c_str());
            ++failures;
        }
        if (i == 0)
            firstView = view;
        else if (view)
            destroy_bitmap(view);
    }
    failures += preview::drawMenus(out, firstView);
    failures += preview::drawSheets(out);
    if (firstView) destroy_bitmap(firstView);
    unloadResources();
    return failures ? 1 : 0;
}
END_OF_MAIN()
