// The level loop run frame by frame on real level files, with scripted keys, ticks and clock.
#include <gtest/gtest.h>

#include <allegro.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "core/constants.h"
#include "game/game.h"
#include "game/levelLoop.h"
#include "game/play_fixture.h"
#include "input/keyStates.h"
#include "settings/global.h"

namespace {
const unsigned short EMPTY = 0xFFFF;
const int VIEW_W = 64;
const int VIEW_H = 48;

struct LevelSprite {
    float x, y;
    int health;
    int type;
};

// A level file in the game's binary format: texture 0..2 monster pictures, 3 wall, 4 floor.
std::string levelBytes(int w, int h, const std::vector<unsigned short>& walls, float sx, float sy,
                       const std::vector<LevelSprite>& sprites) {
    std::string b;
    auto u8 = [&](unsigned v) { b.push_back(static_cast<char>(v & 0xFF)); };
    auto u16 = [&](unsigned v) { u8(v); u8(v >> 8); };
    auto i32 = [&](int v) { for (int i = 0; i < 4; ++i) u8(static_cast<unsigned>(v) >> (8 * i)); };
    auto f32 = [&](float f) { unsigned u; std::memcpy(&u, &f, 4); i32(static_cast<int>(u)); };
    const char* tex[] = {"m0.bmp", "m1.bmp", "m2.bmp", "wall.bmp", "floor.bmp"};
    u16(5);
    for (const char* t : tex) {
        b += t;
        b.push_back('\r');
    }
    i32(w);
    i32(h);
    for (unsigned short c : walls) {
        u16(c);
        if (c == EMPTY) {
            u8(4);
            u8(0xFF);
        }
    }
    f32(sx);
    f32(sy);
    u8(100); u8(150); u8(250);
    i32(static_cast<int>(sprites.size()));
    for (const LevelSprite& s : sprites) {
        f32(s.x);
        f32(s.y);
        u8(s.health);
        u16(s.type);
    }
    return b;
}

// A corridor w x 3 with a closed border.
std::vector<unsigned short> corridor(int w) {
    std::vector<unsigned short> walls(w * 3, 3);
    for (int x = 1; x < w - 1; ++x) walls[w + x] = EMPTY;
    return walls;
}

void saveSolid(const std::string& path, int colour, int size = 16) {
    BITMAP* b = create_bitmap(size, size);
    clear_to_color(b, colour);
    save_bitmap(path.c_str(), b, nullptr);
    destroy_bitmap(b);
}

// Hooks the test scripts: the present hook runs once per frame between drawing and input.
std::function<void()> onPresent;
std::function<bool()> onAskQuit;
int presents = 0;
int questions = 0;
double fakeNow = 0.0;
std::vector<int> shots;

void testPresent() {
    ++presents;
    if (onPresent) onPresent();
}
bool testAskQuit() {
    ++questions;
    return onAskQuit ? onAskQuit() : false;
}
double testNow() { return fakeNow; }
void testShot(int weapon) { shots.push_back(weapon); }

class LevelLoop : public ::testing::Test {
protected:
    void SetUp() override {
        chdir.reset(new ScopedChdir(dir.path()));
        std::filesystem::create_directory("maps");
        saveSolid("m0.bmp", makecol(200, 30, 30));
        saveSolid("m1.bmp", makecol(30, 200, 30));
        saveSolid("m2.bmp", makecol(30, 30, 200));
        saveSolid("wall.bmp", makecol(90, 90, 90));
        saveSolid("floor.bmp", makecol(60, 40, 20));

        savedGlobal = global;
        global.buffer = create_bitmap(VIEW_W, VIEW_H);
        global.textFont = font;
        global.menuFont = font;
        global.crosshair = nullptr;
        usePlayKeys();
        global.invulnerable = false;

        view.resize(VIEW_W, VIEW_H);

        io = LevelIO{testPresent, testAskQuit, testNow, testShot};
        onPresent = nullptr;
        onAskQuit = nullptr;
        presents = questions = 0;
        fakeNow = 5000.0;  // the program has run for a long time before the level starts
        shots.clear();
        releaseAllKeys();
        keyStates.resetAll();
        timerCounter = 0;
    }
    void TearDown() override {
        releaseAllKeys();
        keyStates.resetAll();
        destroy_bitmap(global.buffer);
        global = savedGlobal;
        timerCounter = 0;
        onPresent = nullptr;
        onAskQuit = nullptr;
        chdir.reset();
    }

