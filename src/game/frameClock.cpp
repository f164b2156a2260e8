#include "game/frameClock.h"

float FrameClock::lap(double now) {
    double d = now - previous;
    previous = now;
    if (!(d > 0.0)) return 0.0f;  // also catches NaN from a broken clock
    if (d > MAX_FRAME_SECONDS) return MAX_FRAME_SECONDS;
    return static_cast<float>(d);
}
