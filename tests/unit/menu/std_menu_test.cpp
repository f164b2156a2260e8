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
    StdMenuState open(int start, bool notice, std::vector<char>& flags, int margin = 50) {
        enabled.assign(flags.begin(), flags.end());
        return openStdMenu(start, notice, static_cast<int>(enabled.size()), enabledPtr(), margin, BW, BH, 800, 600);
    }
    bool* enabledPtr() { return reinterpret_cast<bool*>(enabled.data()); }
    void step(StdMenuState& m) { stdMenuStep(m); }
    void pointAt(const StdMenuState& m, int i) {
        mouse_x = 400;
        mouse_y = m.top[i] + BH / 2;
    }
    std::vector<char> enabled;
};
}  // namespace

TEST_F(StdMenuTest, ButtonSlotsAreSpreadEvenlyBetweenTheMargins) {
    std::vector<char> f(4, 1);
    StdMenuState m = open(0, false, f);
    std::vector<int> centres;
    for (int y : m.top) centres.push_back(y + BH / 2);
    EXPECT_EQ(centres, (std::vector<int>{112, 237, 362, 487}));
    EXPECT_EQ(m.left, 300);

    StdMenuState inGame = open(0, false, f, 250);
    centres.clear();
    for (int y : inGame.top) centres.push_back(y + BH / 2);
    EXPECT_EQ(centres, (std::vector<int>{262, 287, 312, 337}));
}

TEST_F(StdMenuTest, ArrowsWrapAndSkipDisabledEntries) {
    std::vector<char> f = {1, 0, 1, 0, 1, 0};
    StdMenuState m = open(0, false, f);
    tap(KEY_UP, [&] { step(m); });
    EXPECT_EQ(m.selection, 4) << "Up from the first enabled entry wraps to the last enabled one";
    tap(KEY_DOWN, [&] { step(m); });
    EXPECT_EQ(m.selection, 0) << "Down from the last enabled entry wraps to the first";
    tap(KEY_DOWN, [&] { step(m); });
    EXPECT_EQ(m.selection, 2);
    tap(KEY_UP, [&] { step(m); });
    EXPECT_EQ(m.selection, 0);
    // The player's movement keys move as well.
    tap(global.keyBackward, [&] { step(m); });
    EXPECT_EQ(m.selection, 2);
    tap(global.keyForward, [&] { step(m); });
    EXPECT_EQ(m.selection, 0);
    // Both in the same step cancel out; Esc does nothing.
    key[KEY_UP] = key[KEY_DOWN] = key[KEY_ESC] = 1;
    step(m);
    EXPECT_EQ(m.selection, 0);
    EXPECT_FALSE(m.confirmed);
}

TEST_F(StdMenuTest, RestartNoticeLeavesOnlyTheLastEntry) {
    std::vector<char> f = {1, 0, 1, 1};
    StdMenuState m = open(0, true, f);
    EXPECT_EQ(m.selection, 3);
    EXPECT_EQ(enabled, (std::vector<char>{0, 0, 0, 1})) << "the caller's flags are rewritten";
    tap(KEY_UP, [&] { step(m); });
    tap(KEY_DOWN, [&] { step(m); });
    pointAt(m, 0);
    step(m);
    EXPECT_EQ(m.selection, 3);
}

TEST_F(StdMenuTest, NoEnabledEntryEnablesTheLast) {
    std::vector<char> f = {0, 0, 0};
    StdMenuState m = open(0, false, f);
    EXPECT_EQ(enabled, (std::vector<char>{0, 0, 1}));
    EXPECT_EQ(m.selection, 2);
}

TEST_F(StdMenuTest, StartIndexSearchesForwardAndNeverRunsOffTheEnd) {
    std::vector<char> f = {1, 0, 0, 1};
    EXPECT_EQ(open(1, false, f).selection, 3);
    f = {1, 1, 0, 0};
    EXPECT_EQ(open(2, false, f).selection, 0) << "past the last enabled entry it goes on from the top";
    EXPECT_EQ(open(17, false, f).selection, 0);
    EXPECT_EQ(open(-3, false, f).selection, 0);
}

TEST_F(StdMenuTest, HeldArrowsAreReadAheadButHeldMovementKeysAreNot) {
    std::vector<char> f(4, 1);
    key[KEY_DOWN] = 1;
    StdMenuState m = open(0, false, f);
    step(m);
    step(m);
    EXPECT_EQ(m.selection, 0) << "a Down held from the previous screen does not count";
    key[KEY_DOWN] = 0;
    step(m);
    tap(KEY_DOWN, [&] { step(m); });
    EXPECT_EQ(m.selection, 1) << "pressed again it does";

    key[global.keyBackward] = 1;
    StdMenuState n = open(0, false, f);
    step(n);
    EXPECT_EQ(n.selection, 1) << "the backward key is not read ahead: it moves once";
    step(n);
    EXPECT_EQ(n.selection, 1);
}

