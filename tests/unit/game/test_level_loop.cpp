// One attempt at a level stepped by hand: keys, ticks and clock of every step are values.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "common/test_support.h"
#include "fake_platform.h"
#include "game/levelLoop.h"
#include "game/play_fixture.h"
#include "level/levelfile.h"

using Sprites = std::vector<levelfile::Sprite>;  // x, y, health, type

struct LevelLoop : ::testing::Test {
    // A grey corridor 8 x 3, the player at its east end (6.5, 1.5) looking west.
    void writeLevel(int n, const Sprites& sprites) {
        levelfile::Level l;
        l.texturePaths.assign(5, "t.bmp"), l.width = 8, l.height = 3, l.startX = 6.5f, l.startY = 1.5f;
        l.walls.assign(24, 3), l.floors.assign(24, 4), l.ceilings.assign(24, 4), l.sprites = sprites;
        for (int x = 1; x < 7; ++x) l.walls[8 + x] = levelfile::EMPTY_CELL;
        std::filesystem::create_directory("maps");
        writeFile(levelPath(n), levelfile::write(l));
    }
    LevelRun& start(const Sprites& sprites, int n = 0, int points = 0, int impact = 0, int buzzsaw = 0) {
        LevelState counters;
        counters.points = points, counters.impactBullets = impact, counters.buzzsawBullets = buzzsaw;
        BITMAP* b = create_bitmap(16, 16);
        clear_to_color(b, makecol(90, 90, 90)), save_bitmap("t.bmp", b, nullptr), destroy_bitmap(b);
        writeLevel(n, sprites);
        engine.reset(new Kelda_engine());
        EXPECT_EQ(loadLevel(*engine, levelPath(n)).kind, LevelLoad::ok);
        run.reset(new LevelRun(*engine, n, stage.depth.data(), stage.columns.data(), counters));
        return *run;
    }
    // One frame as the loop makes it: drawn (unless told not to), then stepped `seconds` after the last.
    bool step(std::vector<int> keys = {}, int ticks = 0, double seconds = 0.0, bool draw = true) {
        if (draw) run->draw();
        fake.releaseAll();
        for (int k : keys) fake.hold(k);
        fake.ticks = ticks, fake.now += seconds;
        return run->step(platform::poll());
    }
    Kelda_sprite& sprite(int i) { return engine->getSpriteList()[i]; }

    TempDir dir;
    ScopedChdir cd{dir.path()};
    FakePlatform fake{64, 48};
    PlayStage stage{64, 48};
    std::unique_ptr<Kelda_engine> engine;
    std::unique_ptr<LevelRun> run;
};

// Files 0, 1 and 3 (2 is a folder): only level n + 1's file makes a level not the last. Contacts
// count in their frame and the level ends the frame after, unless they took the last health.
TEST_F(LevelLoop, HowALevelEnds) {
    writeLevel(1, {}), writeLevel(3, {});
    std::filesystem::create_directories("maps/2.map");
    const int cases[][7] = {  // level, scenery, touching monsters, invulnerable; health, result, points
        {0, 1, 0, 0, 5, LEVEL_WON, 7}, {1, 0, 0, 0, 5, LEVEL_LAST_WON, 57}, {1, 0, 1, 0, 4, LEVEL_LAST_WON, 57},
        {1, 0, 5, 0, 0, LEVEL_DIED, 7}, {1, 0, 7, 0, -2, LEVEL_DIED, 7},   {1, 0, 6, 1, 5, LEVEL_LAST_WON, 57},
    };
    for (const auto& c : cases) {
        global.invulnerable = c[3];
        Sprites sprites(c[2], levelfile::Sprite{6.3f, 1.5f, 1, 1});
        if (c[1]) sprites.push_back({3.5f, 1.5f, 0, 0});
        LevelRun& r = start(sprites, c[0], 7);
        const bool goesOn = c[2] > 0 && c[4] > 0;
        EXPECT_EQ(step(goesOn ? std::vector<int>{} : std::vector<int>{KEY_ESC}), goesOn);
        EXPECT_FALSE(goesOn && step({KEY_ESC}));
        EXPECT_EQ(std::vector<int>({r.state.health, r.finish(), r.state.points, global.invulnerable}),
                  std::vector<int>({c[4], c[5], c[6], c[3]}))  // invulnerability outlives the level
            << "level " << c[0] << ", " << c[2] << " monsters touching";
    }
    EXPECT_TRUE(fake.questions.empty()) << "Esc asks nothing once the level is over";
}

