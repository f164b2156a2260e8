#pragma once
// The one seam between the game and the library's keyboard, mouse, timer, display and sound
// output. Screens get their input as a value and hand back finished frames; everything behind
// the seam can be replaced by a scripted stand-in, so whole games run without a window.
#include <allegro.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>

namespace platform {

// What one step of a screen sees.
struct Input {
    std::array<bool, KEY_MAX> held{};  // keys down now
    int mouseX = 0;
    int mouseY = 0;
    bool click = false;  // press and release on one pixel, handed to one step only
    int wheel = 0;       // wheel steps, handed to one step only
    int ticks = 0;       // timer ticks waiting to be used
    double now = 0.0;    // seconds on a monotonic clock
};

// The world outside. The game uses the library's; tests put in a scripted one.
struct Backend {
    std::function<Input()> poll;                  // keys, pointer, pending ticks and clock; click and wheel stay pending
    std::function<void(Input&)> takeEvents;       // moves a pending click and wheel step into the input
    std::function<void(int)> takeTicks;           // uses up that many ticks; a negative count drops them all
    std::function<void(BITMAP*)> present;         // shows a finished frame of the screen's size
    std::function<void()> waitRetrace;
    std::function<void()> wait;                   // sleeps until a tick, a key or the pointer may have come
    std::function<int(int card, int w, int h)> setMode;  // 0 on success, like set_gfx_mode
    std::function<int()> screenWidth;             // of the mode set last (0 without one)
    std::function<int()> screenHeight;
    std::function<int(const std::string& line1, const std::string& line2, const std::string& yes,
                      const std::string& no)> ask;  // a question box: 1 for the first button, 2 for the second
    std::function<void(SAMPLE*, int volume, int pan, int frequency, bool loop)> playSample;
    std::function<void(SAMPLE*)> stopSample;      // every voice playing it
    std::function<void(SAMPLE*, int volume, int pan, int frequency, bool loop)> adjustSample;  // a voice playing it
    std::function<void(BITMAP*)> drawPointer;     // onto a frame, where the pointer is
    std::function<void(int perSecond)> startTimer;  // the tick interrupt
    std::function<int(const char* windowTitle)> start;  // the library and its drivers: a StartFailure
};

// The backend in use; the library's unless a test installed its own.
Backend& backend();
Backend libraryBackend();

// Polls the backend and keeps the result as the current input.
const Input& poll();
// The input of the step being made (what the key latches and the pointer read).
const Input& current();
// Makes an input current without polling, for steps driven by hand.
void use(const Input& in);

// Shorthands for the backend in use.
inline int screenWidth() { return backend().screenWidth(); }
inline int screenHeight() { return backend().screenHeight(); }
inline void takeTicks(int n) { backend().takeTicks(n); }
inline void present(BITMAP* frame) { backend().present(frame); }
inline void waitRetrace() { backend().waitRetrace(); }
inline void wait() { backend().wait(); }
inline int setMode(int card, int w, int h) { return backend().setMode(card, w, h); }
inline void playSample(SAMPLE* s, int volume, int pan, int frequency, bool loop) {
    backend().playSample(s, volume, pan, frequency, loop);
}
inline void stopSample(SAMPLE* s) { backend().stopSample(s); }
inline void adjustSample(SAMPLE* s, int volume, int pan, int frequency, bool loop) {
    backend().adjustSample(s, volume, pan, frequency, loop);
}

// True while the key is down in the input; codes outside the key array (a damaged settings file)
// are never down.
inline bool held(const Input& in, int code) { return code >= 0 && code < KEY_MAX && in.held[code]; }
// The same in the current input.
bool held(int code);
// The current input's click, once.
bool takeClick();

// Fed by the library's timer thread, 32 times a second.
extern std::atomic<int> timerCounter;
void timerCounterUpdater();
void mouseCallback(int flags);
// Starts the timer interrupt that feeds timerCounter and the click and wheel detection.
inline void installTimerInterrupt(int ticksPerSecond) { backend().startTimer(ticksPerSecond); }

// Starts the library and its drivers; what failed, or none.
enum class StartFailure { none, library, timer, keyboard, sound, mouse };
inline StartFailure startLibrary(const char* windowTitle) {
    return static_cast<StartFailure>(backend().start(windowTitle));
}

}  // namespace platform
