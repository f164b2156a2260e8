// The options screen driven one input step at a time on its private copy of the settings.
#include <string>

#include "core/constants.h"
#include "input/keyStates.h"
#include "input/mouse.h"
#include "menu/menu_fixture.h"
#include "menu/options.h"

using namespace menu;

namespace {
class OptionsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        global.colorDepth = 32;
        global.screenMode = 2;
        s = openOptions(true, 800, 600);
    }
    void step() {
        optionsStep(s, [this](globals& copy) {
            ++controlsRuns;
            if (reassign) reassign(copy);
        });
    }
    void press(int code) { tap(code, [this] { step(); }); }
    void select(int row) {
        while (s.selection != row) press(KEY_DOWN);
    }
    bool leave() {
        return leaveOptions(s, [this](char& mode) {
            ++switches;
            switchedTo = mode;
            if (forceWindow) mode = 2;
        });
    }
    OptionsState s;
    int controlsRuns = 0;
    std::function<void(globals&)> reassign;
    int switches = 0;
    int switchedTo = 0;
    bool forceWindow = false;
};
}  // namespace

TEST_F(OptionsTest, UpAndDownWrapOverAllRowsOrWithoutColourDepth) {
    press(KEY_UP);
    EXPECT_EQ(s.selection, ROW_EXIT_DISCARDING);
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE);
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_COLOR_DEPTH);

    s = openOptions(false, 800, 600);
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_VSYNC) << "the hidden colour depth is skipped";
    press(KEY_UP);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE);
    press(KEY_UP);
    EXPECT_EQ(s.selection, ROW_EXIT_DISCARDING);
}

TEST_F(OptionsTest, MenuKeysFollowTheAssignmentInForceNotTheCopy) {
    s.copy.keyBackward = KEY_Q;
    press(KEY_Q);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE);
    press(global.keyBackward);
    EXPECT_EQ(s.selection, ROW_COLOR_DEPTH);
    press(global.keyForward);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE);
}

TEST_F(OptionsTest, ResultIsTrueOnlyForASavedChangeOfColourDepth) {
    select(ROW_COLOR_DEPTH);
    press(KEY_RIGHT);
    EXPECT_EQ(s.copy.colorDepth, 16);
    EXPECT_EQ(global.colorDepth, 32) << "only the copy changes while the screen is open";
    select(ROW_EXIT_SAVING);
    press(KEY_ENTER);
    EXPECT_FALSE(s.running);
    EXPECT_TRUE(leave());
    EXPECT_EQ(global.colorDepth, 16);
    EXPECT_EQ(switches, 0);
}

TEST_F(OptionsTest, ColourDepthChangedAndChangedBackIsNotARestart) {
    select(ROW_COLOR_DEPTH);
    press(KEY_RIGHT);
    press(KEY_LEFT);
    select(ROW_EXIT_SAVING);
    press(KEY_ENTER);
    EXPECT_FALSE(leave());
}

TEST_F(OptionsTest, VolumesAloneAreSavedWithoutRestart) {
    select(ROW_SFX_VOLUME);
    key[KEY_LEFT] = 1;
    for (int i = 0; i < 10; ++i) step();
    key[KEY_LEFT] = 0;
    select(ROW_EXIT_SAVING);
    press(global.keyUse);
    EXPECT_FALSE(leave());
    EXPECT_EQ(global.sfxVolume, 245);
}

TEST_F(OptionsTest, DiscardingDropsEverythingIncludingReassignedKeys) {
    reassign = [](globals& copy) { copy.keyForward = KEY_Q; };
    select(ROW_CONTROLS);
    press(KEY_ENTER);
    EXPECT_EQ(controlsRuns, 1);
    EXPECT_EQ(s.copy.keyForward, KEY_Q);
    EXPECT_EQ(global.keyForward, KEY_W);
    select(ROW_COLOR_DEPTH);
    press(KEY_RIGHT);
    select(ROW_DISPLAY_MODE);
    press(KEY_RIGHT);
    select(ROW_EXIT_DISCARDING);
    press(KEY_ENTER);
    EXPECT_FALSE(s.running);
    EXPECT_FALSE(leave());
    EXPECT_EQ(global.keyForward, KEY_W);
    EXPECT_EQ(global.colorDepth, 32);
    EXPECT_EQ(global.screenMode, 2);
    EXPECT_EQ(switches, 0) << "discarding does not switch the display";
}

