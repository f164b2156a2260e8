// The level loop run frame by frame on real level files, with scripted keys, ticks and clock.
#include <gtest/gtest.h>

#include <allegro.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "core/constants.h"
#include "engine/levelfile.h"
#include "game/game.h"
#include "game/levelLoop.h"
#include "game/play_fixture.h"
#include "settings/global.h"

namespace {
const int VIEW_W = 64;
const int VIEW_H = 48;
using Sprites = std::vector<levelfile::Sprite>;

// A corridor 8 x 3, the player at its east end looking west. Textures 0..2 are the monster
// pictures, 3 the wall, 4 the floor.
std::string corridor(const Sprites& sprites) {
    levelfile::Level l;
    l.texturePaths = {"m0.bmp", "m1.bmp", "m2.bmp", "wall.bmp", "floor.bmp"};
    l.width = 8;
    l.height = 3;
    l.walls.assign(24, 3);
    l.floors.assign(24, 3);
    l.ceilings.assign(24, 3);
    for (int x = 1; x < 7; ++x) {
        l.walls[8 + x] = levelfile::EMPTY_CELL;
        l.floors[8 + x] = 4;
        l.ceilings[8 + x] = levelfile::OPEN_SKY;
    }
    l.startX = 6.5f;
    l.startY = 1.5f;
    l.sprites = sprites;
    return levelfile::write(l);
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
        std::filesystem::create_directory("maps");
        for (const char* name : {"m0.bmp", "m1.bmp", "m2.bmp", "wall.bmp", "floor.bmp"}) {
            BITMAP* b = create_bitmap(16, 16);
            clear_to_color(b, makecol(90, 90, 90));  // any picture will do
            save_bitmap(name, b, nullptr);
            destroy_bitmap(b);
        }
        onPresent = nullptr;
        onAskQuit = nullptr;
        presents = questions = 0;
        fakeNow = 5000.0;  // the program has run for a long time before the level starts
        shots.clear();
    }

    void writeLevel(int n, const std::string& bytes) { writeFile("maps/" + std::to_string(n) + ".map", bytes); }

    // Loads level n and starts a run with the given counters.
    LevelRun& start(int n, LevelState counters = LevelState()) {
        engine.reset(new Kelda_engine());
        LevelLoad load = loadLevel(*engine, levelPath(n));
        EXPECT_EQ(load.kind, LevelLoad::ok) << load.detail;
        run.reset(new LevelRun(*engine, n, depth.data(), columns.data(), counters, io));
        return *run;
    }
    LevelRun& start(const Sprites& sprites, LevelState counters = LevelState()) {
        writeLevel(0, corridor(sprites));
        return start(0, counters);
    }

    TempDir dir;
    ScopedChdir chdir{dir.path()};
    PlayStage stage{VIEW_W, VIEW_H};
    std::vector<int*>& columns = stage.view.columns;
    std::vector<float>& depth = stage.view.depth;
    LevelIO io{testPresent, testAskQuit, testNow, testShot};
    std::unique_ptr<Kelda_engine> engine;
    std::unique_ptr<LevelRun> run;
};
}  // namespace

TEST_F(LevelLoop, LevelWithoutMonstersEndsInItsFirstFrameAndOnlyTheNextFileMakesItNotTheLast) {
    writeLevel(0, corridor({{3.5f, 1.5f, 0, 0}}));  // scenery only
    writeLevel(1, corridor({}));
    writeLevel(3, corridor({}));
    std::filesystem::create_directory("maps/2.map");  // a folder is no level
    key[KEY_ESC] = 1;  // asks nothing once the level is over
    LevelState counters;
    counters.points = 7;
    const struct {
        int level, result, points;
    } cases[] = {{0, LEVEL_WON, 7}, {1, LEVEL_LAST_WON, 7 + LAST_LEVEL_BONUS}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        LevelRun& r = start(c.level, counters);
        EXPECT_FALSE(r.frame());
        EXPECT_EQ(r.finish(), c.result);
        EXPECT_EQ(r.state.points, c.points);
    }
    EXPECT_EQ(presents, 2);
    EXPECT_EQ(questions, 0);
    Kelda_engine e;
    EXPECT_EQ(loadLevel(e, "maps/2.map").kind, LevelLoad::notFound);
}

TEST_F(LevelLoop, FrameTimeIsMeasuredFromSetUp) {
    LevelRun& r = start({{1.5f, 1.5f, 1, 0}});
    EXPECT_EQ(global.speedFactor, 0.0f);
    onPresent = [] { fakeNow += 0.02; };
    EXPECT_TRUE(r.frame());
    EXPECT_NEAR(global.speedFactor, 0.02f, 1e-4) << "not the time since program start";
}

