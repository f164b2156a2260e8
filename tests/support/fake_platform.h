#pragma once
// A scripted stand-in for everything behind the platform seam. Each frame shown lets one timer
// tick pass on a clock that moves only with the frames (1/32 s each), then runs the next step of
// the script, so a screen sees what the script holds at its next input step. Frames, questions,
// sounds and screen modes are recorded; questions are answered from a list.
#include <allegro.h>

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

class FakePlatform {
public:
    explicit FakePlatform(int width = 800, int height = 600);
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    platform::Input input;  // what the next polls see
    void hold(int code) { input.held[code] = true; }
    void release(int code) { input.held[code] = false; }
    void releaseAll() { input.held.fill(false); }
    void click() { pendingClick = true; }
    void turnWheel(int steps) { pendingWheel += steps; }

    // The script, one action per frame shown; a tap is down for one frame, then up for one.
    void then(std::function<void()> action) { script.push_back(std::move(action)); }
    void idleFrames(int n) { for (int i = 0; i < n; ++i) then([] {}); }
    void tap(int code) {
        then([this, code] { hold(code); });
        then([this, code] { release(code); });
    }
    void taps(std::initializer_list<int> codes) { for (int c : codes) tap(c); }
    bool scriptDone() const { return script.empty(); }

    int ticks = 0;
    double now = 1000.0;  // the program has run a while
    double tickSeconds = 1.0 / 32;
    int frameLimit = 100000;  // a screen still showing frames after this many is stuck

    // What happened.
    int frames = 0, retraces = 0;
    BITMAP* lastFrame = nullptr;  // a copy of the last frame shown
    std::vector<std::string> questions;
    std::deque<int> answers;  // 1 "Yes", 2 the other; empty: 2
    std::vector<SAMPLE*> sounds;  // one-shot sounds played
    struct Loop {
        SAMPLE* sample;
        int volume;
    };
    std::vector<Loop> loops;  // looped samples playing now, at their latest volume
    std::vector<std::string> modes;  // "card WxH" of every mode set
    std::function<bool(int card, int w, int h)> refuseMode;  // true: the display refuses that mode
    std::string windowTitle;
    platform::StartFailure failAtStart = platform::StartFailure::none;
    int width, height;

private:
    void shown(BITMAP* frame);
    std::deque<std::function<void()>> script;
    bool pendingClick = false;
    int pendingWheel = 0;
};

// Thrown when a screen keeps running past the frame limit.
struct StuckScreen : std::runtime_error {
    using std::runtime_error::runtime_error;
};
