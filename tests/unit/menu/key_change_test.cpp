// The key assignment list and the capture of a new key, driven one step at a time.
#include <string>

#include "core/constants.h"
#include "input/keyStates.h"
#include "input/mouse.h"
#include "menu/keyChange.h"
#include "menu/menu_fixture.h"

using namespace menu;

namespace {
class KeyChangeTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        settings = global;
    }
    // Steps the capture until it ends or the step limit is reached.
    void stepCapture(CaptureState& c, int steps) {
        for (int i = 0; i < steps && !c.done; ++i) captureStep(c, settings);
    }
    globals settings;
};
}  // namespace

TEST_F(KeyChangeTest, RowsShowLabelKeyNameAndHelp) {
    EXPECT_EQ(keyRowText(settings, 0), "Move forward (W)");
    EXPECT_EQ(keyRowText(settings, 6), "Shoot (Space)");
    EXPECT_EQ(keyRowText(settings, 12), "Finished");
    EXPECT_EQ(keyRowHelp(4), "Change key for strafing to the left");
    EXPECT_EQ(keyRowHelp(12), "Return to the other option");
    settings.keyMission = 500;  // only a damaged settings file can hold this
    EXPECT_EQ(keyRowText(settings, 10), "Review mission description (?)");
    settings.keyMission = -1;
    CaptureState c = openCapture(settings, 10);
    EXPECT_EQ(c.current, "Current key assigned is ?");
    EXPECT_EQ(c.prompt,
              "Please press the key you would like to use for showing the description of your current mission again");
}

TEST_F(KeyChangeTest, ListWrapsAndEndsOnFinished) {
    KeyListState s = openKeyList(800, 600);
    int captured = -1;
    auto step = [&] { keyListStep(s, settings, [&](globals&, int row) { captured = row; }); };
    tap(KEY_UP, step);
    EXPECT_EQ(s.selection, FINISHED_ROW);
    tap(KEY_DOWN, step);
    EXPECT_EQ(s.selection, 0);
    tap(KEY_ESC, step);
    EXPECT_TRUE(s.running) << "Esc in the list does nothing";
    tap(global.keyBackward, step);
    tap(KEY_ENTER, step);
    EXPECT_EQ(captured, 1);
    tap(KEY_UP, step);
    tap(KEY_UP, step);
    tap(global.keyUse, step);
    EXPECT_FALSE(s.running);
}

TEST_F(KeyChangeTest, ListNavigationUsesTheKeysInForce) {
    settings.keyBackward = KEY_Q;
    KeyListState s = openKeyList(800, 600);
    auto step = [&] { keyListStep(s, settings, nullptr); };
    tap(KEY_Q, step);
    EXPECT_EQ(s.selection, 0);
    tap(KEY_S, step);
    EXPECT_EQ(s.selection, 1);
}

TEST_F(KeyChangeTest, ListHoverSelectsTheRowUnderThePointer) {
    KeyListState s = openKeyList(800, 600);
    drawKeyList(s, settings, global.buffer);
    s.hover = true;
    auto step = [&] { keyListStep(s, settings, nullptr); };
    mouse_y = s.top[0] + 2;
    tap(KEY_DOWN, step);
    EXPECT_EQ(s.selection, 1) << "Down lasts one step";
    drawKeyList(s, settings, global.buffer);
    step();
    EXPECT_EQ(s.selection, 0);
    mouse_y = 599;
    step();
    EXPECT_EQ(s.selection, FINISHED_ROW);
    mouse_y = s.top[0];
    tap(KEY_UP, step);
    EXPECT_EQ(s.selection, FINISHED_ROW - 1) << "on the top edge the keyboard decides";
}

TEST_F(KeyChangeTest, AKeyHeldWhenTheCaptureOpensIsTakenAtOnce) {
    CaptureState c = openCapture(settings, 0);
    key[KEY_Q] = 1;
    captureStep(c, settings);
    EXPECT_TRUE(c.done);
    EXPECT_EQ(settings.keyForward, KEY_Q);
    EXPECT_EQ(global.keyForward, KEY_W) << "only the object handed in changes";
}


TEST_F(KeyChangeTest, TheActionsOwnKeyIsAccepted) {
    CaptureState c = openCapture(settings, 6);
    key[KEY_SPACE] = 1;
    captureStep(c, settings);
    EXPECT_TRUE(c.done);
    EXPECT_EQ(settings.keyShoot, KEY_SPACE);
}

TEST_F(KeyChangeTest, AKeyOfAnotherActionIsRefusedUntilTheMessageTimesOut) {
    CaptureState c = openCapture(settings, 0);
    key[KEY_SPACE] = 1;
    stepCapture(c, 5);
    EXPECT_FALSE(c.done);
    EXPECT_EQ(c.message, "This key is already used for firing the selected weapon");
    EXPECT_EQ(c.messageTimer, 80);
    key[KEY_SPACE] = 0;
    stepCapture(c, 79);
    EXPECT_EQ(c.messageTimer, 1);
    stepCapture(c, 1);
    EXPECT_EQ(c.messageTimer, 0);
    EXPECT_EQ(settings.keyForward, KEY_W);
    EXPECT_EQ(settings.keyShoot, KEY_SPACE);
}

