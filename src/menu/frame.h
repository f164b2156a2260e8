#pragma once
// What every menu loop shares: the screen size, presenting a frame and waiting for the next tick.
// The hooks let a test stand in for the display and the clock; the game never sets them.
#include <functional>

namespace menu {

struct FrameHooks {
    std::function<void()> present;  // replaces the retrace wait and show()
    std::function<void()> idle;     // replaces the wait for the next tick
};
extern FrameHooks frameHooks;

// The screen's size; without a graphics mode (tests) the back buffer's.
int screenWidth();
int screenHeight();

// Waits for the retrace when asked and enabled in the settings, then shows global.buffer.
void presentFrame(bool waitRetrace, bool withMouse);

// Sleeps briefly while no tick is pending, so an idle screen does not burn a core.
void idle();

// True while the key is down; codes outside the key array (a damaged settings file) are never down.
bool held(int code);

}  // namespace menu
