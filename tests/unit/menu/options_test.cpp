// The options screen and its key assignment, stepped with input values on a copy of the settings.
#include "menu/keyChange.h"
#include "menu/menu_fixture.h"
#include "menu/options.h"

using namespace menu;

TEST_F(MenuTest, OptionsStepEditTheCopyAndDrawTheRowsWithLabelsAndHelp) {
    global.screenMode = 2, global.colorDepth = 24, global.sfxVolume = 250, global.musicVolume = 3;
    const int L = KEY_LEFT, R = KEY_RIGHT, E = KEY_ENTER, U = KEY_UP, D = KEY_DOWN;
    // Rows from 250, 272, 283 (261, 283, 283 without depth); y < 0: no frame yet. Then the copy (row 7 drops it).
    const struct { int full, row; Keys keys; int wheel, y, click, sel, left = 0, ctl = 0, mode = 2, depth = 24,
                   vsync = 1, sfx = 250, music = 3; } cases[] = {
        {1, 0, {{U}}, 0, 0, 0, 7}, {1, 7, {{D}}, 0, 0, 0, 0}, {0, 0, {{D}}, 0, 0, 0, 2}, {0, 2, {{U}}, 0, 0, 0, 0},
        {1, 0, {{KEY_Q}}, 0, 0, 0, 0}, {1, 0, {{KEY_S}}, 0, 0, 0, 1}, {1, 0, {{E}, {R}}, 0, 0, 0, 0, 0, 0, 1},
        {1, 0, {{R}, {L}}, 0, 0, 0, 0}, {1, 1, {{R}}, 0, 0, 0, 1, 0, 0, 2, 16}, {1, 1, {{L}}, 0, 0, 0, 1, 0, 0, 2, 32},
        {1, 2, {{R}}, 0, 0, 0, 2, 0, 0, 2, 24, 0}, {1, 2, {{R}, {L}}, 0, 0, 0, 2}, {1, 4, {{L, R}}, 0, 0, 0, 4},
        {1, 3, Keys(9, {R}), 0, 0, 0, 3, 0, 0, 2, 24, 1, 255}, {1, 4, Keys(9, {L}), 0, 0, 0, 4, 0, 0, 2, 24, 1, 250, 0},
        {1, 3, {}, 9, 0, 0, 3, 0, 0, 2, 24, 1, 255}, {1, 4, {}, -5, 0, 0, 4, 0, 0, 2, 24, 1, 250, 0},
        {1, 5, {{L}, {R}, {E}}, -2, 0, 0, 5, 0, 1}, {1, 0, {}, 0, -284, 0, 0}, {1, 0, {}, 0, 284, 0, 2},
        {1, 0, {}, 0, 599, 0, 7}, {1, 0, {{D}}, 0, 283, 0, 1}, {1, 0, {{D}, {}}, 0, 284, 0, 2},
        {0, 0, {}, 0, 284, 0, 2},
        {1, 0, {}, 0, 330, 1, 6, 1}, {1, 3, {{R}, {D}, {D}, {D}, {D}, {E}}, 0, 0, 0, 7, 1}};
    for (const auto& c : cases) {
        OptionsState s = openOptions(c.full, 800, 600);
        if (c.y >= 0) drawOptions(s, global.buffer);
        int controls = (s.selection = c.row, s.copy.keyBackward = KEY_Q, 0);  // Q: the edited copy's only
        steps(c.keys, [&](auto& in) { optionsStep(s, in, [&](globals&) { ++controls; }); }, 0, abs(c.y), c.click,
              c.wheel);
        const globals& g = s.copy;
        EXPECT_EQ(std::make_tuple(s.selection, !s.running, controls, g.screenMode, g.colorDepth, g.vsync, g.sfxVolume),
                  std::make_tuple(c.sel, bool(c.left), c.ctl, char(c.mode), c.depth, c.vsync == 1, uint8_t(c.sfx)));
        EXPECT_EQ(g.musicVolume, c.music) << c.row << " " << c.y;
    }
    const struct { const char *label, *left, *right, *help; } rows[] = {
        {"Display mode", "Windowed", "Fullscreen", "Should the game be started in windowed or fullscreen mode?"},
        {"Color depth", "32", "16", "How many bits per pixel should be used?"},
        {"VSync", "On", "Off", "Should the game be synced with your monitor?"},
        {"SFX volume", " - 68%", "", "Volume of sound effects"},
        {"Music volume", " - 100%", "", "Volume of background music"}, {"Controls", "", "", "Set controls"},
        {"Exit saving changes", "", "", "Return to main menu saving changes you made"},
        {"Exit discarding changes", "", "", "Return to main menu discarding all changes you made"}};
    const bool right[] = {false, true, false};  // windowed, 16 bits, vsync on
    global.screenMode = 2, global.colorDepth = 16, global.sfxVolume = 175, global.musicVolume = 255;
    const int white = makecol(255, 255, 255), dark = makecol(32, 32, 32);
    OptionsState s = openOptions(true, 800, 600);
    auto row = [&](int r, bool selected) {
        const int y = s.top[r], text = selected ? white : 0, on = selected ? white : makecol(112, 112, 112);
        const int L = text_length(font, rows[r].left), choice = r <= ROW_VSYNC, volume = r == 3 || r == 4;
        const int leftColor = choice ? (right[r] ? dark : on) : text;
        EXPECT_TRUE(!*rows[r].left || textAt(rows[r].left, 400 + 5 * volume, y, leftColor, volume));
        EXPECT_TRUE(!choice || textAt(rows[r].right, (L + 800) / 2 + 26, y, right[r] ? on : dark, 1));
        EXPECT_TRUE(textAt(rows[r].label, choice ? (800 - L) / 2 - 26 : 400, y, text, -(choice || volume)));
        EXPECT_EQ(textAt(rows[r].help, 400, y + 11, white), selected) << rows[r].label;
    };
    for (int r = 0; r < OPTIONS_ROWS; ++r) {
        s.selection = r, drawOptions(s, global.buffer);
        for (int i = 0; i <= OPTIONS_ROWS; ++i)  // rows of 11 pixels from 250, the selected one 22
            EXPECT_EQ(s.top[i], i == OPTIONS_ROWS ? 600 : 250 + 11 * i + (i > r ? 11 : 0));
        row(r, true), row((r + 1) % OPTIONS_ROWS, false);
    }
    const std::string keys[][3] = {
        {"Move forward", "moving forward", "W"}, {"Move backward", "moving backward", "S"},
        {"Turn left", "turning left", "Left"}, {"Turn right", "turning right", "Right"},
        {"Strafe left", "strafing to the left", "A"}, {"Strafe right", "strafing to the right", "D"},
        {"Shoot", "firing the selected weapon", "Space"}, {"Use", "using things like health stations", "E"},
        {"Select next weapon", "selecting the next weapon", "Up"},
        {"Select previous weapon", "selecting the previous weapon", "Down"},
        {"Review mission description", "showing the description of your current mission again", "Tab"},
        {"View old messages", "showing an archive of received messages", "M"}, {"Finished"}};
    for (int r = 0; r < KEY_ROWS; ++r)
        EXPECT_EQ(std::make_pair(keyRowText(global, r), keyRowHelp(r)),
                  r < KEY_ACTIONS ? std::make_pair(keys[r][0] + " (" + keys[r][2] + ")", "Change key for " + keys[r][1])
                                  : std::make_pair(keys[r][0], std::string("Return to the other option")));
    KeyListState list = openKeyList(800, 600);
    list.selection = 1, drawKeyList(list, global, global.buffer);
    for (int i = 0; i <= KEY_ROWS; ++i)  // rows of 11 pixels from 223, the selected one 22
        EXPECT_EQ(list.top[i], i == KEY_ROWS ? 600 : 223 + 11 * i + (i > 1 ? 11 : 0));
    EXPECT_TRUE(textAt("Move forward (W)", 400, 223, 0) && textAt("Move backward (S)", 400, 234, white));
    EXPECT_TRUE(textAt("Change key for moving backward", 400, 245, white));
    drawCapture(openCapture(global, 6), global.buffer, 800);
    const std::string lines[] = {"Press Esc to cancel", "Please press the key you would like to use for " + keys[6][1],
                                 "Current key assigned is Space"};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(textAt(lines[i], 400, 280 + 20 * i, white)) << lines[i];
}

