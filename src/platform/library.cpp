// The library's side of the seam: its key array, mouse variables, timer, screen and mixer.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/pacing.h"
#include "platform/platform.h"

namespace platform {

std::atomic<int> timerCounter{0};

namespace {
// Written by the timer thread, taken by the main thread.
std::atomic<int> mouseZDiff{0};
std::atomic<int> oldMouseZ{0};
std::atomic<int> clickPosX{0};
std::atomic<int> clickPosY{0};
std::atomic<bool> click{false};
std::atomic<bool> buttonDown{false};

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Input pollLibrary() {
    Input in;
    for (int k = 0; k < KEY_MAX; ++k) in.held[k] = key[k] != 0;
    in.mouseX = mouse_x;
    in.mouseY = mouse_y;
    in.ticks = timerCounter.load();
    in.now = steadySeconds();
    return in;
}

void takeLibraryTicks(int n) {
    if (n < 0)
        timerCounter = 0;
    else
        timerCounter -= n;
}

const double TICK_MS = 1000.0 / 32;
double lastFrameAt = 0;
bool frameTimed = false;           // the retrace wait already noted this frame's time
double lastTickSeenAt = -1e9;      // when the wait last saw a tick arrive

double nowMs() { return steadySeconds() * 1000.0; }

void presentLibrary(BITMAP* frame) {
    if (!frameTimed) lastFrameAt = nowMs();
    frameTimed = false;
    blit(frame, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
}

// Under X the library's retrace is a count its timer moves 70 times a second, and its own wait
// looks at it every millisecond; looking every few milliseconds waits for the same retrace at a
// fraction of the cost.
bool simulatedRetrace() {
    if (!gfx_driver) return false;
    switch (gfx_driver->id) {
        case GFX_XWINDOWS: case GFX_XWINDOWS_FULLSCREEN: case GFX_XDGA: case GFX_XDGA_FULLSCREEN:
        case GFX_XDGA2: case GFX_XDGA2_SOFT: return true;
        default: return false;
    }
}

void waitRetraceLibrary() {
    // Timed before the wait: it already paces the frame, a tick after it need not wait again.
    lastFrameAt = nowMs();
    frameTimed = true;
    if (!simulatedRetrace()) {
        vsync();
        return;
    }
    const int seen = retrace_count;
    for (int waited = 0; retrace_count == seen && waited < 40; waited += 4) rest(4);
}

// The input drivers' threads wake the wait on a key press or a pointer motion, so neither waits
// for a poll.
std::mutex wakeLock;
std::condition_variable wakeUp;
bool woken = false;
void (*chainedKey)(int) = nullptr;
void (*chainedMouse)(int) = nullptr;

void rouse() {
    {
        std::lock_guard<std::mutex> hold(wakeLock);
        woken = true;
    }
    wakeUp.notify_one();
}

void onKey(int scancode) {
    if (!(scancode & 0x80)) rouse();
    if (chainedKey) chainedKey(scancode);
}

void onMouse(int flags) {
    if (flags & MOUSE_FLAG_MOVE) rouse();
    if (chainedMouse) chainedMouse(flags);
}

void listenForInput() {
    if (keyboard_lowlevel_callback != onKey) {
        chainedKey = keyboard_lowlevel_callback;
        keyboard_lowlevel_callback = onKey;
    }
    if (mouse_callback != onMouse) {
        chainedMouse = mouse_callback;
        mouse_callback = onMouse;
    }
}

// No callback announces a tick, but they come like clockwork: sleep until just before the next
// one is due and look every millisecond from then on.
double nextLook(const PassWait& w) {
    if (w.tickPending || w.pointerMoved) return w.lastFrame + w.framePeriod;
    const double due = lastTickSeenAt + TICK_MS - 3;
    return due > w.now + 1 ? due : w.now + 1;
}

void waitLibrary() {
    listenForInput();
    const int rate = get_refresh_rate();  // 0 where the driver cannot tell
    const double period = 1000.0 / (rate > 0 ? rate : 60);
    char down[KEY_MAX];
    for (int i = 0; i < KEY_MAX; ++i) down[i] = key[i];
    const int mx = mouse_x, my = mouse_y;
    bool wasPending = true;  // a tick already waiting when the wait begins came at an unknown time
    for (;;) {
        PassWait w{nowMs(), lastFrameAt, period, timerCounter.load() > 0, false, mouse_x != mx || mouse_y != my};
        if (w.tickPending && !wasPending) lastTickSeenAt = w.now;
        wasPending = w.tickPending;
        for (int i = 0; i < KEY_MAX; ++i) {
            if (!key[i])
                down[i] = 0;  // let go and pressed again counts as a new press
            else if (!down[i])
                w.keyWentDown = true;
        }
        if (passDue(w)) return;
        using Ms = std::chrono::duration<double, std::milli>;
        const auto until = std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(Ms(nextLook(w))));
        std::unique_lock<std::mutex> hold(wakeLock);
        wakeUp.wait_until(hold, until, [] { return woken; });
        woken = false;
    }
}
}  // namespace

// Runs on the timer thread: short, no allocation, no locks.
void mouseCallback(int) {
    int z = mouse_z;
    mouseZDiff = z - oldMouseZ.load();
    oldMouseZ = z;
    bool left = (mouse_b & 1) != 0;
    if (left && !buttonDown) {
        buttonDown = true;
        clickPosX = mouse_x;
        clickPosY = mouse_y;
        click = false;
    } else if (buttonDown && !left) {
        buttonDown = false;
        click = (mouse_x == clickPosX.load() && mouse_y == clickPosY.load());
    } else {
        click = false;
    }
}
END_OF_FUNCTION(mouseCallback)

void timerCounterUpdater() {
    ++timerCounter;
    mouseCallback(0);
}
END_OF_FUNCTION(timerCounterUpdater)

namespace {
StartFailure startDrivers(const char* windowTitle) {
    if (allegro_init() != 0) return StartFailure::library;
    if (install_timer() < 0) return StartFailure::timer;
    if (install_keyboard() < 0) return StartFailure::keyboard;
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) < 0) return StartFailure::sound;
    if (install_mouse() < 0) return StartFailure::mouse;
    set_window_title(windowTitle);
    return StartFailure::none;
}
}  // namespace

