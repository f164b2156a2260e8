// The standard button menu driven one input step at a time, and whole through the frame hooks.
#include <string>
#include <vector>

#include "core/constants.h"
#include "input/keyStates.h"
#include "input/mouse.h"
#include "menu/frame.h"
#include "menu/menu_fixture.h"
#include "menu/menues.h"
#include "menu/stdMenu.h"

using namespace menu;

namespace {
const int BW = 200, BH = 40;

class StdMenuTest : public MenuTest {
protected:
    StdMenuState open(int start, bool notice, std::vector<char> flags, int margin = 50) {
        enabled = flags;
        return openStdMenu(start, notice, static_cast<int>(enabled.size()), reinterpret_cast<bool*>(enabled.data()),
                           margin, BW, BH, 800, 600);
    }
    void step(StdMenuState& m) { stdMenuStep(m); }
    void press(int code, StdMenuState& m) { tap(code, [&] { step(m); }); }
    std::vector<char> enabled;
};
}  // namespace

TEST_F(StdMenuTest, OpeningRewritesFlagsAndFindsAnEnabledStart) {
    EXPECT_EQ(open(0, true, {1, 0, 1, 1}).selection, 3);
    EXPECT_EQ(enabled, (std::vector<char>{0, 0, 0, 1})) << "the restart notice leaves only the last entry";
    EXPECT_EQ(open(0, false, {0, 0, 0}).selection, 2);
    EXPECT_EQ(enabled, (std::vector<char>{0, 0, 1})) << "with nothing enabled the last entry is";

    EXPECT_EQ(open(1, false, {1, 0, 0, 1}).selection, 3);
    for (int start : {2, 17, -3})
        EXPECT_EQ(open(start, false, {1, 1, 0, 0}).selection, 0) << "start " << start << " goes on from the top";
}

TEST_F(StdMenuTest, ArrowsWrapAndSkipDisabledEntries) {
    StdMenuState m = open(0, false, {1, 0, 1, 0, 1, 0});
    press(KEY_UP, m);
    EXPECT_EQ(m.selection, 4) << "Up from the first enabled entry wraps to the last enabled one";
    press(KEY_DOWN, m);
    EXPECT_EQ(m.selection, 0) << "Down from the last enabled entry wraps to the first";
    press(global.keyBackward, m);
    EXPECT_EQ(m.selection, 2) << "the movement keys move as well";
    press(global.keyForward, m);
    EXPECT_EQ(m.selection, 0);
    // Both in the same step cancel out; Esc does nothing.
    key[KEY_UP] = key[KEY_DOWN] = key[KEY_ESC] = 1;
    step(m);
    EXPECT_EQ(m.selection, 0);
    EXPECT_FALSE(m.confirmed);
}

TEST_F(StdMenuTest, AnArrowHeldFromThePreviousScreenDoesNotMove) {
    key[KEY_DOWN] = 1;
    StdMenuState m = open(0, false, {1, 1, 1, 1});
    step(m);
    step(m);
    EXPECT_EQ(m.selection, 0) << "a Down held from the previous screen does not count";
    key[KEY_DOWN] = 0;
    step(m);
    press(KEY_DOWN, m);
    EXPECT_EQ(m.selection, 1) << "pressed again it does";
}

TEST_F(StdMenuTest, FreshEnterUseKeyOrClickConfirms) {
    key[KEY_ENTER] = 1;
    keyStates[KEY_ENTER];  // the press that closed the previous screen
    StdMenuState m = open(1, false, {1, 1, 1, 1});
    step(m);
    EXPECT_FALSE(m.confirmed);
    key[KEY_ENTER] = 0;
    step(m);
    press(KEY_ENTER, m);
    EXPECT_TRUE(m.confirmed);
    EXPECT_EQ(m.selection, 1);

    StdMenuState u = open(2, false, {1, 1, 1, 1});
    press(global.keyUse, u);
    EXPECT_TRUE(u.confirmed);

    StdMenuState c = open(0, false, {1, 1, 1, 1});
    mouse_x = 400;
    mouse_y = c.top[2] + BH / 2;
    click = true;
    step(c);
    EXPECT_TRUE(c.confirmed);
    EXPECT_EQ(c.selection, 2) << "the button under the pointer";
    EXPECT_FALSE(click.load()) << "the click is consumed";
}

