#include "core/ElementaryFunctions.h"
#include "core/constants.h"
#include "input/keyStates.h"
#include "menu/frame.h"
#include "menu/menues.h"
#include "settings/global.h"

namespace menu {

void newLevel(const char* message, int ticks) {
    keyStates.anyKey();
    timerCounter = 0;
    int W = screenWidth(), H = screenHeight();
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, H >> 1, makecol(255, 255, 255), 0, "%s",
                         message ? message : "");
    // Never longer than asked, however many ticks arrive at once.
    int remaining = ticks;
    while (remaining > 0) {
        if (timerCounter.load() > 0) {
            presentFrame(false, false);
            --remaining;
            --timerCounter;
        } else {
            idle();
        }
    }
}

void congrats(int points) {
    timerCounter = 0;
    int lockout = TIMER_FPS;  // a key pressed in the first second is used up without effect

    int W = screenWidth(), H = screenHeight();
    int th = text_height(global.menuFont);
    int white = makecol(255, 255, 255);
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, H >> 1, white, 0, "%s", "You mastered all levels!");
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, (H >> 1) + th + 5, white, 0, "%s",
                         "You receive 50 extra points!");
    textprintf_centre_ex(global.buffer, global.menuFont, W >> 1, (H >> 1) + 2 * th + 10, white, 0,
                         "Your final score: %d", points);

    save_bitmap(takeScreenshotPath().c_str(), global.buffer, nullptr);

    for (;;) {
        if (keyStates.anyKey() && lockout == 0) return;
        if (timerCounter.load() <= 0) {
            idle();
            continue;
        }
        while (timerCounter.load() > 0) {
            presentFrame(false, false);
            if (lockout > 0) --lockout;
            --timerCounter;
        }
    }
}

}  // namespace menu
