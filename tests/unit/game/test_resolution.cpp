// The game resolution file, the mode fallback and the frame clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "game/frameClock.h"
#include "game/resolution.h"

TEST(Resolution, TwoSaneIntegersOrEightHundredBySixHundred) {
    struct Case {
        const char* text;
        int w, h;
    } cases[] = {
        {"640 480", 640, 480},      {"  1024\n768\n", 1024, 768}, {"320 200", 320, 200},
        {"7680 4320 trailing words", 7680, 4320},
        // Anything else is the default.
        {"", 800, 600},             {"640", 800, 600},            {"abc def", 800, 600},
        {"0 0", 800, 600},          {"-640 480", 800, 600},       {"319 200", 800, 600},
        {"320 199", 800, 600},      {"7681 4320", 800, 600},      {"640 4321", 800, 600},
        {"640x480", 800, 600},      {"99999999999999999999 480", 800, 600},
    };
    for (const Case& c : cases) {
        Resolution r = parseResolution(c.text);
        EXPECT_EQ(r.width, c.w) << c.text;
        EXPECT_EQ(r.height, c.h) << c.text;
    }
}

TEST(Resolution, FileMissingOrUnreadableGivesTheDefault) {
    TempDir dir;
    Resolution r = readResolution(dir.file("resolution.txt"));
    EXPECT_EQ(r.width, 800);
    EXPECT_EQ(r.height, 600);
    writeFile(dir.file("resolution.txt"), "1280 720\n");
    r = readResolution(dir.file("resolution.txt"));
    EXPECT_EQ(r.width, 1280);
    EXPECT_EQ(r.height, 720);
    r = readResolution(dir.path());  // a folder
    EXPECT_EQ(r.width, 800);
    writeFile(dir.file("big.txt"), std::string(1 << 20, ' ') + "640 480");
    r = readResolution(dir.file("big.txt"));
    EXPECT_EQ(r.width, 800);
}

namespace {
std::vector<std::string> attempts;
std::vector<std::string> accepted;
int fakeSetGfx(int card, int w, int h) {
    std::string mode = std::to_string(card) + ":" + std::to_string(w) + "x" + std::to_string(h);
    attempts.push_back(mode);
    for (const std::string& a : accepted)
        if (a == mode) return 0;
    return -1;
}
}  // namespace

TEST(Resolution, RefusedModesFallBackToEightHundredThenTheOtherWindowMode) {
    Resolution r;
    r.width = 1920;
    r.height = 1080;
    const struct {
        int driver;
        std::vector<std::string> accept, tried;
        int result;  // 0: nothing works, the caller ends with Error004
    } cases[] = {
        {1, {"1:1920x1080"}, {"1:1920x1080"}, 1},
        {2, {"2:800x600"}, {"2:1920x1080", "2:800x600"}, 2},
        {1, {"2:800x600"}, {"1:1920x1080", "1:800x600", "2:800x600"}, 2},
        {1, {}, {"1:1920x1080", "1:800x600", "2:800x600"}, 0},
    };
    for (const auto& c : cases) {
        attempts.clear();
        accepted = c.accept;
        EXPECT_EQ(enterMode(c.driver, r, fakeSetGfx), c.result)
            << "driver " << c.driver << " accepting " << (c.accept.empty() ? "nothing" : c.accept[0]);
        EXPECT_EQ(attempts, c.tried);
    }
}

namespace {
double fakeNow = 0.0;
double fakeClock() { return fakeNow; }
}  // namespace

TEST(FrameClockTest, MeasuresFromTheLastRestartAndCapsAtOneSecond) {
    fakeNow = 1000.0;  // long after program start
    FrameClock clock(fakeClock);
    clock.restart();
    fakeNow += 0.025;
    EXPECT_NEAR(clock.lap(), 0.025f, 1e-6);
    fakeNow += 0.5;
    EXPECT_NEAR(clock.lap(), 0.5f, 1e-6);
    fakeNow += 7.0;
    EXPECT_EQ(clock.lap(), 1.0f);
    EXPECT_EQ(clock.lap(), 0.0f) << "no time passed";
    fakeNow -= 3.0;  // a clock that went backwards gives no negative time
    EXPECT_EQ(clock.lap(), 0.0f);
    fakeNow += 60.0;
    clock.restart();  // e.g. after the quit question
    fakeNow += 0.01;
    EXPECT_NEAR(clock.lap(), 0.01f, 1e-6);
}