TEST_F(LevelLoop, FrameTimeMovesThePlayerThenTheMonsters) {
    global.speedFactor = 0.3f;  // the monsters' speed in double: 3.4f * 0.3f would be 1.0200001
    EXPECT_EQ(std::vector<float>({moveSpeed(), turnSpeed(), enemyMoveSpeed()}),
              std::vector<float>({0.90000004f, 0.6f, 1.02f}));
    fake.ticks = 40;
    LevelRun& r = start({{5.25f, 1.5f, 1, 1}, {2.5f, 1.5f, 1, 1}});
    EXPECT_EQ(fake.ticks, 0) << "ticks that piled up while loading are dropped";
    EXPECT_TRUE(step({KEY_W}, 0, 0.25, false));  // nothing seen yet: no monster moves
    EXPECT_EQ(std::vector<float>({global.speedFactor, engine->posX}), std::vector<float>({0.25f, 5.75f}))
        << "timed from set-up, not program start";
    EXPECT_EQ(std::vector<int>({r.state.health, sprite(0).health, r.state.points}), std::vector<int>({4, 0, 0}))
        << "touched where the step took the player; contact pays nothing";
    EXPECT_EQ(sprite(1).x, 2.5f);
    EXPECT_TRUE(step({KEY_LEFT}, 0, 0.25));
    EXPECT_NEAR(engine->dirY, -std::sin(0.5), 1e-6);
    EXPECT_FLOAT_EQ(sprite(1).x, 2.5f + 0.85f) << "seen now: it chases";
    for (double seconds : {-3.0, 0.0, 7.0})  // a clock that stands still or went back gives no time
        EXPECT_TRUE(step({}, 0, seconds) && global.speedFactor == std::fmin(1.0, std::fmax(0.0, seconds))) << seconds;
    const int red = makecol(255, 0, 0), unit = (64 - 20) / 5;  // the display is drawn over the view
    EXPECT_TRUE(getpixel(global.buffer, 10 + 4 * unit, 20) == red && getpixel(global.buffer, 11 + 4 * unit, 20) != red);
    for (int x = 0; x < 64; ++x) ASSERT_EQ(getpixel(global.buffer, x, 25), stage.columns[x][25]) << x;
}

// Weapon keys, then the fire start, then the ticks, then the control keys, all in one step; Esc asks once a press.
TEST_F(LevelLoop, OneStepChoosesFiresTicksThenReadsTheControlKeys) {
    LevelRun& r = start({{2.5f, 1.5f, 1, 2}, {1.5f, 1.5f, 1, 0}}, 0, 0, 1, 5);
    EXPECT_EQ(r.state.weapon, WEAPON_BUZZSAW);
    EXPECT_TRUE(step({KEY_2, KEY_SPACE, KEY_F11, KEY_F10, KEY_F12}, 6));
    const LevelState& t = r.state;  // the cannon shot its last bullet and gave way before the 100 came
    EXPECT_EQ(std::vector<int>({sprite(0).health, t.points, t.impactBullets, t.buzzsawBullets, t.weapon}),
              std::vector<int>({0, 4, 100, 105, WEAPON_BUZZSAW}));
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(step({KEY_F11, KEY_F10, KEY_F12}));
    EXPECT_TRUE(r.state.impactBullets == 100 && r.state.showFps && global.invulnerable) << "once per press";
    EXPECT_TRUE(step() && step({KEY_F12, KEY_F10}));
    EXPECT_FALSE(r.state.showFps || global.invulnerable);
    fake.answers = {2, 1};
    auto ask = platform::backend().ask;
    platform::backend().ask = [&, ask](const std::string& a, const std::string& b, const std::string& c,
                                       const std::string& d) { return fake.now += 100.0, ask(a, b, c, d); };
    r.state.messageTimer = 32;
    EXPECT_TRUE(step() && step({KEY_ESC, KEY_F10}, 0, 0.02));
    EXPECT_TRUE(r.state.showFps) << "F10 pressed with Esc still counts after \"Oh no!\"";
    EXPECT_TRUE(step({KEY_ESC}, 40, 0.02));  // the question was open 100 s: no frame time, its ticks worked off
    EXPECT_FLOAT_EQ(global.speedFactor, 0.02f);
    EXPECT_EQ(r.state.messageTimer, 0);
    EXPECT_EQ(fake.questions.size(), 1u) << "Esc still held after \"Oh no!\"";
    EXPECT_TRUE(step());
    EXPECT_FALSE(step({KEY_ESC, KEY_ENTER}));
    EXPECT_EQ(r.finish(), LEVEL_QUIT);
    EXPECT_FALSE(keyStates[KEY_ENTER]) << "the Enter that chose \"Yes\" must not reach the main menu";
}