    void writeLevel(int n, const std::string& bytes) { writeFile("maps/" + std::to_string(n) + ".map", bytes); }
    void writeCorridor(int n, const std::vector<LevelSprite>& sprites, float sx = 6.5f) {
        writeLevel(n, levelBytes(8, 3, corridor(8), sx, 1.5f, sprites));
    }

    // Loads level n and starts a run with the given counters.
    LevelRun& start(int n, LevelState counters = LevelState()) {
        engine.reset(new Kelda_engine());
        LevelLoad load = loadLevel(*engine, levelPath(n));
        EXPECT_EQ(load.kind, LevelLoad::ok) << load.detail;
        run.reset(new LevelRun(*engine, n, depth.data(), columns.data(), counters, io));
        return *run;
    }
    // Frames until the level ends or the limit; returns the number of frames run.
    int frames(int limit) {
        int n = 0;
        while (n < limit) {
            ++n;
            if (!run->frame()) break;
        }
        return n;
    }

    TempDir dir;
    std::unique_ptr<ScopedChdir> chdir;
    globals savedGlobal;
    ViewBuffers view;
    std::vector<int*>& columns = view.columns;
    std::vector<float>& depth = view.depth;
    LevelIO io;
    std::unique_ptr<Kelda_engine> engine;
    std::unique_ptr<LevelRun> run;
};
}  // namespace

TEST_F(LevelLoop, LevelWithoutMonstersIsDrawnOnceAndWon) {
    writeCorridor(0, {{3.5f, 1.5f, 0, 0}});  // scenery only
    LevelRun& r = start(0);
    EXPECT_FALSE(r.frame());
    EXPECT_EQ(presents, 1);
    EXPECT_EQ(r.finish(), LEVEL_LAST_WON);
    EXPECT_EQ(r.state.points, 50);

    writeCorridor(1, {});
    LevelRun& again = start(0);
    EXPECT_FALSE(again.frame());
    EXPECT_EQ(again.finish(), LEVEL_WON);
    EXPECT_EQ(again.state.points, 0);
}

TEST_F(LevelLoop, OnlyTheFileOfTheNextLevelDecides) {
    writeCorridor(0, {});
    writeCorridor(1, {});
    writeCorridor(3, {});
    LevelState counters;
    counters.points = 7;
    LevelRun& r = start(1, counters);
    EXPECT_FALSE(r.frame());
    EXPECT_EQ(r.finish(), LEVEL_LAST_WON);
    EXPECT_EQ(r.state.points, 57);
}

TEST_F(LevelLoop, FrameTimeIsMeasuredFromSetUpAndCapped) {
    writeCorridor(0, {{1.5f, 1.5f, 1, 0}});
    LevelRun& r = start(0);
    EXPECT_EQ(global.speedFactor, 0.0f);
    onPresent = [] { fakeNow += 0.02; };
    EXPECT_TRUE(r.frame());
    EXPECT_NEAR(global.speedFactor, 0.02f, 1e-4) << "not the time since program start";
    onPresent = [] { fakeNow += 3.0; };
    EXPECT_TRUE(r.frame());
    EXPECT_EQ(global.speedFactor, 1.0f);
}

TEST_F(LevelLoop, QuitQuestionTimeIsNotFrameTimeAndItsTicksAreWorkedOffAfterwards) {
    writeCorridor(0, {{1.5f, 1.5f, 1, 0}});
    LevelRun& r = start(0);
    onPresent = [] { fakeNow += 0.02; };
    key[KEY_ESC] = 1;
    r.state.messageTimer = 32;
    r.state.message = "Extra ammo";
    onAskQuit = [] {
        fakeNow += 100.0;
        timerCounter += 40;  // the timer runs on while the question is open
        return false;
    };
    EXPECT_TRUE(r.frame());
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(r.state.messageTimer, 32);
    EXPECT_TRUE(r.frame());
    EXPECT_NEAR(global.speedFactor, 0.02f, 1e-4);
    EXPECT_EQ(r.state.messageTimer, 0);
    EXPECT_EQ(questions, 1) << "Esc still held after \"Oh no!\" asks nothing more";

    key[KEY_ESC] = 0;
    EXPECT_TRUE(r.frame());
    key[KEY_ESC] = 1;
    onAskQuit = [] { return true; };
    EXPECT_FALSE(r.frame());
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(r.finish(), LEVEL_QUIT);
}

