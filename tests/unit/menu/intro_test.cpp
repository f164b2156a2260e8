// The intro's timeline stepped tick by tick, its frame, and its datafile checks.
#include <string>
#include <vector>

#include "core/constants.h"
#include "input/keyStates.h"
#include "menu/frame.h"
#include "menu/intro.h"
#include "menu/menu_fixture.h"
#include "menu/menues.h"

using namespace menu;

namespace {
std::string be(unsigned v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
std::string object(const char* type, const std::string& data) {
    return std::string(type, 4) + be(data.size(), 4) + be(data.size(), 4) + data;
}
std::string bitmapObject(int w, int h, int r, int g, int b) {
    std::string d = be(32, 2) + be(w, 2) + be(h, 2);
    for (int i = 0; i < w * h; ++i) d += std::string{static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
    return d;
}
std::string sampleObject() {
    std::string d = be(8, 2) + be(11025, 2) + be(64, 4);
    for (int i = 0; i < 64; ++i) d += static_cast<char>(i * 4);
    return d;
}
// An uncompressed datafile of the given objects.
std::string datafile(const std::vector<std::string>& objects) {
    std::string f = "slh.ALL." + be(objects.size(), 4);
    for (const std::string& o : objects) f += o;
    return f;
}
std::string goodIntro() {
    return datafile({object("BMP ", bitmapObject(800, 600, 20, 40, 60)), object("BMP ", bitmapObject(64, 32, 250, 10, 10)),
                     object("SAMP", sampleObject()), object("BMP ", bitmapObject(40, 30, 10, 250, 10))});
}

class IntroTest : public MenuTest {
protected:
    IntroState make(int w = 128, int h = 64) {
        return makeIntro(w, h, [this](int volume) {
            soundTicks.push_back(ticks);
            volumes.push_back(volume);
        });
    }
    void tick(IntroState& s) {
        ++ticks;
        introTick(s);
    }
    void runTo(IntroState& s, int t) {
        while (ticks < t) tick(s);
    }
    int ticks = 0;
    std::vector<int> soundTicks;
    std::vector<int> volumes;
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
    EXPECT_EQ(s.countdown, 48);
    runTo(s, 95);
    EXPECT_EQ(s.credit, "A");
    runTo(s, 96);
    EXPECT_EQ(s.credit, "A Quenmoor");
    runTo(s, 112);
    EXPECT_EQ(s.credit, "A Quenmoor game");
    runTo(s, 126);
    EXPECT_EQ(s.brightness, 0);
    EXPECT_NE(s.countdown, -15);
    runTo(s, 127);
    EXPECT_EQ(s.countdown, -15) << "final picture at tick 127";
    EXPECT_EQ(s.brightness, 3);
    runTo(s, 211);
    EXPECT_EQ(s.brightness, 255);
    runTo(s, 400);
    EXPECT_EQ(s.countdown, -15);
    EXPECT_EQ(s.brightness, 255);
    EXPECT_EQ(s.logoW, 100);
    EXPECT_EQ(soundTicks, (std::vector<int>{64, 80, 96, 112}));
    EXPECT_EQ(volumes, (std::vector<int>{77, 77, 77, 77}));
    EXPECT_TRUE(s.running) << "it never ends by itself";
}

TEST_F(IntroTest, FirstStartIgnoresKeysUntilTheAddressIsBright) {
    global.firstStart = true;
    IntroState s = make();
    key[KEY_SPACE] = 1;
    runTo(s, 5);
    EXPECT_TRUE(s.running);
    runTo(s, 210);  // held all along: it was used up long ago
    EXPECT_EQ(s.brightness, 252);
    tick(s);
    EXPECT_TRUE(s.running) << "a key held since the animation does not end it";
    key[KEY_SPACE] = 0;
    tick(s);
    key[KEY_ENTER] = 1;
    tick(s);
    EXPECT_FALSE(s.running) << "a fresh press once the brightness is past 249 does";
}

TEST_F(IntroTest, FirstStartPressJustBeforeTheThresholdIsUsedUp) {
    global.firstStart = true;
    IntroState s = make();
    runTo(s, 209);
    key[KEY_SPACE] = 1;
    tick(s);  // tick 210 still sees 249
    EXPECT_TRUE(s.running);
    runTo(s, 230);
    EXPECT_TRUE(s.running);
}

TEST_F(IntroTest, LaterStartEndsOnTheFirstPress) {
    IntroState s = make();
    key[KEY_ESC] = 1;
    tick(s);
    EXPECT_FALSE(s.running);
}

TEST_F(IntroTest, CatchUpTakesAtMostTheFrameSkipLimit) {
    IntroState s = make();
    global.maxFrameSkip = 4;
    timerCounter = 32;  // a one-second stall
    EXPECT_EQ(introCatchUp(s), 4);
    EXPECT_EQ(s.countdown, 108);
    EXPECT_EQ(timerCounter.load(), 0) << "the rest is dropped";

    timerCounter = 3;
    EXPECT_EQ(introCatchUp(s), 3);
    EXPECT_EQ(timerCounter.load(), 0);

    global.maxFrameSkip = 0;
    timerCounter = 10;
    EXPECT_EQ(introCatchUp(s), 1) << "never fewer than one";
    global.maxFrameSkip = -5;
    timerCounter = 10;
    EXPECT_EQ(introCatchUp(s), 1);
    EXPECT_EQ(introCatchUp(s), 0);
}

TEST_F(IntroTest, FrameShowsCreditFromItsFinalPlaceAndTheCornerPictures) {
    BITMAP* bg = solidBitmap(800, 600, makecol(20, 40, 60));
    BITMAP* logo = solidBitmap(64, 32, makecol(250, 10, 10));
    BITMAP* emblem = solidBitmap(40, 30, makecol(10, 250, 10));
    IntroPictures p{bg, logo, emblem};
    IntroState s = make(64, 32);

    drawIntro(s, p, global.buffer, 800, 600);
    EXPECT_EQ(pixel(400, 300), makecol(20, 40, 60)) << "no logo while its size is zero";

    runTo(s, 32);
    drawIntro(s, p, global.buffer, 800, 600);
    EXPECT_EQ(pixel(400, 300), makecol(250, 10, 10)) << "half-grown logo at the centre";
    EXPECT_EQ(pixel(400 - 17, 300), makecol(20, 40, 60));

    runTo(s, 80);
    drawIntro(s, p, global.buffer, 800, 600);
    // "A" stands where the left end of the whole credit will be, not centred on its own.
    int creditX = (800 - text_length(font, "A Quenmoor game")) / 2;
    int creditY = 600 - 8 - 140;
    int leftmost = 800;
    for (int y = creditY; y < creditY + 8; ++y)
        for (int x = 0; x < 800; ++x)
            if (pixel(x, y) == makecol(255, 255, 255) && x < leftmost) leftmost = x;
    EXPECT_GE(leftmost, creditX);
    EXPECT_LT(leftmost, creditX + 8);
    EXPECT_EQ(pixel(5, 600 - 5), makecol(20, 40, 60)) << "no emblem before the final picture";

    runTo(s, 127);
    drawIntro(s, p, global.buffer, 800, 600);
    EXPECT_EQ(pixel(3, 600 - 30 - 3), makecol(10, 250, 10)) << "emblem in the bottom-left corner";
    EXPECT_EQ(pixel(42, 600 - 4), makecol(10, 250, 10));
    EXPECT_EQ(pixel(43, 600 - 4), makecol(20, 40, 60));
    bool address = false;
    for (int y = creditY + 8 + 7; y < creditY + 16 + 7; ++y)
        for (int x = 0; x < 800; ++x) address = address || pixel(x, y) == makecol(3, 3, 3);
    EXPECT_TRUE(address) << "the web address at brightness 3";

    destroy_bitmap(bg);
    destroy_bitmap(logo);
    destroy_bitmap(emblem);
}


TEST(IntroDeath, MissingOrDamagedDatafileIsError007) {
    TempDir dir;
    ScopedChdir cd(dir.path());
    EXPECT_EXIT(menu::intro(), ::testing::ExitedWithCode(1), "Error007: Loading datafile \"data/intro.dat\" failed");
    mkdir("data", 0755);
    writeFile("data/intro.dat", "slh!ALL.garbage");
    EXPECT_EXIT(menu::intro(), ::testing::ExitedWithCode(1), "Error007: Loading datafile \"data/intro.dat\" failed");
    // Loads as a datafile, but the objects are not what the intro needs.
    writeFile("data/intro.dat", datafile({object("DATA", "x"), object("DATA", "y"), object("DATA", "z"),
                                          object("DATA", "w")}));
    EXPECT_EXIT(menu::intro(), ::testing::ExitedWithCode(1), "Error007: Loading datafile \"data/intro.dat\" failed");
    writeFile("data/intro.dat", datafile({object("BMP ", bitmapObject(4, 4, 1, 2, 3)), object("BMP ", bitmapObject(4, 4, 1, 2, 3))}));
    EXPECT_EXIT(menu::intro(), ::testing::ExitedWithCode(1), "Error007: Loading datafile \"data/intro.dat\" failed");
}

TEST_F(IntroTest, RunsWholeUntilAKeyEndsIt) {
    TempDir dir;
    ScopedChdir cd(dir.path());
    mkdir("data", 0755);
    writeFile("data/intro.dat", goodIntro());
    global.firstStart = true;
    global.maxFrameSkip = 4;
    int frames = 0;
    menu::frameHooks.present = [&] {
        ++frames;
        key[KEY_SPACE] = frames == 30 || frames >= 215;  // too early once, then late enough
    };
    menu::frameHooks.idle = [&] { timerCounter += 2; };
    menu::intro();
    EXPECT_GE(frames, 211);
    EXPECT_LT(frames, 220);
    EXPECT_EQ(pixel(3, 600 - 30 - 3), makecol(10, 250, 10)) << "the final picture was on screen";
}