TEST_F(OptionsTest, SavingKeepsReassignedKeys) {
    reassign = [](globals& copy) { copy.keyForward = KEY_Q; };
    select(ROW_CONTROLS);
    press(KEY_ENTER);
    select(ROW_EXIT_SAVING);
    press(KEY_ENTER);
    EXPECT_FALSE(leave());
    EXPECT_EQ(global.keyForward, KEY_Q);
}

TEST_F(OptionsTest, ChangedDisplayModeSwitchesAtOnceAndKeepsTheModeThatWorked) {
    select(ROW_DISPLAY_MODE);
    press(KEY_RIGHT);
    EXPECT_TRUE(s.rightActive[0]);
    select(ROW_EXIT_SAVING);
    press(KEY_ENTER);
    forceWindow = true;  // full screen cannot be had here
    EXPECT_FALSE(leave());
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(switchedTo, 1);
    EXPECT_EQ(global.screenMode, 2);
}

TEST_F(OptionsTest, ScreenshotNumberIsNeverRolledBack) {
    global.screenshotCount = 12;  // F9 pressed while the screen was open
    select(ROW_EXIT_SAVING);
    press(KEY_ENTER);
    leave();
    EXPECT_EQ(global.screenshotCount, 12);

    s = openOptions(true, 800, 600);
    global.screenshotCount = 13;
    select(ROW_EXIT_DISCARDING);
    press(KEY_ENTER);
    leave();
    EXPECT_EQ(global.screenshotCount, 13);
}

TEST_F(OptionsTest, TwoChoiceRowsSetFixedValuesAndOtherRowsIgnoreThem) {
    press(KEY_ENTER);
    EXPECT_TRUE(s.running) << "Enter on a choice row does nothing";
    select(ROW_VSYNC);
    press(global.keyTurnRight);
    EXPECT_FALSE(s.copy.vsync);
    EXPECT_TRUE(s.rightActive[2]);
    press(global.keyTurnLeft);
    EXPECT_TRUE(s.copy.vsync);
    globals before = s.copy;
    select(ROW_CONTROLS);
    press(KEY_LEFT);
    press(KEY_RIGHT);
    EXPECT_EQ(s.copy.screenMode, before.screenMode);
    EXPECT_EQ(s.copy.colorDepth, before.colorDepth);
    EXPECT_EQ(s.copy.vsync, before.vsync);
    EXPECT_EQ(controlsRuns, 0);
}

TEST_F(OptionsTest, DepthOutsideTheChoicesShowsThirtyTwoAndIsKeptUntilChosen) {
    global.colorDepth = 24;
    s = openOptions(true, 800, 600);
    EXPECT_FALSE(s.rightActive[1]) << "shown with 32 active";
    select(ROW_COLOR_DEPTH);
    press(KEY_UP);
    select(ROW_EXIT_SAVING);
    press(KEY_ENTER);
    EXPECT_FALSE(leave());
    EXPECT_EQ(global.colorDepth, 24);

    s = openOptions(true, 800, 600);
    select(ROW_COLOR_DEPTH);
    press(KEY_LEFT);
    select(ROW_EXIT_SAVING);
    press(KEY_ENTER);
    EXPECT_TRUE(leave());
    EXPECT_EQ(global.colorDepth, 32);
}

