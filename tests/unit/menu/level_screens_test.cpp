// The level message and the final screen, counted tick by tick through the frame hooks.
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
        frames = delivered = 0;
        frameHooks.present = [this] { ++frames; };
        frameHooks.idle = [this, burst] {
            timerCounter += burst;
            delivered += burst;
        };
    }
    // Pixels around the line at y that differ from the text drawn there on its own.
    int differsFromText(const char* text, int y) {
        BITMAP* expect = create_bitmap(800, 600);
        clear_bitmap(expect);
        textout_centre_ex(expect, font, text, 400, y, makecol(255, 255, 255), 0);
        int diff = 0;
        for (int yy = y - 4; yy < y + 12; ++yy)
            for (int x = 200; x < 600; ++x) diff += getpixel(expect, x, yy) != pixel(x, yy);
        destroy_bitmap(expect);
        return diff;
    }
};
}  // namespace

TEST_F(LevelScreenTest, NewLevelShowsExactlyTheGivenNumberOfTicksAndUsesUpAPress) {
    ticksInBursts(1);
    timerCounter = 50;  // stale ticks from before do not shorten it
    key[KEY_SPACE] = 1;
    newLevel("Loading next level...", 32);
    EXPECT_EQ(frames, 32);
    EXPECT_EQ(timerCounter.load(), 0);
    EXPECT_FALSE(keyStates.anyKey()) << "the press was taken by the screen";

    ticksInBursts(5);
    newLevel("You died. Restarting level...", 32);
    EXPECT_EQ(frames, 32) << "never longer, however many ticks come at once";
    EXPECT_EQ(delivered - timerCounter.load(), 32) << "the ticks past the end are left to the caller";

    frames = 0;
    clear_bitmap(global.buffer);
    newLevel("100% done", 0);
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(differsFromText("100% done", 300), 0) << "the percent sign is printed, not taken as a directive";
}

// Leaving the screen after its lock and the saved picture are also in the real-window campaign.
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
    congrats(2147483647);
    EXPECT_EQ(frames, 45);
    EXPECT_EQ(global.screenshotCount, 8);
    EXPECT_EQ(differsFromText("Your final score: 2147483647", 300 + 2 * 8 + 10), 0);
    BITMAP* shot = load_bitmap(dir.file("screenshots/screenshot00007.bmp").c_str(), nullptr);
    ASSERT_NE(shot, nullptr);
    destroy_bitmap(shot);
}

TEST_F(LevelScreenTest, CongratsWithoutAScreenshotFolderStillEnds) {
    TempDir dir;
    ScopedChdir cd(dir.path());
    frameHooks.present = [this] { key[KEY_A] = ++frames > 32; };
    frameHooks.idle = [] { ++timerCounter; };
    congrats(-1234);
    EXPECT_EQ(global.screenshotCount, 1);
    EXPECT_EQ(differsFromText("Your final score: -1234", 300 + 2 * 8 + 10), 0);
}