TEST_F(LevelLoop, EscAsksNothingOnceTheLevelIsOver) {
    writeCorridor(0, {});
    LevelRun& r = start(0);
    key[KEY_ESC] = 1;
    EXPECT_FALSE(r.frame());
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(r.finish(), LEVEL_LAST_WON);
}

TEST_F(LevelLoop, ShootingTheMonsterAheadKillsItPaysAndWins) {
    writeCorridor(0, {{2.5f, 1.5f, 2, 1}});
    LevelRun& r = start(0);
    // The clock stands still, so the monster does not move; each frame brings a full cycle of ticks.
    onPresent = [] {
        key[KEY_SPACE] = 1;
        timerCounter = 12;
    };
    EXPECT_TRUE(r.frame());
    EXPECT_EQ(engine->getSpriteList()[0].health, 1);
    EXPECT_TRUE(r.frame());
    EXPECT_EQ(engine->getSpriteList()[0].health, 0);
    EXPECT_EQ(engine->getSpriteList()[0].x, 0.0f);
    EXPECT_EQ(r.state.points, 2);
    EXPECT_FALSE(r.frame());
    // The frame that finds no monster left still runs its fire start and ticks.
    EXPECT_EQ(shots, (std::vector<int>{WEAPON_HUNTER, WEAPON_HUNTER, WEAPON_HUNTER}));
    EXPECT_EQ(r.finish(), LEVEL_LAST_WON);
    EXPECT_EQ(r.state.points, 52);
}

TEST_F(LevelLoop, SeenMonsterChasesAndHurtsOnContact) {
    writeCorridor(0, {{3.5f, 1.5f, 1, 0}});
    LevelRun& r = start(0);
    onPresent = [] { fakeNow += 0.1; };  // 0.34 cells per frame
    EXPECT_TRUE(r.frame());
    EXPECT_NEAR(engine->getSpriteList()[0].x, 3.84f, 1e-4);
    int n = frames(20);
    EXPECT_LT(n, 20);
    EXPECT_EQ(r.state.health, MAX_HEALTH - 1);
    EXPECT_EQ(r.finish(), LEVEL_LAST_WON) << "the monster that touched is gone: won, no points";
    EXPECT_EQ(r.state.points, 50);
}

TEST_F(LevelLoop, LastContactCountsInItsFrameAndTheLevelEndsTheFrameAfter) {
    writeCorridor(0, {{6.3f, 1.5f, 1, 0}});
    LevelRun& r = start(0);
    EXPECT_TRUE(r.frame());
    EXPECT_EQ(r.state.health, 4);
    EXPECT_FALSE(r.frame());
    EXPECT_EQ(presents, 2);
}

TEST_F(LevelLoop, ContactsThatTakeTheLastHealthEndAsDeathEvenWithNoMonsterLeft) {
    writeCorridor(0, std::vector<LevelSprite>(5, LevelSprite{6.3f, 1.5f, 1, 0}));
    LevelRun& r = start(0);
    EXPECT_FALSE(r.frame());
    EXPECT_EQ(r.state.health, 0);
    EXPECT_EQ(r.finish(), LEVEL_DIED);

    writeCorridor(0, std::vector<LevelSprite>(7, LevelSprite{6.3f, 1.5f, 1, 0}));
    LevelRun& r2 = start(0);
    EXPECT_FALSE(r2.frame());
    EXPECT_EQ(r2.state.health, -2);
    EXPECT_EQ(r2.finish(), LEVEL_DIED);
}

TEST_F(LevelLoop, ControlKeysActOncePerPress) {
    writeCorridor(0, {{1.5f, 1.5f, 1, 0}});
    LevelState counters;
    counters.impactBullets = 3;
    LevelRun& r = start(0, counters);
    EXPECT_EQ(r.state.weapon, WEAPON_IMPACT_CANNON);
    key[KEY_F10] = key[KEY_F11] = key[KEY_F12] = 1;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(r.frame());
    EXPECT_TRUE(r.state.showFps);
    EXPECT_TRUE(global.invulnerable);
    EXPECT_EQ(r.state.impactBullets, 103);
    EXPECT_EQ(r.state.buzzsawBullets, 100);
    EXPECT_EQ(r.state.weapon, WEAPON_IMPACT_CANNON) << "F11 does not change the weapon";
    key[KEY_F10] = key[KEY_F11] = key[KEY_F12] = 0;
    EXPECT_TRUE(r.frame());
    key[KEY_F12] = 1;
    EXPECT_TRUE(r.frame());
    EXPECT_FALSE(global.invulnerable);
}

