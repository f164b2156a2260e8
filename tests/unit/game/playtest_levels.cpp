// The bot plays the shipped campaign through the real level loop, and gives up rather than hang
// on a level that cannot be won.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/test_support.h"
#include "core/ElementaryFunctions.h"
#include "engine/levelfile.h"
#include "engine/levelsource.h"
#include "game/bot/playtest.h"
#include "game/levelLoop.h"

namespace {
const char* const RESULT_NAMES[] = {"won", "died", "won the last", "quit"};

void report(const bot::LevelOutcome& o, int level) {
    std::printf("[ playtest ] level %d: %s after %.1f s game time (%d frames, %.2f s wall), health %d, points %d, "
                "bullets %d/%d, lives %d%s%s\n",
                level, o.result >= 0 ? RESULT_NAMES[o.result] : "gave up", o.gameSeconds, o.frames, o.wallSeconds,
                o.end.health, o.end.points, o.end.impactBullets, o.end.buzzsawBullets, o.end.lives,
                o.failure.empty() ? "" : ": ", o.failure.c_str());
}

levelfile::Level compileSource(const std::string& path) {
    levelfile::Level level;
    std::string error;
    EXPECT_TRUE(levelsource::compile(readFile(path), level, error)) << error;
    return level;
}
}  // namespace

TEST(Playtest, TheBotWinsTheWholeCampaignInARow) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);
    int levels = 0;
    while (fileExists(levelPath(levels))) ++levels;
    ASSERT_GE(levels, 8);

    bot::CampaignOutcome c = bot::playCampaign();
    int level = 0;
    for (const bot::LevelOutcome& o : c.attempts) {
        report(o, level);
        if (o.result != LEVEL_DIED) ++level;  // a death repeats the level
    }
    EXPECT_EQ(c.end, CampaignEnd::won);
    ASSERT_FALSE(c.attempts.empty());
    EXPECT_TRUE(c.attempts.back().failure.empty()) << c.attempts.back().failure;

    // A player may die now and then; more than one restart in the whole campaign means a level got
    // harder than the bot (or the bot clumsier).
    EXPECT_EQ(c.state.level, levels) << "levels left unplayed";
    EXPECT_LE(static_cast<int>(c.attempts.size()), levels + 1) << "too many restarts";
    for (const bot::LevelOutcome& o : c.attempts) EXPECT_LT(o.gameSeconds, 600.0);

    // The bonuses come into play well before the end: ammunition, the Buzzsaw and an extra life.
    ASSERT_GE(c.attempts.size(), 2u);
    const bot::LevelOutcome& beforeLast = c.attempts[c.attempts.size() - 2];
    EXPECT_GE(beforeLast.end.points, 64) << "the extra life waits for the last level";
    EXPECT_GE(c.state.lives, 4) << "no extra life earned";
    EXPECT_GE(c.congratulatedPoints, 120 + LAST_LEVEL_BONUS);
}

class BrokenLevel : public ::testing::Test {
protected:
    void SetUp() override { root.reset(new ScopedChdir(BRAWNWICK_SOURCE_DIR)); }
    void TearDown() override { root.reset(); }

    // Plays the level, changed by the test, from a file of its own; textures load from the root.
    bot::LevelOutcome play(const levelfile::Level& level) {
        const std::string path = dir.file("broken.map");
        writeFile(path, levelfile::write(level));
        bot::PlaytestOptions quick;
        quick.budgetSeconds = 120.0;
        return bot::playLevel(path, 0, LevelState(), quick);
    }
    static int wallCode(const levelfile::Level& l) {
        for (unsigned short w : l.walls)
            if (w != levelfile::EMPTY_CELL) return w;
        return 0;
    }

    TempDir dir;
    std::unique_ptr<ScopedChdir> root;
};

TEST_F(BrokenLevel, TheBotStillWinsTheUntouchedLevel) {
    bot::LevelOutcome o = play(compileSource("levels/0.txt"));
    report(o, 0);
    EXPECT_TRUE(o.won) << o.failure;
}

TEST_F(BrokenLevel, AMonsterInsideAWallIsReportedNotWaitedFor) {
    levelfile::Level l = compileSource("levels/0.txt");
    // The last monster moved into the wall cell north of it.
    int last = -1;
    for (size_t i = 0; i < l.sprites.size(); ++i)
        if (l.sprites[i].health > 0) last = static_cast<int>(i);
    ASSERT_GE(last, 0);
    levelfile::Sprite& m = l.sprites[last];
    int cx = static_cast<int>(m.x), cy = static_cast<int>(m.y);
    while (cy > 0 && l.walls[cy * l.width + cx] == levelfile::EMPTY_CELL) --cy;
    m.y = cy + 0.5f;
    bot::LevelOutcome o = play(l);
    report(o, 0);
    EXPECT_FALSE(o.won);
    EXPECT_NE(o.failure.find("cannot be reached"), std::string::npos) << o.failure;
    EXPECT_EQ(o.result, -1) << "the level must not count as over";
}

TEST_F(BrokenLevel, AMonsterWalledInIsReportedNotWaitedFor) {
    levelfile::Level l = compileSource("levels/0.txt");
    // Walls all around the first monster's cell.
    int first = -1;
    for (size_t i = 0; i < l.sprites.size() && first < 0; ++i)
        if (l.sprites[i].health > 0) first = static_cast<int>(i);
    ASSERT_GE(first, 0);
    const int cx = static_cast<int>(l.sprites[first].x), cy = static_cast<int>(l.sprites[first].y);
    const int around[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& d : around) l.walls[(cy + d[1]) * l.width + cx + d[0]] = wallCode(l);
    bot::LevelOutcome o = play(l);
    report(o, 0);
    EXPECT_FALSE(o.won);
    EXPECT_NE(o.failure.find("cannot be reached"), std::string::npos) << o.failure;
    EXPECT_LT(o.gameSeconds, 120.0);
}

TEST_F(BrokenLevel, AnAmbushAtTheStartIsLostAndSaidSo) {
    levelfile::Level l = compileSource("levels/0.txt");
    // Six of the toughest right in front of the player: seen at once, on the player at once.
    for (int i = 0; i < 6; ++i) l.sprites.push_back({l.startX - 1.6f, l.startY, 4, 2});
    bot::LevelOutcome o = play(l);
    report(o, 0);
    EXPECT_FALSE(o.won);
    EXPECT_EQ(o.result, LEVEL_DIED);
    EXPECT_EQ(o.failure, "died");
    EXPECT_LT(o.gameSeconds, 5.0);
}
