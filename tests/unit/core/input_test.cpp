#include <allegro.h>
#include <gtest/gtest.h>

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

TEST_F(KeyLatch, HeldKeyReportsOncePerPress) {
    key[KEY_F9] = 1;
    EXPECT_TRUE(keyStates[KEY_F9]);
    EXPECT_FALSE(keyStates[KEY_F9]);
    EXPECT_FALSE(keyStates.getKey(KEY_F9));
    key[KEY_F9] = 0;
    EXPECT_FALSE(keyStates[KEY_F9]);  // the release re-arms
    key[KEY_F9] = 1;
    EXPECT_TRUE(keyStates.getKey(KEY_F9));
}

TEST_F(KeyLatch, PressAndReleaseBetweenQueriesIsLost) {
    key[KEY_A] = 1;
    key[KEY_A] = 0;
    EXPECT_FALSE(keyStates[KEY_A]);
}

TEST_F(KeyLatch, OutOfRangeCodesAreFalseAndHarmless) {
    EXPECT_FALSE(keyStates[-1]);
    EXPECT_FALSE(keyStates[KEY_MAX]);
    EXPECT_FALSE(keyStates[1 << 30]);
    keyStates.setState(-5, 1);
    keyStates.setState(KEY_MAX, 1);
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

TEST_F(KeyLatch, SetStateLatchesByHand) {
    key[KEY_ENTER] = 1;
    keyStates.setState(KEY_ENTER, 1);
    EXPECT_FALSE(keyStates[KEY_ENTER]);
}

TEST(KeyNames, TableMatchesTheLibraryConstants) {
    EXPECT_EQ(keyNames[0], "NULL");
    EXPECT_EQ(keyNames[KEY_A], "A");
    EXPECT_EQ(keyNames[KEY_Z], "Z");
    EXPECT_EQ(keyNames[KEY_0], "0");
    EXPECT_EQ(keyNames[KEY_9], "9");
    EXPECT_EQ(keyNames[KEY_5_PAD], "Numpad 5");
    EXPECT_EQ(keyNames[KEY_F12], "F12");
    EXPECT_EQ(keyNames[KEY_BACKSLASH], "\\");
    EXPECT_EQ(keyNames[KEY_BACKSLASH2], "\\");
    EXPECT_EQ(keyNames[KEY_STOP], ".");
    EXPECT_EQ(keyNames[KEY_PGDN], "Page down");
    EXPECT_EQ(keyNames[KEY_LSHIFT], "Left Shift");
    EXPECT_EQ(keyNames[KEY_LWIN], "Left windows");
    EXPECT_EQ(keyNames[KEY_MENU], "MENU");
    EXPECT_EQ(keyNames[KEY_KANJI], "KANJI");
    EXPECT_EQ(keyNames[KEY_CAPSLOCK], "Capslock");
    for (int code : {KEY_EQUALS_PAD, KEY_BACKQUOTE, KEY_SEMICOLON, KEY_COMMAND, KEY_UNKNOWN1, KEY_UNKNOWN8})
        EXPECT_EQ(keyNames[code], "") << code;
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

TEST_F(Mouse, PressAndReleaseOnTheSamePixelIsOneClickPulse) {
    tick(100, 200, 1);
    EXPECT_FALSE(clickEvent());
    tick(100, 200, 1);  // held
    EXPECT_FALSE(clickEvent());
    tick(100, 200, 0);
    EXPECT_TRUE(clickEvent());
    EXPECT_FALSE(clickEvent());  // consumed
}

TEST_F(Mouse, UnconsumedClickIsGoneAfterTheNextTick) {
    tick(10, 10, 1);
    tick(10, 10, 0);
    tick(10, 10, 0);
    EXPECT_FALSE(clickEvent());
}

TEST_F(Mouse, MovingOnePixelOrOtherButtonsGiveNoClick) {
    tick(50, 50, 1);
    tick(51, 50, 0);
    EXPECT_FALSE(clickEvent());
    tick(50, 50, 2);
    tick(50, 50, 0);
    EXPECT_FALSE(clickEvent());
    tick(50, 50, 4);
    tick(50, 50, 0);
    EXPECT_FALSE(clickEvent());
}

TEST_F(Mouse, WheelDifferencePerTick) {
    tick(0, 0, 0, 3);
    EXPECT_EQ(mouseZDiff.load(), 3);
    EXPECT_TRUE(wheelUpEvent());
    tick(0, 0, 0, 1);
    EXPECT_EQ(mouseZDiff.load(), -2);
    EXPECT_TRUE(wheelDownEvent());
    tick(0, 0, 0, 1);
    EXPECT_EQ(mouseZDiff.load(), 0);
    EXPECT_FALSE(wheelUpEvent());
    EXPECT_FALSE(wheelDownEvent());
}
