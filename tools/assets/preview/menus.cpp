// Everything the preview needs of the menu code is in this file, so a change of the menus'
// interfaces is mended here alone.
#include "assets/preview/menus.h"

#include <cstdio>

#include "menu/intro.h"
#include "menu/keyChange.h"
#include "menu/options.h"
#include "menu/stdMenu.h"
#include "platform/platform.h"
#include "settings/global.h"

namespace preview {
namespace {

const int W = 800, H = 600;  // the menus' size

bool save(BITMAP* picture, const std::string& path) {
    if (save_bitmap(path.c_str(), picture, nullptr) == 0) return true;
    std::fprintf(stderr, "preview: cannot write %s\n", path.c_str());
    return false;
}

BITMAP* load(const char* path) {
    BITMAP* b = load_bitmap(path, nullptr);
    if (!b) std::fprintf(stderr, "preview: cannot load %s\n", path);
    return b;
}

// A standard menu with `selection` chosen; images and background as the caller's screen has them.
bool stdMenu(BITMAP* target, const std::string* labels, bool* enabled, int selection, int margin,
             menu::StdMenuLook look, const char* selectedImage, const char* otherImage) {
    look.labels = labels;
    look.selectedImage = load(selectedImage);
    look.otherImage = load(otherImage);
    const bool ok = look.selectedImage && look.otherImage && look.background;
    if (ok) {
        menu::StdMenuState m = menu::openStdMenu(selection, false, 4, enabled, margin, look.selectedImage->w,
                                                 look.selectedImage->h, W, H);
        menu::drawStdMenu(m, look, target);
    }
    if (look.selectedImage) destroy_bitmap(look.selectedImage);
    if (look.otherImage) destroy_bitmap(look.otherImage);
    return ok;
}

bool mainMenu(BITMAP* target) {
    const std::string labels[4] = {"New Game", "Hiscore", "Options", "Exit"};
    bool enabled[4] = {true, false, true, true};
    menu::StdMenuLook look;
    look.font = global.menuFont;
    look.background = global.menuBackground;
    look.enabledColor = makecol(153, 153, 153);
    look.selectedColor = makecol(0, 0, 0);
    look.disabledColor = makecol(255, 255, 255);
    return stdMenu(target, labels, enabled, 0, 50, look, "gfx/button.tga", "gfx/buttonpressed.tga");
}

bool inGameMenu(BITMAP* target, BITMAP* gameFrame) {
    const std::string labels[4] = {"Continue", "Mission description", "Options", "Quit to main menu"};
    bool enabled[4] = {true, true, true, true};
    menu::StdMenuLook look;
    look.font = global.textFont;
    look.background = gameFrame;
    look.enabledColor = makecol(170, 170, 170);
    look.selectedColor = makecol(255, 255, 255);
    look.disabledColor = makecol(255, 255, 255);
    return stdMenu(target, labels, enabled, 1, 250, look, "gfx/ingamebutton.tga", "gfx/ingamebuttonpressed.tga");
}

// The full list with "Color depth" chosen, so the rows around it show the unselected greys.
void options(BITMAP* target) {
    menu::OptionsState s = menu::openOptions(true, W, H);
    s.selection = menu::ROW_COLOR_DEPTH;
    menu::drawOptions(s, target);
}

// The longest row chosen, with its help line.
void keyList(BITMAP* target) {
    menu::KeyListState s = menu::openKeyList(W, H);
    s.selection = 10;
    menu::drawKeyList(s, global, target);
}

// Waiting for the key of "Move forward" after the turn-left key was pressed: the refusal shows.
void capture(BITMAP* target) {
    globals settings = global;
    menu::CaptureState c = menu::openCapture(settings, 0);
    platform::Input in;
    in.held[settings.keyTurnLeft] = true;
    menu::captureStep(c, settings, in);
    menu::drawCapture(c, target, W);
}

// The intro's final picture, its address fully lit.
bool intro(BITMAP* target) {
    DATAFILE* data = load_datafile("data/intro.dat");
    if (!menu::introDataUsable(data)) {
        std::fprintf(stderr, "preview: cannot load data/intro.dat\n");
        if (data) unload_datafile(data);
        return false;
    }
    const menu::IntroPictures pictures{static_cast<BITMAP*>(data[0].dat), static_cast<BITMAP*>(data[1].dat),
                                       static_cast<BITMAP*>(data[3].dat)};
    menu::IntroState s = menu::makeIntro(pictures.logo->w, pictures.logo->h, [](int) {});
    const platform::Input noKeys;
    for (int tick = 0; tick < 400 && s.brightness < 255; ++tick) menu::introTick(s, noKeys);
    menu::drawIntro(s, pictures, target, W, H);
    unload_datafile(data);
    return true;
}

}  // namespace

int drawMenus(const std::string& outDir, BITMAP* gameFrame) {
    BITMAP* target = create_bitmap(W, H);
    int failures = 0;
    auto put = [&](bool drawn, const char* name) {
        if (!drawn || !save(target, outDir + "/" + name)) ++failures;
    };
    put(mainMenu(target), "mainmenu.bmp");
    options(target);
    put(true, "options.bmp");
    keyList(target);
    put(true, "keys.bmp");
    capture(target);
    put(true, "capture.bmp");
    put(intro(target), "intro.bmp");
    put(gameFrame && inGameMenu(target, gameFrame), "ingame.bmp");
    destroy_bitmap(target);
    return failures;
}

}  // namespace preview
