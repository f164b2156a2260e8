#include <allegro.h>
#include <gtest/gtest.h>

#include <utility>

#include "input/keyStates.h"
#include "input/mouse.h"
#include "test_support.h"

namespace {
class KeyLatch : public ::testing::Test {
protected:
    void SetUp() override {
        releaseAllKeys();
        keyStates.resetAll();
    }
    void TearDown() override { releaseAllKeys(); }
};
}  // namespace

TEST_F(KeyLatch, HeldKeyReportsOncePerPressAndOutOfRangeCodesAreHarmless) {
    key[KEY_F9] = 1;
    EXPECT_TRUE(keyStates[KEY_F9]);
    EXPECT_FALSE(keyStates.getKey(KEY_F9));
    key[KEY_F9] = 0;
    EXPECT_FALSE(keyStates[KEY_F9]);  // the release re-arms
    key[KEY_F9] = 1;
    EXPECT_TRUE(keyStates.getKey(KEY_F9));

    key[KEY_A] = 1;  // pressed and released between two queries: lost
    key[KEY_A] = 0;
    EXPECT_FALSE(keyStates[KEY_A]);

    key[KEY_ENTER] = 1;  // latched by hand
    keyStates.setState(KEY_ENTER, 1);
    EXPECT_FALSE(keyStates[KEY_ENTER]);

    for (int code : {-1, int(KEY_MAX), 1 << 30}) {
        EXPECT_FALSE(keyStates[code]) << code;
        keyStates.setState(code, 1);
    }
}

TEST_F(KeyLatch, AnyKeyReportsTheLowerCodeFirstAndSharesLatches) {
    key[KEY_C] = 1;
    key[KEY_B] = 1;
    EXPECT_TRUE(keyStates.anyKey());
    EXPECT_EQ(keyStates.states[KEY_B], 1);
    EXPECT_EQ(keyStates.states[KEY_C], 0);
    EXPECT_TRUE(keyStates.anyKey());
    EXPECT_EQ(keyStates.states[KEY_C], 1);
    EXPECT_FALSE(keyStates.anyKey());
    EXPECT_FALSE(keyStates[KEY_B]);  // already reported through anyKey
    key[KEY_B] = 0;
    EXPECT_FALSE(keyStates.anyKey());
    EXPECT_EQ(keyStates.states[KEY_B], 0);
}

TEST(KeyNames, TableMatchesTheLibraryConstants) {
    // Spot checks at both ends and around the gaps, where an off-by-one shifts every name.
    const std::pair<int, const char*> cases[] = {
        {0, "NULL"},   {KEY_A, "A"},         {KEY_9, "9"},          {KEY_5_PAD, "Numpad 5"}, {KEY_F12, "F12"},
        {KEY_STOP, "."}, {KEY_BACKSLASH2, "\\"}, {KEY_PGDN, "Page down"}, {KEY_LWIN, "Left windows"},
        {KEY_KANJI, "KANJI"}, {KEY_CAPSLOCK, "Capslock"}, {KEY_EQUALS_PAD, ""}, {KEY_SEMICOLON, ""}};
    for (const auto& c : cases) EXPECT_EQ(keyNames[c.first], c.second) << "code " << c.first;
    EXPECT_EQ(keyName(-1), "?");
    EXPECT_EQ(keyName(KEY_MAX), "?");
    EXPECT_EQ(keyName(KEY_SPACE), "Space");
}

namespace {
void tick(int x, int y, int buttons, int z = 0) {
    mouse_x = x;
    mouse_y = y;
    mouse_b = buttons;
    mouse_z = z;
    mouseCallback(0);
}

class Mouse : public ::testing::Test {
protected:
    void SetUp() override {
        tick(0, 0, 0);
        tick(0, 0, 0);
        clickEvent();
    }
};
}  // namespace

TEST_F(Mouse, PressAndReleaseOnTheSamePixelWithTheLeftButtonIsOneClickPulse) {
    tick(100, 200, 1);
    tick(100, 200, 1);  // held
    EXPECT_FALSE(clickEvent());
    tick(100, 200, 0);
    EXPECT_TRUE(clickEvent());
    EXPECT_FALSE(clickEvent());  // consumed

    tick(10, 10, 1);
    tick(10, 10, 0);
    tick(10, 10, 0);
    EXPECT_FALSE(clickEvent()) << "an unconsumed click is gone after the next tick";

    const int presses[][2] = {{51, 1}, {50, 2}, {50, 4}};  // released at x, buttons
    for (const auto& p : presses) {
        tick(50, 50, p[1]);
        tick(p[0], 50, 0);
        EXPECT_FALSE(clickEvent()) << "released at x " << p[0] << ", buttons " << p[1];
    }
}

TEST_F(Mouse, WheelDifferencePerTick) {
    tick(0, 0, 0, 3);
    EXPECT_EQ(mouseZDiff.load(), 3);
    EXPECT_TRUE(wheelUpEvent());
    tick(0, 0, 0, 1);
    EXPECT_EQ(mouseZDiff.load(), -2);
    EXPECT_TRUE(wheelDownEvent());
    tick(0, 0, 0, 1);
    EXPECT_FALSE(wheelUpEvent());
    EXPECT_FALSE(wheelDownEvent());
}
