// The standard button menu driven one input step at a time, and the in-game menu run whole.
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
    StdMenuState open(int start, bool notice, std::vector<char> flags) {
        enabled = flags;
        return openStdMenu(start, notice, static_cast<int>(enabled.size()), reinterpret_cast<bool*>(enabled.data()),
                           50, BW, BH, 800, 600);
    }
    void press(int code, StdMenuState& m) { tap(code, [&] { stdMenuStep(m); }); }
    void pointAt(int x, int y, StdMenuState& m) {
        mouse_x = x;
        mouse_y = y;
        stdMenuStep(m);
    }
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
    stdMenuStep(m);
    EXPECT_EQ(m.selection, 0);
    EXPECT_FALSE(m.confirmed);
}

TEST_F(StdMenuTest, OnlyFreshPressesMoveOrConfirm) {
    key[KEY_DOWN] = key[KEY_ENTER] = 1;
    keyStates[KEY_ENTER];  // the press that closed the previous screen
    StdMenuState m = open(1, false, {1, 1, 1, 1});
    stdMenuStep(m);
    EXPECT_EQ(m.selection, 1) << "a Down held from the previous screen does not count";
    EXPECT_FALSE(m.confirmed);
    releaseAllKeys();
    stdMenuStep(m);
    press(KEY_DOWN, m);
    press(KEY_ENTER, m);
    EXPECT_TRUE(m.confirmed);
    EXPECT_EQ(m.selection, 2);

    StdMenuState u = open(2, false, {1, 1, 1, 1});
    press(global.keyUse, u);
    EXPECT_TRUE(u.confirmed);

    StdMenuState c = open(0, false, {1, 1, 1, 1});
    click = true;
    pointAt(400, c.top[2] + BH / 2, c);
    EXPECT_TRUE(c.confirmed);
    EXPECT_EQ(c.selection, 2) << "the button under the pointer";
    EXPECT_FALSE(click.load()) << "the click is consumed";
}

TEST_F(StdMenuTest, HoverSelectsEnabledButtonsAndSnapsBack) {
    StdMenuState m = open(0, false, {1, 0, 1, 1});
    pointAt(400, m.top[1] + BH / 2, m);
    EXPECT_EQ(m.selection, 0) << "a disabled button cannot be hovered";
    pointAt(400, m.top[2] + BH / 2, m);
    EXPECT_EQ(m.selection, 2);
    press(KEY_DOWN, m);
    EXPECT_EQ(m.selection, 3) << "the arrow moves for one step";
    stdMenuStep(m);
    EXPECT_EQ(m.selection, 2) << "then the button under the pointer takes over again";

    // Strictly inside only: the button's edges hover nothing.
    pointAt(400, m.top[3], m);
    pointAt(300, m.top[3] + 1, m);
    EXPECT_EQ(m.selection, 2);
    pointAt(301, m.top[3] + 1, m);
    EXPECT_EQ(m.selection, 3);
}

// The whole loop through the in-game menu, which lends its own images; the hooks play the
// display and the clock. The main menu's loop is driven through the real window.
TEST_F(StdMenuTest, InGameMenuTakesOneStepPerTickOverTheGivenFrame) {
    BITMAP* frame = solidBitmap(800, 600, makecol(10, 20, 30));
    int frames = 0, pendingAtSecond = -1;
    frameHooks.present = [&] {
        if (++frames == 1) timerCounter = 5;  // several ticks at once: still one step per pass
        if (frames == 2) pendingAtSecond = timerCounter.load();
        key[KEY_UP] = frames == 1;
        key[KEY_ENTER] = frames >= 4;
    };
    frameHooks.idle = [&] {
        if (timerCounter.load() == 0) ++timerCounter;
    };
    EXPECT_EQ(inGameMenu(frame), 3) << "from Continue Up wraps to the last entry";
    EXPECT_EQ(pendingAtSecond, 4) << "the other ticks wait for later passes";
    EXPECT_EQ(pixel(5, 5), makecol(10, 20, 30)) << "drawn over the given frame";
    destroy_bitmap(frame);
    EXPECT_EQ(stdMenu(0, false, 0, nullptr, nullptr, font, 50, nullptr, nullptr, nullptr, -1, -1, -1), -1)
        << "no entries: returns without touching anything";
}

TEST_F(StdMenuTest, RestartNoticeIsPlacedByTheLabelsHeight) {
    DATAFILE* data = load_datafile("data/data.dat");
    ASSERT_TRUE(data);
    global.menuFont = static_cast<FONT*>(data[0].dat);  // the notice's font, taller than the labels'
    StdMenuState m = open(0, true, {1, 1});
    const std::string labels[] = {"", ""};
    BITMAP* button = solidBitmap(BW, BH, makecol(0, 0, 128));
    StdMenuLook look;
    look.labels = labels;
    look.font = font;
    look.background = background;
    look.selectedImage = look.otherImage = button;
    look.restartNotice = true;
    drawStdMenu(m, look, global.buffer);
    const int th = text_height(font), red = makecol(255, 0, 0);
    EXPECT_EQ(countColor(global.buffer, 0, 600 - 2 * th - 10, red), 0);
    EXPECT_GT(countColor(global.buffer, 600 - 2 * th - 10, 600, red), 0);
    destroy_bitmap(button);
    global.menuFont = font;
    unload_datafile(data);
}
