#pragma once
// Frame time from the input's monotonic clock.

const float MAX_FRAME_SECONDS = 1.0f;

class FrameClock {
public:
    // Starts measuring afresh: the next frame is timed from now.
    void restart(double now) { previous = now; }
    // The time since the last restart or lap in seconds, never negative, at most 1 second.
    float lap(double now);

private:
    double previous = 0.0;
};
