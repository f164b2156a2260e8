#include "screen/driver.h"

#include "screen/show.h"
#include "settings/global.h"

namespace screens {

namespace {
// The frame in global.buffer to the display: the retrace if asked and enabled, F9, the pointer.
void presentFrame(bool waitRetrace, bool withPointer) {
    if (waitRetrace && global.vsync) platform::waitRetrace();
    show(withPointer, nullptr);
}

// A click or a wheel turn counts for one step only, however many steps a pass makes.
void stepWith(const Screen& s, platform::Input& in, bool& eventsTaken) {
    if (!eventsTaken) {
        platform::backend().takeEvents(in);
        eventsTaken = true;
    } else {
        in.click = false;
        in.wheel = 0;
    }
    platform::use(in);
    if (s.step) s.step(in);
}

void frame(const Screen& s) {
    if (s.draw) s.draw(global.buffer);
    presentFrame(s.retrace, s.pointer);
}
}  // namespace

void run(const Screen& s) {
    if (s.ticks == Ticks::everyFrame) {
        for (;;) {
            frame(s);
            platform::Input in = platform::poll();
            bool eventsTaken = false;
            stepWith(s, in, eventsTaken);
            if (s.running && !s.running()) return;
        }
    }
    for (;;) {
        platform::Input in = platform::poll();
        if (s.everyPass && !s.everyPass(in)) return;
        bool eventsTaken = false;
        if (s.ticks == Ticks::oneByOne) {
            if (s.running && !s.running()) return;
            if (in.ticks <= 0) {
                platform::wait();
                continue;
            }
            for (int t = 0; t < in.ticks && (!s.running || s.running()); ++t) {
                stepWith(s, in, eventsTaken);
                frame(s);
                platform::takeTicks(1);
            }
            continue;
        }
        if (s.ticks == Ticks::onePerPass) {
            if (in.ticks > 0) {
                stepWith(s, in, eventsTaken);
                platform::takeTicks(1);
            }
        } else {
            const int limit = global.maxFrameSkip < 1 ? 1 : global.maxFrameSkip;
            for (int taken = 1; taken <= in.ticks; ++taken) {
                stepWith(s, in, eventsTaken);
                platform::takeTicks(1);
                if (taken >= limit) {
                    platform::takeTicks(-1);  // a slow machine skips animation rather than falls behind
                    break;
                }
            }
        }
        frame(s);
        if (s.running && !s.running()) return;
        platform::wait();
    }
}

}  // namespace screens
