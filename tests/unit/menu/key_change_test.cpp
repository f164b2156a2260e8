// The key assignment list and the capture of a new key, driven one step at a time.
#include <string>

#include "core/constants.h"
#include "input/keyStates.h"
#include "input/mouse.h"
#include "menu/frame.h"
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
    void stepCapture(CaptureState& c, int steps) {
        for (int i = 0; i < steps && !c.done; ++i) captureStep(c, settings);
    }
    // Opens the capture for the row and holds the key for one step.
    CaptureState captureWith(int row, int code) {
        CaptureState c = openCapture(settings, row);
        releaseAllKeys();
        key[code] = 1;
        captureStep(c, settings);
        return c;
    }
    globals settings;
};
}  // namespace

// Opening a capture with Enter, and Up wrapping to "Finished", are driven through the real window.
TEST_F(KeyChangeTest, ListIgnoresEscAndMovesByTheKeysInForce) {
    settings.keyBackward = KEY_Q;  // edited, not in force
    KeyListState s = openKeyList(800, 600);
    int captured = -1;
    auto step = [&] { keyListStep(s, settings, [&](globals&, int row) { captured = row; }); };
    tap(KEY_ESC, step);
    tap(KEY_Q, step);
    EXPECT_EQ(s.selection, 0);
    EXPECT_TRUE(s.running) << "Esc in the list does nothing";
    tap(global.keyBackward, step);
    tap(global.keyUse, step);
    EXPECT_EQ(captured, 1);
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

TEST_F(KeyChangeTest, AKeyOfAnotherActionIsRefusedUntilTheMessageTimesOut) {
    EXPECT_TRUE(captureWith(6, KEY_SPACE).done) << "an action may keep its own key";
    CaptureState c = captureWith(0, KEY_SPACE);
    stepCapture(c, 4);
    EXPECT_FALSE(c.done);
    EXPECT_EQ(c.message, "This key is already used for firing the selected weapon");
    EXPECT_EQ(c.messageTimer, 80);
    key[KEY_SPACE] = 0;
    stepCapture(c, 79);
    drawCapture(c, global.buffer, 800);
    EXPECT_GT(countColor(global.buffer, 350, 358, makecol(255, 0, 0)), 0) << "shown in red while the timer runs";
    stepCapture(c, 1);
    drawCapture(c, global.buffer, 800);
    EXPECT_EQ(countColor(global.buffer, 350, 358, makecol(255, 0, 0)), 0);
    EXPECT_EQ(settings.keyForward, KEY_W);
}

TEST_F(KeyChangeTest, ReservedKeysAreRefusedByNameWithoutHidingAnotherHeldKey) {
    const int reserved[] = {KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_F9, KEY_F10, KEY_F11, KEY_F12};
    const char* names[] = {"1", "2", "3", "4", "5", "F9", "F10", "F11", "F12"};
    for (int i = 0; i < 9; ++i) {
        CaptureState c = captureWith(0, reserved[i]);
        EXPECT_FALSE(c.done) << names[i];
        EXPECT_EQ(c.message, std::string(names[i]) + " is a reserved key");
        EXPECT_EQ(c.messageTimer, 80);
    }
    int count = 0;
    for (int k = -1; k < KEY_MAX; ++k) count += isReservedKey(k);
    EXPECT_EQ(count, 9);

    settings.keyMessages = KEY_F9;  // damaged file
    EXPECT_EQ(captureWith(0, KEY_F9).message, "F9 is a reserved key") << "it replaces the duplicate message";

    CaptureState c = captureWith(0, KEY_3);
    key[KEY_6] = 1;  // looked at after 3 in the same step
    captureStep(c, settings);
    EXPECT_TRUE(c.done);
    EXPECT_EQ(settings.keyForward, KEY_6);
    EXPECT_EQ(global.keyForward, KEY_W) << "only the edited settings change";
}

TEST_F(KeyChangeTest, EscCancelsAndNeitherItNorEnterIsEverTaken) {
    CaptureState c = openCapture(settings, 0);
    key[KEY_ENTER] = key[KEY_ESC] = 1;
    keyStates[KEY_ESC];  // a press already reported elsewhere: it must not become the key
    stepCapture(c, 40);
    EXPECT_FALSE(c.done);
    EXPECT_EQ(c.messageTimer, 0);

    releaseAllKeys();
    stepCapture(c, 1);  // the latch sees Esc let go
    key[KEY_ESC] = key[KEY_Q] = 1;
    captureStep(c, settings);
    EXPECT_TRUE(c.done) << "a fresh Esc cancels, whatever is held with it";
    EXPECT_EQ(settings.keyForward, KEY_W);
}

TEST_F(KeyChangeTest, UseKeyInForceIsIgnoredForSixteenStepsThenJudged) {
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

    settings.keyUse = KEY_U;  // edited, not yet saved: the held key is still global's
    CaptureState g = openCapture(settings, 0);
    captureStep(g, settings);
    EXPECT_FALSE(g.done);
    EXPECT_EQ(g.grace, 15);
}

TEST_F(KeyChangeTest, AKeyJustTakenAndStillHeldMovesTheListButNeverReopensTheCapture) {
    frameHooks.present = [] {};
    frameHooks.idle = [] { timerCounter = 1; };
    KeyListState s = openKeyList(800, 600);
    s.selection = 1;
    int reopened = -1;
    auto step = [&] { keyListStep(s, settings, [&](globals&, int row) { reopened = row; }); };
    key[global.keyBackward] = 1;
    timerCounter = 1;
    runCapture(settings, 1);  // "Move backward" takes its own key
    step();
    EXPECT_EQ(s.selection, 2) << "the held navigation key acts at the next list step";

    releaseAllKeys();
    step();
    settings.keyUse = KEY_U;  // edited: the use key in force is free for "Shoot"
    key[global.keyUse] = 1;
    runCapture(settings, 6);
    EXPECT_EQ(settings.keyShoot, global.keyUse);
    step();
    EXPECT_EQ(reopened, -1) << "the key just taken must not also confirm the row again";
}