TEST_F(StdMenuTest, EnterAlreadyReportedDoesNotConfirmButAFreshPressDoes) {
    std::vector<char> f(4, 1);
    key[KEY_ENTER] = 1;
    keyStates[KEY_ENTER];  // the press that closed the previous screen
    StdMenuState m = open(1, false, f);
    step(m);
    EXPECT_FALSE(m.confirmed);
    key[KEY_ENTER] = 0;
    step(m);
    tap(KEY_ENTER, [&] { step(m); });
    EXPECT_TRUE(m.confirmed);
    EXPECT_EQ(m.selection, 1);

    StdMenuState u = open(2, false, f);
    tap(global.keyUse, [&] { step(u); });
    EXPECT_TRUE(u.confirmed);
}

TEST_F(StdMenuTest, HoverSelectsEnabledButtonsAndSnapsBack) {
    std::vector<char> f = {1, 0, 1, 1};
    StdMenuState m = open(0, false, f);
    pointAt(m, 1);
    step(m);
    EXPECT_EQ(m.selection, 0) << "a disabled button cannot be hovered";
    pointAt(m, 2);
    step(m);
    EXPECT_EQ(m.selection, 2);
    tap(KEY_DOWN, [&] { step(m); });
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

TEST_F(StdMenuTest, ClickConfirmsTheButtonUnderThePointerOrTheSelection) {
    std::vector<char> f(4, 1);
    StdMenuState m = open(0, false, f);
    pointAt(m, 2);
    click = true;
    step(m);
    EXPECT_TRUE(m.confirmed);
    EXPECT_EQ(m.selection, 2);
    EXPECT_FALSE(click.load()) << "the click is consumed";

    StdMenuState n = open(1, false, f);
    mouse_x = mouse_y = 0;
    click = true;
    step(n);
    EXPECT_TRUE(n.confirmed);
    EXPECT_EQ(n.selection, 1);
}

TEST_F(StdMenuTest, DrawsButtonsLabelsAndTheRestartNotice) {
    std::vector<char> f = {1, 0, 1};
    StdMenuState m = open(2, true, f);
    const std::string labels[3] = {"One", "Two", "Three"};
    BITMAP* sel = solidBitmap(BW, BH, makecol(0, 200, 0));
    BITMAP* other = solidBitmap(BW, BH, makecol(200, 200, 0));
    StdMenuLook look;
    look.labels = labels;
    look.font = font;
    look.selectedImage = sel;
    look.otherImage = other;
    look.background = background;
    look.enabledColor = makecol(153, 153, 153);
    look.selectedColor = 0;
    look.disabledColor = makecol(255, 255, 255);
    look.restartNotice = true;
    drawStdMenu(m, look, global.buffer);

    EXPECT_EQ(pixel(5, 5), makecol(0, 0, 128)) << "background";
    EXPECT_EQ(pixel(302, m.top[2] + 1), makecol(0, 200, 0)) << "the selected entry's image";
    EXPECT_EQ(pixel(302, m.top[0] + 1), makecol(200, 200, 0)) << "another entry's image";

    auto countColor = [&](int y0, int y1, int color) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 800; ++x) n += pixel(x, y) == color;
        return n;
    };
    EXPECT_GT(countColor(m.top[2], m.top[2] + BH, 0), 0) << "selected label in black";
    EXPECT_GT(countColor(m.top[0], m.top[0] + BH, makecol(255, 255, 255)), 0) << "disabled label in white";
    EXPECT_GT(countColor(600 - 2 * 8 - 10, 600, makecol(255, 0, 0)), 0) << "the red restart lines";
    destroy_bitmap(sel);
    destroy_bitmap(other);
}

// The whole menu through its loop: the hooks play the display and the clock.
TEST_F(StdMenuTest, LoopTakesOneStepPerTickAndKeepsTheCallersImages) {
    const std::string labels[3] = {"A", "B", "C"};
    bool flags[3] = {true, true, true};
    BITMAP* sel = solidBitmap(BW, BH, makecol(0, 200, 0));
    BITMAP* other = solidBitmap(BW, BH, makecol(200, 200, 0));
    int frames = 0;
    frameHooks.present = [&] {
        ++frames;
        if (frames == 1) {
            key[KEY_DOWN] = 1;
            timerCounter = 5;  // several ticks at once: still one step per pass
        }
        if (frames == 2) {
            EXPECT_EQ(timerCounter.load(), 4);
            key[KEY_DOWN] = 0;
        }
        if (frames == 4) key[KEY_ENTER] = 1;
    };
    frameHooks.idle = [&] {
        if (timerCounter.load() == 0) ++timerCounter;
    };
    int r = stdMenu(0, false, 3, labels, flags, font, 50, sel, other, nullptr, -1, -1, -1);
    EXPECT_EQ(r, 1);
    // Still ours and still valid after the call.
    EXPECT_EQ(getpixel(sel, 0, 0), makecol(0, 200, 0));
    destroy_bitmap(sel);
    destroy_bitmap(other);
}

TEST_F(StdMenuTest, ZeroEntriesReturnWithoutTouchingAnything) {
    EXPECT_EQ(stdMenu(0, false, 0, nullptr, nullptr, font, 50, nullptr, nullptr, nullptr, -1, -1, -1), -1);
}