TEST_F(StdMenuTest, HoverSelectsEnabledButtonsAndSnapsBack) {
    StdMenuState m = open(0, false, {1, 0, 1, 1});
    mouse_x = 400;
    mouse_y = m.top[1] + BH / 2;
    step(m);
    EXPECT_EQ(m.selection, 0) << "a disabled button cannot be hovered";
    mouse_y = m.top[2] + BH / 2;
    step(m);
    EXPECT_EQ(m.selection, 2);
    press(KEY_DOWN, m);
    EXPECT_EQ(m.selection, 3) << "the arrow moves for one step";
    step(m);
    EXPECT_EQ(m.selection, 2) << "then the button under the pointer takes over again";

    // Strictly inside only: the button's edges hover nothing.
    mouse_y = m.top[3];
    step(m);
    EXPECT_EQ(m.selection, 2);
    mouse_y = m.top[3] + 1;
    mouse_x = 300;
    step(m);
    EXPECT_EQ(m.selection, 2);
    mouse_x = 301;
    step(m);
    EXPECT_EQ(m.selection, 3);
}

TEST_F(StdMenuTest, DrawsButtonsLabelsAndTheRestartNotice) {
    StdMenuState m = open(2, true, {1, 0, 1});
    const std::string labels[3] = {"One", "Two", "Three"};
    BITMAP* sel = solidBitmap(BW, BH, makecol(0, 200, 0));
    BITMAP* other = solidBitmap(BW, BH, makecol(200, 200, 0));
    StdMenuLook look{labels, font, sel, other, background, makecol(153, 153, 153), 0, makecol(255, 255, 255), true};
    drawStdMenu(m, look, global.buffer);

    EXPECT_EQ(pixel(5, 5), makecol(0, 0, 128)) << "background";
    EXPECT_EQ(pixel(302, m.top[2] + 1), makecol(0, 200, 0)) << "the selected entry's image";
    EXPECT_EQ(pixel(302, m.top[0] + 1), makecol(200, 200, 0)) << "another entry's image";
    EXPECT_GT(countColor(global.buffer, m.top[0], m.top[0] + BH, makecol(255, 255, 255)), 0) << "disabled label";
    EXPECT_GT(countColor(global.buffer, 600 - 2 * 8 - 10, 600, makecol(255, 0, 0)), 0) << "the red restart lines";
    destroy_bitmap(sel);
    destroy_bitmap(other);
}

// The whole menu through its loop: the hooks play the display and the clock.
TEST_F(StdMenuTest, LoopTakesOneStepPerTickAndKeepsTheCallersImages) {
    const std::string labels[3] = {"A", "B", "C"};
    bool flags[3] = {true, true, true};
    BITMAP* sel = solidBitmap(BW, BH, makecol(0, 200, 0));
    BITMAP* other = solidBitmap(BW, BH, makecol(200, 200, 0));
    int frames = 0, pendingAtSecond = -1;
    frameHooks.present = [&] {
        if (++frames == 1) timerCounter = 5;  // several ticks at once: still one step per pass
        if (frames == 2) pendingAtSecond = timerCounter.load();
        key[KEY_DOWN] = frames == 1;
        key[KEY_ENTER] = frames >= 4;
    };
    frameHooks.idle = [&] {
        if (timerCounter.load() == 0) ++timerCounter;
    };
    EXPECT_EQ(stdMenu(0, false, 3, labels, flags, font, 50, sel, other, nullptr, -1, -1, -1), 1);
    EXPECT_EQ(pendingAtSecond, 4) << "the other ticks wait for later passes";
    EXPECT_EQ(getpixel(sel, 0, 0), makecol(0, 200, 0)) << "still ours and still valid after the call";
    destroy_bitmap(sel);
    destroy_bitmap(other);
    EXPECT_EQ(stdMenu(0, false, 0, nullptr, nullptr, font, 50, nullptr, nullptr, nullptr, -1, -1, -1), -1)
        << "no entries: returns without touching anything";
}
