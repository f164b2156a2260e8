#include "core/constants.h"
#include "input/keyStates.h"
#include "menu/menues.h"
#include "screen/driver.h"
#include "screen/show.h"
#include "settings/global.h"

namespace menu {

void newLevel(const char* message, int ticks) {
    platform::poll();
    keyStates.anyKey();
    platform::takeTicks(-1);
    int W = platform::screenWidth(), H = platform::screenHeight();
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, H >> 1, makecol(255, 255, 255), 0, "%s",
                         message ? message : "");
    // Never longer than asked, however many ticks arrive at once.
    int remaining = ticks;
    screens::Screen loop;
    loop.ticks = screens::Ticks::oneByOne;
    loop.retrace = loop.pointer = false;
    loop.step = [&](const platform::Input&) { --remaining; };
    loop.running = [&] { return remaining > 0; };
    screens::run(loop);
}

void congrats(int points) {
    platform::takeTicks(-1);
    int lockout = TIMER_FPS;  // a key pressed in the first second is used up without effect

    int W = platform::screenWidth(), H = platform::screenHeight();
    int th = text_height(global.menuFont);
    int white = makecol(255, 255, 255);
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, H >> 1, white, 0, "%s", "You mastered all levels!");
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, (H >> 1) + th + 5, white, 0, "%s",
                         "You receive 50 extra points!");
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, (H >> 1) + 2 * th + 10, white, 0,
                         "Your final score: %d", points);

    save_bitmap(takeScreenshotPath().c_str(), global.buffer, nullptr);

    screens::Screen loop;
    loop.ticks = screens::Ticks::oneByOne;
    loop.retrace = loop.pointer = false;
    loop.everyPass = [&](const platform::Input&) { return !(keyStates.anyKey() && lockout == 0); };
    loop.step = [&](const platform::Input&) {
        if (lockout > 0) --lockout;
    };
    screens::run(loop);
}

}  // namespace menu