TEST_F(MenuTest, KeyListAndCapturesFollowTheKeysInForceAndNameWhyAKeyIsRefused) {
    globals settings = global;
    settings.keyBackward = KEY_Q;  // edited, not in force; y < 0: before the first frame
    const struct { int row; Keys keys; int y, click, sel, captured, running; } moves[] = {
        {0, {{KEY_ESC}, {KEY_Q}}, 0, 0, 0, -1, 1}, {0, {{KEY_UP}}, 0, 0, 12, -1, 1}, {12, {{KEY_DOWN}}, 0, 0, 0, -1, 1},
        {0, {{KEY_S}, {KEY_E}}, 0, 0, 1, 1, 1}, {12, {{KEY_ENTER}}, 0, 0, 12, -1, 0}, {3, {}, 0, 1, 3, 3, 1},
        {5, {}, -300, 0, 5, -1, 1}, {0, {{KEY_UP}}, 223, 0, 12, -1, 1}};
    for (const auto& c : moves) {
        KeyListState s = openKeyList(800, 600);
        if (c.y >= 0) drawKeyList(s, settings, global.buffer);
        int captured = (s.selection = c.row, -1);
        auto capture = [&](globals&, int r) { captured = r; };
        steps(c.keys, [&](auto& in) { keyListStep(s, settings, in, capture); }, 0, abs(c.y), c.click);
        EXPECT_EQ(std::make_tuple(s.selection, captured, s.running), std::make_tuple(c.sel, c.captured, c.running > 0));
    }
    const std::string used = "This key is already used for ", reserved = " is a reserved key";
    // Row -1: "Move forward" where a damaged "View old messages" holds F9; -2: Esc down since before.
    const struct { int row; Keys keys; bool done; std::string message = ""; int key = KEY_W, idle = 0; } captures[] = {
        {6, {{KEY_SPACE}}, true, "", KEY_SPACE}, {0, {{KEY_SPACE}}, false, used + "firing the selected weapon"},
        {0, {{KEY_F9}}, 0, "F9" + reserved}, {0, {{KEY_3}}, 0, "3" + reserved}, {0, {{KEY_5}}, 0, "5" + reserved},
        {-1, {{KEY_F9}}, false, "F9" + reserved}, {0, {{KEY_3, KEY_6}}, true, "3" + reserved, KEY_6},
        {0, {{KEY_ENTER}}, false}, {0, {{KEY_LSHIFT}}, true, "", KEY_LSHIFT}, {0, {{KEY_ESC, KEY_Q}}, true},
        {-2, {{KEY_ESC}}, false}, {0, Keys(16, {KEY_E}), false}, {7, Keys(17, {KEY_E}), true, "", KEY_E},
        {0, Keys(17, {KEY_E}), false, used + "using things like health stations"},
        {0, {{KEY_3}}, 0, "3" + reserved, KEY_W, 79}, {0, {{KEY_3}}, 0, "3" + reserved, KEY_W, 80}};  // then gone
    for (const auto& c : captures) {
        settings = global;
        if (c.row == -1) settings.keyMessages = KEY_F9;
        platform::Input esc;
        if (c.row == -2) esc.held[KEY_ESC] = true, platform::use(esc), keyStates[KEY_ESC];
        CaptureState cap = openCapture(settings, std::max(c.row, 0));
        auto step = [&](auto& in) { captureStep(cap, settings, in), drawCapture(cap, global.buffer, 800); };
        steps(c.keys, step), c.idle ? steps(Keys(c.idle), step) : void();
        const int timer = c.message.empty() ? 0 : 80 - c.idle, key = settings.*KEY_ACTION_LIST[cap.row].field;
        EXPECT_EQ(std::make_tuple(cap.done, cap.message, cap.messageTimer, key),
                  std::make_tuple(c.done, c.message, timer, c.key));
        EXPECT_EQ(textAt(c.message, 400, 350, makecol(255, 0, 0)), c.message.empty() || timer > 0) << c.message;
    }
    KeyListState list = openKeyList(800, 600);  // run whole: the grace counts steps, the confirm key stays latched
    fake.hold(KEY_S), runCapture(settings = global, 1);  // "Move backward" keeps its own key at the first step
    keyListStep(list, settings, platform::current(), nullptr);
    EXPECT_EQ(list.selection, 1) << "the held navigation key acts at the next list step";
    settings.keyUse = KEY_U;  // edited: the use key in force is free for "Shoot"
    fake.releaseAll(), fake.hold(KEY_E), runCapture(settings, 6);
    EXPECT_EQ(std::make_tuple(settings.keyShoot, fake.frames), std::make_tuple(KEY_E, 2 + 17));  // at the 17th step
    EXPECT_FALSE(keyStates[KEY_E]) << "the key just taken must not confirm the row again";
}
