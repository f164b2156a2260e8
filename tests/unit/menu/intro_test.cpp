// The intro's timeline stepped tick by tick, its frame, and its datafile checks.
#include <string>
#include <utility>
#include <vector>

#include "core/constants.h"
#include "input/keyStates.h"
#include "menu/intro.h"
#include "menu/menu_fixture.h"
#include "menu/menues.h"

using namespace menu;

namespace {
class IntroTest : public MenuTest {
protected:
    IntroState make(int w = 128, int h = 64) {
        return makeIntro(w, h, [this](int volume) { sounds.push_back({ticks, volume}); });
    }
    void runTo(IntroState& s, int t) {
        while (ticks < t) {
            ++ticks;
            introTick(s);
        }
    }
    int ticks = 0;
    std::vector<std::pair<int, int>> sounds;  // tick, volume
};
}  // namespace

TEST_F(IntroTest, TimelineOfLogoCreditSoundsAndFinalPicture) {
    global.sfxVolume = 77;
    IntroState s = make(100, 37);
    runTo(s, 63);
    EXPECT_LT(s.logoW, 100);
    runTo(s, 64);
    EXPECT_EQ(s.logoW, 100) << "full size at tick 64";
    EXPECT_EQ(s.logoH, 37);
    runTo(s, 95);
    EXPECT_EQ(s.credit, "A");
    runTo(s, 96);
    EXPECT_EQ(s.credit, "A Quenmoor");
    runTo(s, 112);
    EXPECT_EQ(s.credit, "A Quenmoor game");
    runTo(s, 126);
    EXPECT_EQ(s.brightness, 0);
    runTo(s, 127);
    EXPECT_EQ(s.countdown, -15) << "final picture at tick 127";
    EXPECT_EQ(s.brightness, 3);
    runTo(s, 400);
    EXPECT_EQ(s.countdown, -15);
    EXPECT_EQ(s.brightness, 255);
    EXPECT_EQ(sounds, (std::vector<std::pair<int, int>>{{64, 77}, {80, 77}, {96, 77}, {112, 77}}));
    EXPECT_TRUE(s.running) << "it never ends by itself";
}

// Leaving early on a first start and at once on a later one is driven through the real window.
TEST_F(IntroTest, FirstStartUsesUpAPressJustBeforeTheAddressIsBright) {
    global.firstStart = true;
    IntroState s = make();
    runTo(s, 209);
    key[KEY_SPACE] = 1;
    runTo(s, 230);  // tick 210 still sees 249
    EXPECT_TRUE(s.running);
}

TEST_F(IntroTest, CatchUpTakesAtMostTheFrameSkipLimit) {
    IntroState s = make();
    global.maxFrameSkip = 4;
    timerCounter = 32;  // a one-second stall
    EXPECT_EQ(introCatchUp(s), 4);
    EXPECT_EQ(s.countdown, 108);
    EXPECT_EQ(timerCounter.load(), 0) << "the rest is dropped";
    for (int limit : {0, -5}) {
        global.maxFrameSkip = limit;
        timerCounter = 10;
        EXPECT_EQ(introCatchUp(s), 1) << "never fewer than one, limit " << limit;
    }
    EXPECT_EQ(introCatchUp(s), 0);
}

TEST_F(IntroTest, FrameShowsCreditFromItsFinalPlaceAndTheEmblemAtTheEnd) {
    const int bgColor = makecol(20, 40, 60), emblemColor = makecol(10, 250, 10);
    BITMAP* bg = solidBitmap(800, 600, bgColor);
    BITMAP* logo = solidBitmap(64, 32, makecol(250, 10, 10));
    BITMAP* emblem = solidBitmap(40, 30, emblemColor);
    IntroPictures p{bg, logo, emblem};
    IntroState s = make(64, 32);
    runTo(s, 80);
    drawIntro(s, p, global.buffer, 800, 600);
    // "A" stands where the left end of the whole credit will be, not centred on its own.
    int creditX = (800 - text_length(font, "A Quenmoor game")) / 2, creditY = 600 - 8 - 140;
    int leftmost = 800;
    for (int y = creditY; y < creditY + 8; ++y)
        for (int x = 0; x < leftmost; ++x)
            if (pixel(x, y) == makecol(255, 255, 255)) leftmost = x;
    EXPECT_GE(leftmost, creditX);
    EXPECT_LT(leftmost, creditX + 8);
    EXPECT_EQ(pixel(5, 600 - 5), bgColor) << "no emblem before the final picture";

    runTo(s, 127);
    drawIntro(s, p, global.buffer, 800, 600);
    EXPECT_EQ(pixel(3, 600 - 30 - 3), emblemColor) << "emblem in the bottom-left corner";
    EXPECT_GT(countColor(global.buffer, creditY + 15, creditY + 23, makecol(3, 3, 3)), 0)
        << "the web address at brightness 3";
    destroy_bitmap(bg);
    destroy_bitmap(logo);
    destroy_bitmap(emblem);
}

TEST(IntroDeath, MissingOrDamagedDatafileIsError007) {
    const std::string fonts = readFile("data/data.dat");
    TempDir dir;
    ScopedChdir cd(dir.path());
    const char* error = "Error007: Loading datafile \"data/intro.dat\" failed";
    EXPECT_EXIT(menu::intro(), ::testing::ExitedWithCode(1), error);
    mkdir("data", 0755);
    // A wrong magic number, a datafile of no objects at all, and one of the wrong objects.
    for (const std::string& bytes : {std::string("slh!ALL.garbage"), std::string("slh.ALL.\0\0\0\0", 12), fonts}) {
        writeFile("data/intro.dat", bytes);
        EXPECT_EXIT(menu::intro(), ::testing::ExitedWithCode(1), error);
    }
}