TEST_F(OptionsTest, HeldArrowsMoveVolumesOnePerStepAndStopAtTheBounds) {
    select(ROW_SFX_VOLUME);
    s.copy.sfxVolume = 250;
    key[KEY_RIGHT] = 1;
    for (int i = 0; i < 10; ++i) step();
    key[KEY_RIGHT] = 0;
    EXPECT_EQ(s.copy.sfxVolume, 255);
    EXPECT_EQ(volumeText(s.copy.sfxVolume), " - 100%");

    press(KEY_DOWN);
    s.copy.musicVolume = 3;
    key[global.keyTurnLeft] = 1;
    for (int i = 0; i < 10; ++i) step();
    key[global.keyTurnLeft] = 0;
    EXPECT_EQ(s.copy.musicVolume, 0);
    EXPECT_EQ(volumeText(0), " - 0%");
    EXPECT_EQ(volumeText(175), " - 68%");
    EXPECT_EQ(volumeText(1), " - 0%");

    s.copy.musicVolume = 100;
    key[KEY_LEFT] = key[KEY_RIGHT] = 1;
    step();
    EXPECT_EQ(s.copy.musicVolume, 100) << "both held cancel out";
    EXPECT_EQ(s.copy.sfxVolume, 255) << "only the selected volume moves";
}


TEST_F(OptionsTest, WheelOnlyActsOnVolumeRows) {
    select(ROW_MUSIC_VOLUME);
    s.copy.musicVolume = 255;
    mouseZDiff = 3;
    step();
    EXPECT_EQ(s.copy.musicVolume, 255);
    mouseZDiff = -5;
    step();
    EXPECT_EQ(s.copy.musicVolume, 250);
    step();
    EXPECT_EQ(s.copy.musicVolume, 250) << "a wheel turn counts once";

    globals before = s.copy;
    select(ROW_CONTROLS);
    mouseZDiff = 2;
    step();
    EXPECT_EQ(s.copy.musicVolume, before.musicVolume);
    EXPECT_EQ(s.copy.sfxVolume, before.sfxVolume);
}

TEST_F(OptionsTest, HoverByRowHeightAndOnlyBelowTheFirstRow) {
    drawOptions(s, global.buffer);
    s.hover = true;
    mouse_x = 0;  // only the vertical position counts
    mouse_y = s.top[ROW_VSYNC] + 1;
    step();
    EXPECT_EQ(s.selection, ROW_VSYNC);
    drawOptions(s, global.buffer);
    mouse_y = s.top[0] + 5;
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_COLOR_DEPTH) << "Down moves for one step";
    drawOptions(s, global.buffer);
    step();
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE) << "then the row under the pointer is selected again";

    mouse_y = 599;
    drawOptions(s, global.buffer);
    step();
    EXPECT_EQ(s.selection, ROW_EXIT_DISCARDING) << "the last row reaches down to the bottom";

    mouse_y = s.top[0] - 1;
    drawOptions(s, global.buffer);
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE) << "above the first row the keyboard alone decides";
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_COLOR_DEPTH);
}

TEST_F(OptionsTest, HiddenColourDepthRowCannotBeHovered) {
    s = openOptions(false, 800, 600);
    drawOptions(s, global.buffer);
    s.hover = true;
    EXPECT_EQ(s.top[ROW_COLOR_DEPTH], s.top[ROW_VSYNC]);
    mouse_y = s.top[ROW_VSYNC] + 2;
    step();
    EXPECT_EQ(s.selection, ROW_VSYNC);
}


TEST_F(OptionsTest, DrawsTheSelectedRowWhiteWithItsHelpLine) {
    drawOptions(s, global.buffer);
    auto count = [&](int y0, int y1, int color) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 800; ++x) n += pixel(x, y) == color;
        return n;
    };
    int white = makecol(255, 255, 255);
    EXPECT_GT(count(s.top[0], s.top[0] + 8, white), 0) << "selected label and active choice";
    EXPECT_GT(count(s.top[0], s.top[0] + 8, makecol(32, 32, 32)), 0) << "the inactive choice";
    EXPECT_GT(count(s.top[0] + 11, s.top[0] + 19, white), 0) << "help line";
    EXPECT_EQ(count(s.top[2], s.top[2] + 8, white), 0);
    EXPECT_GT(count(s.top[2], s.top[2] + 8, makecol(112, 112, 112)), 0) << "active choice of an unselected row";
}
