#pragma once
// One loop for every screen: input in, one step per tick as the screen's policy says, a frame out.
#include <allegro.h>

#include <functional>

#include "platform/platform.h"

namespace screens {

enum class Ticks {
    onePerPass,    // at most one step per pass, and only when a tick is waiting (the menus)
    upToFrameSkip, // every waiting tick, at most global.maxFrameSkip of them, the rest dropped (the intro)
    oneByOne,      // a step and a frame for each tick as it comes; no drawing between (level screens)
    everyFrame,    // frame first, then one step that takes every waiting tick itself; no waiting (play)
};

struct Screen {
    Ticks ticks = Ticks::onePerPass;
    bool retrace = true;  // waits for the retrace before each frame when global.vsync is set
    bool pointer = true;  // the mouse pointer on the frame
    std::function<void(const platform::Input&)> step;
    std::function<void(BITMAP*)> draw;                       // the frame; none: the back buffer as it is
    std::function<bool()> running;                           // asked after each frame
    std::function<bool(const platform::Input&)> everyPass;  // before the ticks; false ends the screen
};

// Runs the screen until it stops running.
void run(const Screen& s);

}  // namespace screens
