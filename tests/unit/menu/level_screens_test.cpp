// The level message and the final screen, counted tick by tick through the frame hooks.
#include <string>

#include "core/ElementaryFunctions.h"
#include "core/constants.h"
#include "input/keyStates.h"
#include "menu/frame.h"
#include "menu/menu_fixture.h"
#include "menu/menues.h"

using namespace menu;

namespace {
class LevelScreenTest : public MenuTest {
protected:
    int frames = 0;
    int delivered = 0;
    // Ticks arrive in bursts of the given size whenever the screen waits.
    void ticksInBursts(int burst) {
        frameHooks.present = [this] { ++frames; };
        frameHooks.idle = [this, burst] {
            timerCounter += burst;
            delivered += burst;
        };
    }
};

bool anyPixel(BITMAP* b, int color) {
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x)
            if (getpixel(b, x, y) == color) return true;
    return false;
}
}  // namespace

TEST_F(LevelScreenTest, NewLevelShowsExactlyTheGivenNumberOfTicks) {
    ticksInBursts(1);
    timerCounter = 50;  // stale ticks from before do not shorten it
    newLevel("Loading next level...", 32);
    EXPECT_EQ(frames, 32);
    EXPECT_EQ(timerCounter.load(), 0);

    frames = delivered = 0;
    ticksInBursts(5);
    newLevel("You died. Restarting level...", 32);
    EXPECT_EQ(frames, 32) << "never longer, however many ticks come at once";
    EXPECT_EQ(delivered - timerCounter.load(), 32) << "the ticks past the end are left to the caller";
}

TEST_F(LevelScreenTest, NewLevelOfZeroTicksOnlyDrawsTheMessage) {
    ticksInBursts(1);
    newLevel("100% done", 0);
    EXPECT_EQ(frames, 0);
    EXPECT_TRUE(anyPixel(global.buffer, makecol(255, 255, 255))) << "the message stays in the buffer";
    // Drawn through "%s": the percent sign is printed, not taken as a directive.
    BITMAP* expect = create_bitmap(800, 600);
    clear_bitmap(expect);
    textout_centre_ex(expect, font, "100% done", 400, 300, makecol(255, 255, 255), 0);
    int diff = 0;
    for (int y = 295; y < 315; ++y)
        for (int x = 300; x < 500; ++x) diff += getpixel(expect, x, y) != getpixel(global.buffer, x, y);
    EXPECT_EQ(diff, 0);
    destroy_bitmap(expect);
}

TEST_F(LevelScreenTest, NewLevelUsesUpAPendingKeyPress) {
    ticksInBursts(1);
    key[KEY_SPACE] = 1;
    newLevel("x", 1);
    EXPECT_FALSE(keyStates.anyKey()) << "the press was taken by the screen";
}

TEST_F(LevelScreenTest, CongratsIgnoresKeysForASecondAndSavesOneScreenshot) {
    TempDir dir;
    mkdir(dir.file("screenshots").c_str(), 0755);
    ScopedChdir cd(dir.path());
    global.screenshotCount = 7;
    frameHooks.present = [this] {
        ++frames;
        // Held from the start through the first second: used up, never counted.
        key[KEY_SPACE] = frames < 40;
        if (frames == 45) key[KEY_A] = 1;
    };
    frameHooks.idle = [] { ++timerCounter; };
    congrats(-1234);
    EXPECT_EQ(frames, 45);
    EXPECT_EQ(global.screenshotCount, 8);
    BITMAP* shot = load_bitmap(dir.file("screenshots/screenshot00007.bmp").c_str(), nullptr);
    ASSERT_NE(shot, nullptr);
    EXPECT_TRUE(anyPixel(shot, makecol(255, 255, 255)));
    destroy_bitmap(shot);
}

TEST_F(LevelScreenTest, CongratsScoreLineUsesPlainDecimal) {
    TempDir dir;  // no screenshots folder: the screen works all the same
    ScopedChdir cd(dir.path());
    frameHooks.present = [this] { key[KEY_A] = ++frames > 32; };
    frameHooks.idle = [] { ++timerCounter; };
    congrats(2147483647);
    EXPECT_EQ(global.screenshotCount, 1);

    BITMAP* expect = create_bitmap(800, 600);
    clear_bitmap(expect);
    textout_centre_ex(expect, font, "Your final score: 2147483647", 400, 300 + 2 * 8 + 10, makecol(255, 255, 255), 0);
    int diff = 0;
    for (int y = 326; y < 334; ++y)
        for (int x = 250; x < 550; ++x) diff += getpixel(expect, x, y) != getpixel(global.buffer, x, y);
    EXPECT_EQ(diff, 0);
    destroy_bitmap(expect);
}
