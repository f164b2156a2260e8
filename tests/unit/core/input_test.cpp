// Key latches over input values, key names, and the library's mouse as clicks and wheel steps.
#include <allegro.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "input/controls.h"
#include "input/keyStates.h"
#include "platform/platform.h"

namespace {
void holding(std::initializer_list<int> codes) {
    platform::Input in;
    for (int c : codes) in.held[c] = true;
    platform::use(in);
}
// One timer tick with the mouse as given, and what the next step takes from it.
platform::Input tick(int x, int y, int buttons, int z = 0) {
    mouse_x = x, mouse_y = y, mouse_b = buttons, mouse_z = z;
    platform::mouseCallback(0);
    platform::Input in;
    platform::libraryBackend().takeEvents(in);
    return in;
}
}  // namespace

TEST(KeyLatch, OncePerPressLowerCodeFirstAndHarmlessOutOfRange) {
    keyStates.resetAll();
    holding({KEY_F9});
    EXPECT_TRUE(keyStates[KEY_F9] && !keyStates.getKey(KEY_F9));
    holding({});
    EXPECT_FALSE(keyStates[KEY_F9]);  // the release re-arms
    holding({KEY_F9, KEY_ENTER});
    keyStates.setState(KEY_ENTER, 1);  // latched by hand
    EXPECT_TRUE(keyStates.getKey(KEY_F9) && !keyStates[KEY_ENTER]);
    holding({KEY_C, KEY_B});
    EXPECT_TRUE(keyStates.anyKey() && keyStates.states[KEY_B] == 1 && keyStates.states[KEY_C] == 0);
    EXPECT_TRUE(keyStates.anyKey() && !keyStates.anyKey() && !keyStates[KEY_B]) << "each reported once";
    for (int code : {-1, int(KEY_MAX), 1 << 30}) {
        EXPECT_FALSE(keyStates[code]) << code;
        keyStates.setState(code, 1);
    }
    holding({});
}

TEST(KeyNames, TableMatchesTheLibraryConstants) {
    // Both ends and around the gaps, where an off-by-one shifts every name.
    const std::pair<int, const char*> cases[] = {
        {0, "NULL"}, {KEY_A, "A"}, {KEY_Z, "Z"}, {KEY_9, "9"}, {KEY_5_PAD, "Numpad 5"}, {KEY_F12, "F12"},
        {KEY_STOP, "."}, {KEY_BACKSLASH2, "\\"}, {KEY_SPACE, "Space"}, {KEY_PGUP, "Page up"},
        {KEY_PGDN, "Page down"}, {KEY_LWIN, "Left windows"}, {KEY_KANJI, "KANJI"}, {KEY_CAPSLOCK, "Capslock"},
        {KEY_EQUALS_PAD, ""}, {KEY_SEMICOLON, ""}, {KEY_ESC, "Esc"}, {KEY_LSHIFT, "Left Shift"},
        {KEY_ALTGR, "Alt Gr"}, {KEY_ENTER_PAD, "Numpad Enter"}};
    for (const auto& c : cases) EXPECT_EQ(keyNames[c.first], c.second) << "code " << c.first;
    EXPECT_TRUE(keyName(-1) == "?" && keyName(KEY_MAX) == "?");
}

TEST(Controls, PlayerKeysAndNumberKeysAsHeld) {
    platform::Input in;
    for (int c : {KEY_I, KEY_L, KEY_LCONTROL, KEY_2}) in.held[c] = true;
    const Controls c = readControls(in, PlayKeys{KEY_I, KEY_K, KEY_J, KEY_L, KEY_U, KEY_O, KEY_LCONTROL});
    EXPECT_TRUE(c.forward && c.turnRight && c.shoot && c.weapon2);
    EXPECT_FALSE(c.backward || c.turnLeft || c.strafeLeft || c.strafeRight || c.weapon1 || c.weapon3);
    EXPECT_FALSE(readControls(in, PlayKeys{-1, KEY_MAX, 1 << 30, 0, 0, 0, 0}).forward) << "damaged key codes";
}

TEST(Mouse, ClickIsAPressAndReleaseOnOnePixelWithTheLeftButtonAndWheelStepsPerTick) {
    tick(0, 0, 0), tick(100, 200, 1);
    EXPECT_FALSE(tick(100, 200, 1).click) << "held";
    EXPECT_TRUE(tick(100, 200, 0).click);
    for (const auto& p : {std::pair{51, 1}, {50, 2}, {50, 4}}) {  // released at x, buttons
        tick(50, 50, p.second);
        EXPECT_FALSE(tick(p.first, 50, 0).click) << "released at x " << p.first << ", buttons " << p.second;
    }
    tick(10, 10, 1);
    mouse_b = 0;
    platform::mouseCallback(0);
    EXPECT_FALSE(tick(10, 10, 0).click) << "a click not taken before the next tick is gone";
    for (const auto& [z, steps] : {std::pair{3, 3}, {1, -2}, {1, 0}}) EXPECT_EQ(tick(0, 0, 0, z).wheel, steps) << z;
}
