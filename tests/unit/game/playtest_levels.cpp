// The bot plays the shipped campaign through the real level loop, and gives up rather than hang
// on a level that cannot be won.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "core/ElementaryFunctions.h"
#include "engine/levelfile.h"
#include "engine/levelsource.h"
#include "game/bot/playtest.h"
#include "game/levelLoop.h"

namespace {
void report(const bot::LevelOutcome& o, int level) {
    const char* const results[] = {"won", "died", "won the last", "quit"};
    std::printf("[ playtest ] level %d: %s after %.1f s game time, health %d, points %d, bullets %d/%d, lives %d%s%s\n",
                level, o.result >= 0 ? results[o.result] : "gave up", o.gameSeconds, o.end.health, o.end.points,
                o.end.impactBullets, o.end.buzzsawBullets, o.end.lives, o.failure.empty() ? "" : ": ",
                o.failure.c_str());
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

// The first level spoilt on purpose: the bot says why it cannot win instead of playing on.
TEST(Playtest, TheBotSaysWhyItCannotWinASpoiltLevel) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);  // the textures load from here
    TempDir dir;
    levelfile::Level first;
    std::string error;
    ASSERT_TRUE(levelsource::compile(readFile("levels/0.txt"), first, error)) << error;
    std::vector<size_t> monsters;
    for (size_t i = 0; i < first.sprites.size(); ++i)
        if (first.sprites[i].health > 0) monsters.push_back(i);
    ASSERT_FALSE(monsters.empty());

    const struct {
        const char* name;
        std::function<void(levelfile::Level&)> spoil;
        const char* failure;
        int result;
        double within;  // game seconds
    } cases[] = {
        {"a monster inside the wall north of it",
         [&](levelfile::Level& l) {
             levelfile::Sprite& m = l.sprites[monsters.back()];
             int cy = static_cast<int>(m.y);
             while (cy > 0 && l.walls[cy * l.width + static_cast<int>(m.x)] == levelfile::EMPTY_CELL) --cy;
             m.y = cy + 0.5f;
         },
         "cannot be reached", -1, 60.0},
        {"a monster walled in",
         [&](levelfile::Level& l) {
             const levelfile::Sprite& m = l.sprites[monsters.front()];
             const int cell = static_cast<int>(m.y) * l.width + static_cast<int>(m.x);
             for (int near : {cell - 1, cell + 1, cell - l.width, cell + l.width}) l.walls[near] = l.walls[0];
         },
         "cannot be reached", -1, 60.0},
        {"six of the toughest right in front of the player",
         [](levelfile::Level& l) {
             for (int i = 0; i < 6; ++i) l.sprites.push_back({l.startX - 1.6f, l.startY, 4, 2});
         },
         "died", LEVEL_DIED, 5.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        levelfile::Level l = first;
        c.spoil(l);
        const std::string path = dir.file("spoilt.map");
        writeFile(path, levelfile::write(l));
        bot::LevelOutcome o = bot::playLevel(path, 0, LevelState(), 120.0);
        report(o, 0);
        EXPECT_FALSE(o.won);
        EXPECT_NE(o.failure.find(c.failure), std::string::npos) << o.failure;
        EXPECT_EQ(o.result, c.result) << "a level the bot gave up on must not count as over";
        EXPECT_LT(o.gameSeconds, c.within);
    }
}
