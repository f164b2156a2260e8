#pragma once
// Frame time from a monotonic clock that tests can replace.

// Seconds on std::chrono::steady_clock.
double steadySeconds();

const float MAX_FRAME_SECONDS = 1.0f;

class FrameClock {
public:
    explicit FrameClock(double (*now)() = steadySeconds) : now(now) {}
    // Starts measuring afresh: the next frame is timed from here.
    void restart();
    // The time since the last restart or lap in seconds, never negative, at most 1 second.
    float lap();

private:
    double (*now)();
    double previous = 0.0;
};
