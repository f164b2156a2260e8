// How screens are paced and stepped: when the next pass is due, and what its steps are handed.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "platform/pacing.h"
#include "screen/driver.h"
#include "settings/global.h"

// When the wait between two passes of a waiting screen ends, against a fake clock (milliseconds).
TEST(FramePacing, AFreshKeyAtOnceTicksAndPointerAtTheNextFrameNothingNever) {
    const struct { double now; bool tick, keyDown, moved, due; } rows[] = {
        // A key at once, tick or not, so the frame's F9 is read before the next tick; a tick and the
        // pointer wait for the display's next frame; with nothing new, no frame however long.
        {1002, false, true, false, true}, {1002, true, true, false, true}, {1010, true, false, false, false},
        {1016.7, true, false, false, true}, {1010, false, false, true, false}, {1020, false, false, true, true},
        {1500, false, false, false, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(platform::passDue(platform::PassWait{r.now, 1000, 16.7, r.tick, r.keyDown, r.moved}), r.due)
            << "at " << r.now << " tick " << r.tick << " key " << r.keyDown;
}

// However many steps a pass makes, a click and a wheel turn reach one; the retrace only with vsync.
TEST(ScreenDriver, EventsReachOneStepAndTheRetraceFollowsVsync) {
    const globals saved = global;
    global.buffer = create_bitmap(800, 600), global.maxFrameSkip = 8;  // eight ticks a pass at most
    for (bool vsync : {false, true}) {
        FakePlatform fake;
        fake.click(), fake.turnWheel(2), fake.ticks = 3, global.vsync = vsync;
        int clicks = 0, wheel = 0, steps = 0;
        screens::Screen s;
        s.ticks = screens::Ticks::upToFrameSkip;
        s.step = [&](const platform::Input& in) { clicks += in.click, wheel += in.wheel, ++steps; };
        s.running = [&] { return false; };
        screens::run(s);
        EXPECT_TRUE(steps == 3 && clicks == 1 && wheel == 2 && fake.retraces == (vsync ? fake.frames : 0)) << vsync;
    }
    destroy_bitmap(global.buffer);
    global = saved;
}