TEST_F(KeyChangeTest, EveryReservedKeyIsRefusedByName) {
    const int reserved[] = {KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_F9, KEY_F10, KEY_F11, KEY_F12};
    const char* names[] = {"1", "2", "3", "4", "5", "F9", "F10", "F11", "F12"};
    for (int i = 0; i < 9; ++i) {
        CaptureState c = openCapture(settings, 0);
        releaseAllKeys();
        key[reserved[i]] = 1;
        captureStep(c, settings);
        EXPECT_FALSE(c.done) << names[i];
        EXPECT_EQ(c.message, std::string(names[i]) + " is a reserved key");
        EXPECT_EQ(c.messageTimer, 80);
    }
    int count = 0;
    for (int k = 0; k < KEY_MAX; ++k) count += isReservedKey(k);
    EXPECT_EQ(count, 9);
    EXPECT_FALSE(isReservedKey(-1));
    EXPECT_FALSE(isReservedKey(KEY_6));
}

TEST_F(KeyChangeTest, ReservedMessageReplacesTheDuplicateOne) {
    settings.keyMessages = KEY_F9;  // damaged file
    CaptureState c = openCapture(settings, 0);
    key[KEY_F9] = 1;
    captureStep(c, settings);
    EXPECT_EQ(c.message, "F9 is a reserved key");
}

TEST_F(KeyChangeTest, ARefusedKeyDoesNotHideAnotherHeldOne) {
    CaptureState c = openCapture(settings, 0);
    key[KEY_3] = 1;
    key[KEY_Z] = 1;
    captureStep(c, settings);
    EXPECT_TRUE(c.done);
    EXPECT_EQ(settings.keyForward, KEY_Z);
}

TEST_F(KeyChangeTest, EnterAndEscAreNeverTaken) {
    CaptureState c = openCapture(settings, 0);
    key[KEY_ENTER] = 1;
    keyStates[KEY_ESC];
    stepCapture(c, 40);
    EXPECT_FALSE(c.done);
    EXPECT_EQ(c.messageTimer, 0);
    key[KEY_ESC] = 1;
    keyStates[KEY_ESC];  // a press already reported elsewhere: it must not become the key
    stepCapture(c, 3);
    EXPECT_FALSE(c.done);
    EXPECT_EQ(settings.keyForward, KEY_W);
}

TEST_F(KeyChangeTest, EscCancelsWithoutChange) {
    CaptureState c = openCapture(settings, 0);
    stepCapture(c, 3);
    key[KEY_ESC] = 1;
    key[KEY_Q] = 1;
    captureStep(c, settings);
    EXPECT_TRUE(c.done);
    EXPECT_EQ(settings.keyForward, KEY_W);
}

TEST_F(KeyChangeTest, UseKeyIsIgnoredForSixteenStepsThenJudged) {
    CaptureState c = openCapture(settings, 0);
    key[global.keyUse] = 1;
    stepCapture(c, 16);
    EXPECT_FALSE(c.done);
    EXPECT_EQ(c.messageTimer, 0) << "still in its grace time";
    captureStep(c, settings);
    EXPECT_EQ(c.message, "This key is already used for using things like health stations");

    CaptureState u = openCapture(settings, 7);
    stepCapture(u, 16);
    EXPECT_FALSE(u.done);
    captureStep(u, settings);
    EXPECT_TRUE(u.done) << "the Use row takes its own key after the grace";
    EXPECT_EQ(settings.keyUse, KEY_E);
}

TEST_F(KeyChangeTest, GraceFollowsTheUseKeyInForce) {
    settings.keyUse = KEY_U;  // edited, not yet saved: the held key is still global's
    CaptureState c = openCapture(settings, 0);
    key[KEY_E] = 1;
    captureStep(c, settings);
    EXPECT_FALSE(c.done);
    EXPECT_EQ(c.grace, 15);
}

TEST_F(KeyChangeTest, CaptureScreenDrawsTheMessageInRedWhileItsTimerRuns) {
    CaptureState c = openCapture(settings, 0);
    key[KEY_F10] = 1;
    captureStep(c, settings);
    drawCapture(c, global.buffer, 800);
    int red = 0;
    for (int x = 0; x < 800; ++x)
        for (int y = 350; y < 358; ++y) red += pixel(x, y) == makecol(255, 0, 0);
    EXPECT_GT(red, 0);
    c.messageTimer = 0;
    drawCapture(c, global.buffer, 800);
    red = 0;
    for (int x = 0; x < 800; ++x)
        for (int y = 350; y < 358; ++y) red += pixel(x, y) == makecol(255, 0, 0);
    EXPECT_EQ(red, 0);
}
