#include "game/frameClock.h"

#include <chrono>

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void FrameClock::restart() { previous = now(); }

float FrameClock::lap() {
    double t = now();
    double d = t - previous;
    previous = t;
    if (!(d > 0.0)) return 0.0f;  // also catches NaN from a broken clock
    if (d > MAX_FRAME_SECONDS) return MAX_FRAME_SECONDS;
    return static_cast<float>(d);
}
