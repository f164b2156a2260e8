#include "menu/menu_fixture.h"

#include "core/constants.h"
#include "input/keyStates.h"
#include "input/mouse.h"
#include "menu/frame.h"

BITMAP* solidBitmap(int w, int h, int color) {
    BITMAP* b = create_bitmap(w, h);
    clear_to_color(b, color);
    return b;
}

int countColor(BITMAP* b, int y0, int y1, int color) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < b->w; ++x) n += getpixel(b, x, y) == color;
    return n;
}

namespace {
void resetInputAndClock() {
    menu::frameHooks = {};
    releaseAllKeys();
    keyStates.resetAll();
    timerCounter = 0;
    mouse_x = 0;
    mouse_y = 0;
    mouseZDiff = 0;
    click = false;
}
}  // namespace

void MenuTest::SetUp() {
    saved = global;
    global.setDefaults(32);
    global.firstStart = false;
    global.vsync = false;
    global.buffer = create_bitmap(800, 600);
    clear_bitmap(global.buffer);
    background = solidBitmap(800, 600, makecol(0, 0, 128));
    global.menuBackground = background;
    global.menuFont = global.textFont = global.warningFont = font;
    resetInputAndClock();
}

void MenuTest::TearDown() {
    resetInputAndClock();
    destroy_bitmap(global.buffer);
    destroy_bitmap(background);
    global = saved;
}

void MenuTest::tap(int code, const std::function<void()>& step) {
    key[code] = 1;
    step();
    key[code] = 0;
    keyStates[code];
}
