#include <gtest/gtest.h>

#include "platform/pacing.h"

// When the wait between two passes of a waiting screen ends, against a fake clock (milliseconds).
TEST(FramePacing, AFreshKeyAtOnceTicksAndPointerAtTheNextFrameNothingNever) {
    const struct {
        double now;
        bool tick, keyDown, moved, due;
    } rows[] = {
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
