// The screens that count timer ticks: the intro, the level message and the final screen.
#include <filesystem>

#include "core/ElementaryFunctions.h"
#include "menu/intro.h"
#include "menu/menu_fixture.h"
#include "menu/menues.h"
#include "test_support.h"

// Ticks until t; Space is down from `from` to `to` and again at `again`. The tick that ended it, or 0.
static int runTo(menu::IntroState& s, int& tick, int t, int from = 0, int to = -1, int again = 0) {
    for (platform::Input in; tick < t && s.running; menu::introTick(s, in))
        in.held[KEY_SPACE] = (from <= ++tick && tick <= to) || tick == again, platform::use(in);
    return s.running ? 0 : tick;
}

TEST_F(MenuTest, IntroLevelMessageAndFinalScreenCountTheirTicks) {
    std::vector<std::pair<int, int>> sounds;  // tick, volume
    int tick = (global.sfxVolume = 77, global.musicVolume = 99, 0);
    menu::IntroState s = menu::makeIntro(100, 37, [&](int volume) { sounds.push_back({tick, volume}); });
    BITMAP* dot = create_bitmap(1, 1);  // the emblem
    const std::string all = "A Quenmoor game";
    const struct { int t, w, h; std::string credit; int countdown, b; } points[] = {
        {63, 98, 36, "A", 49, 0}, {64, 100, 37, "A", 48, 0}, {79, 100, 37, "A", 33, 0}, {95, 100, 37, "A", 17, 0},
        {96, 100, 37, "A Quenmoor", 16, 0}, {112, 100, 37, all, 0, 0}, {126, 100, 37, all, -14, 0},
        {127, 100, 37, all, -15, 3}, {210, 100, 37, all, -15, 252}, {400, 100, 37, all, -15, 255}};
    for (const auto& p : points) {
        EXPECT_EQ(runTo(s, tick, p.t), 0) << "it never ends by itself";
        EXPECT_EQ(std::make_tuple(int(s.logoW), int(s.logoH), s.credit, s.countdown, s.brightness),
                  std::make_tuple(p.w, p.h, p.credit, p.countdown, p.b)) << p.t;
        menu::drawIntro(s, {global.menuBackground, global.menuBackground, dot}, global.buffer, 800, 600);
        EXPECT_EQ(textAt(p.credit, 340, 452, makecol(255, 255, 255), 1), p.t > 79) << p.t;
        EXPECT_EQ(textAt("www.quenmoor.example", 400, 467, makecol(p.b, p.b, p.b)), p.t >= 127);
    }
    destroy_bitmap(dot);
    EXPECT_EQ(sounds, (std::vector<std::pair<int, int>>{{64, 77}, {80, 77}, {96, 77}, {112, 77}}));
    // A first start uses up presses until the address is brighter than 249 (after tick 210).
    for (auto [first, from, to, again, endsAt] :
         {std::tuple{0, 1, 400, 0, 1}, {1, 1, 400, 0, 0}, {1, 210, 400, 0, 0}, {1, 100, 100, 211, 211}}) {
        menu::IntroState t = menu::makeIntro(100, 37, nullptr);
        global.firstStart = first, tick = 0;
        EXPECT_EQ(runTo(t, tick, 400, from, to, again), endsAt) << from;
    }
    // Run whole: a stall is caught up by at most maxFrameSkip ticks, and F9 takes a picture, not the end.
    TempDir dir;
    ScopedChdir cd(dir.path());
    std::filesystem::create_directory_symlink(BRAWNWICK_SOURCE_DIR "/data", "data"), mkdir("screenshots", 0755);
    std::vector<int> heard;  // the frames shown before each sound, plus its volume
    platform::backend().playSample = [&](SAMPLE*, int vol, int, int, bool) { heard.push_back(fake.frames + vol); };
    global.maxFrameSkip = 4, global.sfxVolume = 0, global.firstStart = false;
    fake.then([&] { fake.ticks += 31; });  // one second: the animation moves by 4 ticks
    fake.idleFrames(9), fake.tap(KEY_F9), fake.idleFrames(110), fake.tap(KEY_SPACE), menu::intro();
    EXPECT_EQ(std::make_tuple(heard, fake.frames), std::make_tuple(std::vector<int>{61, 77, 93, 109}, 124));
    EXPECT_TRUE(fileExists("screenshots/screenshot00000.bmp"));
    // The level message shows exactly its ticks; the final screen ignores keys for a second.
    fake.frames = 0, fake.releaseAll(), fake.ticks = 50, fake.hold(KEY_SPACE);  // the 50 do not shorten it
    for (int i = 0; i < 32; ++i) fake.then([&] { fake.ticks += 4; });  // five ticks a frame
    menu::newLevel("Loading next level...", 32);
    EXPECT_EQ(std::make_tuple(fake.frames, fake.ticks, keyStates.anyKey()), std::make_tuple(32, 129, false));
    EXPECT_TRUE(textAt("Loading next level...", 400, 300, makecol(255, 255, 255), 0, fake.lastFrame));
    clear_bitmap(global.buffer), menu::newLevel("100% done", 0);
    EXPECT_TRUE(fake.frames == 32 && textAt("100% done", 400, 300, makecol(255, 255, 255)));
    global.screenshotCount = 7, fake.frames = 0, clear_bitmap(global.buffer);
    fake.releaseAll(), fake.hold(KEY_D);  // held through the first second: never counted
    fake.idleFrames(19), fake.tap(KEY_SPACE), fake.idleFrames(20);  // pressed in the first second: used up
    fake.then([&] { fake.release(KEY_D); }), fake.idleFrames(4), fake.then([&] { fake.hold(KEY_A); });
    menu::congrats(-2147483647 - 1);
    EXPECT_TRUE(fake.frames == 47 && global.screenshotCount == 8 && fileExists("screenshots/screenshot00007.bmp"));
    const char* lines[] = {"You mastered all levels!", "You receive 50 extra points!", "Your final score: -2147483648"};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(textAt(lines[i], 400, 300 + 13 * i, makecol(255, 255, 255))) << i;
}