Backend libraryBackend() {
    Backend b;
    b.poll = pollLibrary;
    b.takeEvents = [](Input& in) {
        in.click = click.exchange(false);
        in.wheel = mouseZDiff.exchange(0);
    };
    b.takeTicks = takeLibraryTicks;
    b.present = presentLibrary;
    b.waitRetrace = waitRetraceLibrary;
    b.wait = waitLibrary;
    b.setMode = [](int card, int w, int h) { return set_gfx_mode(card, w, h, 0, 0); };
    b.screenWidth = [] { return gfx_driver ? SCREEN_W : 0; };
    b.screenHeight = [] { return gfx_driver ? SCREEN_H : 0; };
    b.ask = [](const std::string& line1, const std::string& line2, const std::string& yes, const std::string& no) {
        // Keys pressed before the box opened sit in the keyboard buffer; an Esc among them would answer at once.
        clear_keybuf();
        return alert(line1.c_str(), line2.c_str(), nullptr, yes.c_str(), no.c_str(), 0, 0);
    };
    b.playSample = [](SAMPLE* s, int volume, int pan, int frequency, bool loop) {
        if (s) play_sample(s, volume, pan, frequency, loop ? 1 : 0);
    };
    b.stopSample = [](SAMPLE* s) {
        if (s) stop_sample(s);
    };
    b.adjustSample = [](SAMPLE* s, int volume, int pan, int frequency, bool loop) {
        if (s) adjust_sample(s, volume, pan, frequency, loop ? 1 : 0);
    };
    b.start = [](const char* title) { return static_cast<int>(startDrivers(title)); };
    b.startTimer = [](int perSecond) {
        LOCK_FUNCTION(timerCounterUpdater);
        LOCK_FUNCTION(mouseCallback);
        install_int_ex(timerCounterUpdater, BPS_TO_TIMER(perSecond));
    };
    b.drawPointer = [](BITMAP* frame) {
        if (mouse_sprite && frame)
            masked_blit(mouse_sprite, frame, 0, 0, mouse_x, mouse_y, mouse_sprite->w, mouse_sprite->h);
    };
    return b;
}

}  // namespace platform
