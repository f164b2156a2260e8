#pragma once
// When a waiting screen should make its next pass.

namespace platform {

// What the wait between two passes has seen so far; times in milliseconds.
struct PassWait {
    double now;
    double lastFrame;
    double framePeriod;
    bool tickPending;
    bool keyWentDown;
    bool pointerMoved;
};

// A fresh key goes at once, so the frame's screenshot key is read before the next tick's input
// step can take the press; ticks and pointer motion wait for the display's next frame; with
// nothing new the screen keeps waiting: an idle screen neither burns a core nor draws more than
// the display shows.
bool passDue(const PassWait& w);

}  // namespace platform