TEST_F(LevelLoop, QuitQuestionTimeIsNotFrameTimeAndItsTicksAreWorkedOffAfterwards) {
    LevelRun& r = start({{1.5f, 1.5f, 1, 0}});
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

TEST_F(LevelLoop, QuitAnswerUsesUpOnlyTheKeyThatChoseYes) {
    keyStates.resetAll();
    key[KEY_ESC] = key[KEY_F10] = key[KEY_ENTER] = 1;
    settleQuitAnswer(false);
    EXPECT_TRUE(keyStates[KEY_F10]) << "F10 held through \"Oh no!\" still counts";
    EXPECT_TRUE(keyStates[KEY_ENTER]);
    keyStates.resetAll();
    settleQuitAnswer(true);
    EXPECT_FALSE(keyStates[KEY_ENTER]) << "the Enter that chose \"Yes\" must not reach the main menu";
    EXPECT_TRUE(keyStates[KEY_F10]);
    releaseAllKeys();
}

TEST_F(LevelLoop, ShootingTheMonsterAheadKillsItPaysAndWins) {
    LevelRun& r = start({{2.5f, 1.5f, 2, 1}});
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
    LevelRun& r = start({{3.5f, 1.5f, 1, 0}});
    onPresent = [] { fakeNow += 0.1; };  // 0.34 cells per frame
    EXPECT_TRUE(r.frame());
    EXPECT_NEAR(engine->getSpriteList()[0].x, 3.84f, 1e-4);
    int n = 1;
    while (r.frame() && n < 20) ++n;
    EXPECT_LT(n, 20);
    EXPECT_EQ(r.state.health, MAX_HEALTH - 1);
    EXPECT_EQ(r.finish(), LEVEL_LAST_WON) << "the monster that touched is gone: won, no points";
    EXPECT_EQ(r.state.points, 50);
}

// Contacts count in their frame and the level ends the frame after; contacts that take the last
// health are a death even when they leave no monster behind.
TEST_F(LevelLoop, ContactsRightAtTheStartEndInDeathOrWin) {
    const struct {
        int monsters;
        bool invulnerable;
        int health, result;
    } cases[] = {
        {1, false, 4, LEVEL_LAST_WON},
        {5, false, 0, LEVEL_DIED},
        {7, false, -2, LEVEL_DIED},
        {6, true, MAX_HEALTH, LEVEL_LAST_WON},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.monsters << " monsters, invulnerable " << c.invulnerable);
        global.invulnerable = c.invulnerable;
        LevelRun& r = start(Sprites(c.monsters, levelfile::Sprite{6.3f, 1.5f, 1, 0}));
        EXPECT_EQ(r.frame(), c.result != LEVEL_DIED);
        EXPECT_EQ(r.state.health, c.health);
        if (c.result != LEVEL_DIED) {
            EXPECT_FALSE(r.frame());
        }
        EXPECT_EQ(r.finish(), c.result);
        EXPECT_EQ(global.invulnerable, c.invulnerable) << "invulnerability outlives the level";
    }
}

TEST_F(LevelLoop, ControlKeysActOncePerPress) {
    LevelState counters;
    counters.impactBullets = 3;
    LevelRun& r = start({{1.5f, 1.5f, 1, 0}}, counters);
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

TEST_F(LevelLoop, ViewIsCopiedAndTheHudDrawnOverIt) {
    LevelRun& r = start({{1.5f, 1.5f, 1, 0}});
    EXPECT_EQ(r.state.healthUnit, (VIEW_W - 20) / 5);
    r.frame();
    EXPECT_EQ(getpixel(global.buffer, 10, 10), makecol(255, 0, 0));
    for (int x = 0; x < VIEW_W; ++x) ASSERT_EQ(getpixel(global.buffer, x, 25), columns[x][25]) << x;
    EXPECT_EQ(getpixel(global.buffer, 5, 45), columns[5][45]);
}

TEST_F(LevelLoop, MissingLevelFileEndsTheProgramWithError010) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int p = 0, i = 0, b = 0, l = 3;
    EXPECT_EXIT(doMap(4, depth.data(), columns.data(), p, i, b, l), ::testing::ExitedWithCode(1), "");
}

TEST_F(LevelLoop, DoMapHandsTheCountersBack) {
    writeLevel(0, corridor({{2.5f, 1.5f, 1, 2}}));
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
