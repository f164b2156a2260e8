// The options screen driven one input step at a time on its private copy of the settings.
#include <tuple>
#include <utility>
#include <vector>

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
        global.screenMode = 2;
        s = openOptions(true, 800, 600);
    }
    void step() {
        optionsStep(s, [this](globals&) { ++controlsRuns; });
    }
    void press(int code) { tap(code, [this] { step(); }); }
    void hold(int code, int steps) {
        key[code] = 1;
        for (int i = 0; i < steps; ++i) step();
        key[code] = 0;
    }
    void select(int row) {
        while (s.selection != row) press(KEY_DOWN);
    }
    // Chooses the exit row and leaves; true asks for a restart.
    bool exitBy(int row) {
        select(row);
        press(KEY_ENTER);
        EXPECT_FALSE(s.running);
        return leaveOptions(s, [this](char& mode) {
            ++switches;
            switchedTo = mode;
            mode = 2;  // full screen cannot be had here
        });
    }
    OptionsState s;
    int controlsRuns = 0;
    int switches = 0;
    int switchedTo = 0;
};
}  // namespace

TEST_F(OptionsTest, UpAndDownWrapOverAllRowsOrWithoutColourDepthByTheKeysInForce) {
    s.copy.keyBackward = KEY_Q;  // edited, not in force
    press(KEY_Q);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE);
    press(KEY_UP);
    EXPECT_EQ(s.selection, ROW_EXIT_DISCARDING);
    press(global.keyBackward);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE);
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_COLOR_DEPTH);

    s = openOptions(false, 800, 600);
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_VSYNC) << "the hidden colour depth is skipped";
    press(global.keyForward);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE);
}

TEST_F(OptionsTest, RestartOnlyForASavedChangeOfColourDepth) {
    struct Case {
        const char* name;
        int depth;
        std::vector<int> keys;  // pressed on the colour depth row
        int exitRow;
        bool restart;
        int result;
    };
    const Case cases[] = {
        {"changed", 32, {KEY_RIGHT}, ROW_EXIT_SAVING, true, 16},
        {"changed back", 32, {KEY_RIGHT, KEY_LEFT}, ROW_EXIT_SAVING, false, 32},
        {"discarded", 32, {KEY_RIGHT}, ROW_EXIT_DISCARDING, false, 32},
        {"odd depth only visited", 24, {}, ROW_EXIT_SAVING, false, 24},
        {"odd depth chosen as shown", 24, {KEY_LEFT}, ROW_EXIT_SAVING, true, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        global.colorDepth = c.depth;
        s = openOptions(true, 800, 600);
        EXPECT_FALSE(s.rightActive[1]) << "shown with 32 active";
        select(ROW_COLOR_DEPTH);
        for (int k : c.keys) press(k);
        EXPECT_EQ(global.colorDepth, c.depth) << "only the copy changes while the screen is open";
        EXPECT_EQ(exitBy(c.exitRow), c.restart);
        EXPECT_EQ(global.colorDepth, c.result);
    }
    EXPECT_EQ(switches, 0);
}

// Saving and discarding keys and volumes are driven through the real window.
TEST_F(OptionsTest, DisplayModeSwitchesOnlyWhenSavedAndKeepsTheModeThatWorked) {
    for (int exitRow : {ROW_EXIT_DISCARDING, ROW_EXIT_SAVING}) {
        s = openOptions(true, 800, 600);
        select(ROW_DISPLAY_MODE);
        press(KEY_RIGHT);
        EXPECT_TRUE(s.rightActive[0]);
        EXPECT_FALSE(exitBy(exitRow));
        EXPECT_EQ(global.screenMode, 2);
    }
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(switchedTo, 1);
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
    select(ROW_CONTROLS);
    press(KEY_LEFT);
    press(KEY_RIGHT);
    EXPECT_EQ(std::tie(s.copy.screenMode, s.copy.colorDepth, s.copy.vsync), std::make_tuple(char(2), 32, true));
    EXPECT_EQ(controlsRuns, 0);
}

TEST_F(OptionsTest, VolumesStopAtTheBoundsAndShowPercent) {
    select(ROW_SFX_VOLUME);
    s.copy.sfxVolume = 250;
    hold(KEY_RIGHT, 10);
    EXPECT_EQ(s.copy.sfxVolume, 255);
    press(KEY_DOWN);
    s.copy.musicVolume = 3;
    hold(global.keyTurnLeft, 10);
    EXPECT_EQ(s.copy.musicVolume, 0);
    s.copy.musicVolume = 100;
    key[KEY_LEFT] = key[KEY_RIGHT] = 1;
    step();
    EXPECT_EQ(s.copy.musicVolume, 100) << "both held cancel out";
    EXPECT_EQ(s.copy.sfxVolume, 255) << "only the selected volume moves";
    const std::pair<int, const char*> shown[] = {{255, " - 100%"}, {175, " - 68%"}, {1, " - 0%"}, {0, " - 0%"}};
    for (const auto& v : shown) EXPECT_EQ(volumeText(v.first), v.second);
}

TEST_F(OptionsTest, WheelActsOnceAndOnlyOnVolumeRows) {
    select(ROW_MUSIC_VOLUME);
    s.copy.musicVolume = 255;
    mouseZDiff = 3;
    step();
    EXPECT_EQ(s.copy.musicVolume, 255);
    mouseZDiff = -5;
    step();
    step();
    EXPECT_EQ(s.copy.musicVolume, 250);
    select(ROW_CONTROLS);
    mouseZDiff = -2;
    step();
    EXPECT_EQ(s.copy.musicVolume, 250);
    EXPECT_EQ(s.copy.sfxVolume, 255);
}

TEST_F(OptionsTest, HoverByRowHeightAndOnlyBelowTheFirstRow) {
    drawOptions(s, global.buffer);
    s.hover = true;
    mouse_y = s.top[ROW_VSYNC] + 1;
    step();
    EXPECT_EQ(s.selection, ROW_VSYNC);
    mouse_y = 599;
    drawOptions(s, global.buffer);
    step();
    EXPECT_EQ(s.selection, ROW_EXIT_DISCARDING) << "the last row reaches down to the bottom";
    mouse_y = s.top[0];
    drawOptions(s, global.buffer);
    press(KEY_DOWN);
    EXPECT_EQ(s.selection, ROW_DISPLAY_MODE) << "from the first row's top edge up the keyboard alone decides";

    s = openOptions(false, 800, 600);
    drawOptions(s, global.buffer);
    s.hover = true;
    mouse_y = s.top[ROW_VSYNC] + 2;
    step();
    EXPECT_EQ(s.selection, ROW_VSYNC) << "the hidden colour depth row cannot be hovered";
}