TEST_F(LevelLoop, InvulnerabilityOutlivesTheLevel) {
    global.invulnerable = true;
    writeCorridor(0, std::vector<LevelSprite>(6, LevelSprite{6.3f, 1.5f, 1, 0}));
    LevelRun& r = start(0);
    EXPECT_TRUE(r.frame());
    EXPECT_EQ(r.state.health, MAX_HEALTH);
    EXPECT_FALSE(r.frame());
    EXPECT_EQ(r.finish(), LEVEL_LAST_WON);
    EXPECT_TRUE(global.invulnerable);
}

TEST_F(LevelLoop, ViewIsCopiedAndTheHudDrawnOverIt) {
    writeCorridor(0, {{1.5f, 1.5f, 1, 0}});
    LevelRun& r = start(0);
    EXPECT_EQ(r.state.healthUnit, (VIEW_W - 20) / 5);
    r.frame();
    EXPECT_EQ(getpixel(global.buffer, 10, 10), makecol(255, 0, 0));
    for (int x = 0; x < VIEW_W; ++x) ASSERT_EQ(getpixel(global.buffer, x, 25), columns[x][25]) << x;
    EXPECT_EQ(getpixel(global.buffer, 5, 45), columns[5][45]);
}

TEST_F(LevelLoop, MovementKeysWalkTheCameraByTheFrameTime) {
    writeCorridor(0, {{1.5f, 1.5f, 1, 0}});
    LevelRun& r = start(0);
    onPresent = [] { fakeNow += 0.1; };
    r.frame();  // sets the frame time; nothing held yet
    key[KEY_W] = 1;
    r.frame();
    EXPECT_NEAR(engine->getCameraX(), 6.5f - 0.3f, 1e-4);
}

TEST_F(LevelLoop, LoadFailuresAreToldApart) {
    Kelda_engine e1;
    LevelLoad missing = loadLevel(e1, "maps/0.map");
    EXPECT_EQ(missing.kind, LevelLoad::notFound);
    EXPECT_EQ(missing.detail, "File not found");

    std::string good = levelBytes(8, 3, corridor(8), 6.5f, 1.5f, {});
    writeLevel(0, good.substr(0, good.size() - 6));
    Kelda_engine e2;
    LevelLoad cut = loadLevel(e2, "maps/0.map");
    EXPECT_EQ(cut.kind, LevelLoad::malformed);
    EXPECT_FALSE(cut.detail.empty());

    std::remove("wall.bmp");
    writeLevel(0, good);
    Kelda_engine e3;
    LevelLoad tex = loadLevel(e3, "maps/0.map");
    EXPECT_EQ(tex.kind, LevelLoad::badTexture);
    EXPECT_EQ(tex.detail, "wall.bmp");
}

TEST_F(LevelLoop, MissingLevelFileEndsTheProgramWithError010) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int p = 0, i = 0, b = 0, l = 3;
    EXPECT_EXIT(doMap(4, depth.data(), columns.data(), p, i, b, l), ::testing::ExitedWithCode(1), "");
}

TEST_F(LevelLoop, DoMapHandsTheCountersBack) {
    writeCorridor(0, {{2.5f, 1.5f, 1, 2}});
    LevelIO saved = levelIO;
    levelIO = io;
    // One tap: the shot falls on the sixth tick, the cycle runs out with the key released.
    onPresent = [] {
        key[KEY_SPACE] = presents == 1;
        timerCounter = 6;
    };
    int points = 61, impact = 0, buzz = 0, lives = 2;
    int result = doMap(0, depth.data(), columns.data(), points, impact, buzz, lives);
    levelIO = saved;
    EXPECT_EQ(result, LEVEL_LAST_WON);
    EXPECT_EQ(points, 65 + 50);
    EXPECT_EQ(impact, 15);
    EXPECT_EQ(buzz, 30);
    EXPECT_EQ(lives, 3);
}
