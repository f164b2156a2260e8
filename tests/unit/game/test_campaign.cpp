// The campaign: its order of levels, the shipped levels, and the game resolution with its mode fallback.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <tuple>

#include "common/test_support.h"
#include "core/ElementaryFunctions.h"
#include "game/campaign.h"
#include "game/levelLoop.h"
#include "game/resolution.h"
#include "level/levelfile.h"
#include "level/levelsource.h"

TEST(Campaign, OrderOfLevelsAnnouncementsAndLives) {
    const int W = LEVEL_WON, D = LEVEL_DIED, L = LEVEL_LAST_WON, Q = LEVEL_QUIT;
    const std::string next = "|Loading next level... 32|", died = "|You died. Restarting level... 32|";
    const std::tuple<std::vector<int>, std::vector<int>, std::string> cases[] = {  // level, lives; lives left, end
        {{0, 3, 3, 0}, {W, W, L}, "play 0" + next + "play 1" + next + "play 2|congrats 56"},
        {{0, 3, 1, 0}, {D, W, D, L}, "play 0" + died + "play 0" + next + "play 1" + died + "play 1|congrats 58"},
        {{0, 2, 0, 1}, {W, D, D}, "play 0" + next + "play 1" + died + "play 1"},
        {{1, 3, 3, 2}, {W, Q}, next + "play 1" + next + "play 2"},
    };
    for (const auto& [start, results, expected] : cases) {
        std::string events;
        CampaignState s{start[0], 0, 0, 0, start[1]};  // level, points, bullets, lives
        CampaignHooks h;
        h.playLevel = [&, &results = results](CampaignState& p) {  // a binding is not captured by &
            events += "play " + std::to_string(p.level);
            p.points += 2;  // points of failed attempts are kept; bullets carry over
            const int r = results.at(static_cast<size_t>(p.impactBullets++));
            return r == L ? (p.points += LAST_LEVEL_BONUS, r) : r;
        };
        h.announce = [&](const char* m, int n) { events += "|" + std::string(m) + " " + std::to_string(n) + "|"; };
        h.congrats = [&](int points) { events += "|congrats " + std::to_string(points); };
        EXPECT_EQ(static_cast<int>(runCampaign(s, h)), start[3]) << expected;
        EXPECT_EQ(events, expected);
        EXPECT_EQ(s.lives * 100 + s.impactBullets, start[2] * 100 + static_cast<int>(results.size()));
    }
}

// The shipped levels are exactly what their sources compile to, and no source is left out of the campaign.
TEST(ShippedLevels, EveryLevelIsItsCompiledSource) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);
    int sources = 0, levels = 0;
    std::set<std::string> walls, floorsAndCeilings, scenery;  // the campaign's variety of pictures
    for (const auto& f : std::filesystem::directory_iterator("levels")) sources += f.path().extension() == ".txt";
    for (; fileExists(levelPath(levels)); ++levels) {
        levelfile::Level l;
        std::string error;
        ASSERT_TRUE(levelsource::compile(readFile("levels/" + std::to_string(levels) + ".txt"), l, error)) << error;
        EXPECT_TRUE(levelfile::write(l) == readFile(levelPath(levels))) << levelPath(levels) << " not recompiled";
        const auto add = [&](std::set<std::string>& to, size_t i) { if (i < l.texturePaths.size()) to.insert(l.texturePaths[i]); };
        for (size_t c = 0; c < l.walls.size(); ++c) {
            if (l.walls[c] != 0xFFFF) add(walls, l.walls[c]);
            else add(floorsAndCeilings, l.floors[c]), add(floorsAndCeilings, l.ceilings[c]);
        }
        for (const levelfile::Sprite& sp : l.sprites)
            if (sp.health == 0) add(scenery, sp.texture);
    }
    EXPECT_TRUE(levels >= 8 && sources == levels) << "a source without its level file, or a gap in the numbers";
    EXPECT_TRUE(walls.size() >= 20 && floorsAndCeilings.size() >= 10 && scenery.size() >= 8)
        << walls.size() << " walls, " << floorsAndCeilings.size() << " floors and ceilings, " << scenery.size() << " scenery";
}

static std::string text(Resolution r) { return std::to_string(r.width) + "x" + std::to_string(r.height); }
static std::string tried, accepted;  // modes as "card:WxH "
static int fakeSetGfx(int card, int w, int h) {
    tried += std::to_string(card) + ":" + text({w, h}) + " ";
    return accepted.find(std::to_string(card) + ":" + text({w, h}) + " ") == std::string::npos ? -1 : 0;
}

TEST(Resolution, TwoSaneIntegersOrEightHundredBySixHundredAndTheModeFallback) {
    const char* const sane[][2] = {{"640 480", "640x480"}, {" 1024\n768\n", "1024x768"}, {"320 200", "320x200"},
                                   {"7680 4320 x", "7680x4320"}};
    for (const auto& c : sane) EXPECT_EQ(text(parseResolution(c[0])), c[1]);
    for (const char* bad : {"", "640", "abc def", "0 0", "-640 480", "319 200", "320 199", "7681 4320", "640 4321",
                            "640x480", "99999999999999999999 480"})
        EXPECT_EQ(text(parseResolution(bad)), "800x600") << bad;
    TempDir dir;  // a huge file is not read whole
    writeFile(dir.file("ok"), "1280 720\n"), writeFile(dir.file("big"), std::string(1 << 20, ' ') + "640 480");
    for (const std::string& path : {dir.file("none"), dir.path(), dir.file("big"), dir.file("ok")})
        EXPECT_EQ(text(readResolution(path)), path == dir.file("ok") ? "1280x720" : "800x600") << path;
    const char* const modes[][4] = {  // driver, modes accepted, modes tried, driver entered (0: none, Error004)
        {"1", "1:1920x1080 ", "1:1920x1080 ", "1"}, {"2", "2:800x600 ", "2:1920x1080 2:800x600 ", "2"},
        {"1", "2:800x600 ", "1:1920x1080 1:800x600 2:800x600 ", "2"},
        {"2", "1:800x600 ", "2:1920x1080 2:800x600 1:800x600 ", "1"},
        {"1", "", "1:1920x1080 1:800x600 2:800x600 ", "0"},
    };
    for (const auto& m : modes) {
        tried.clear(), accepted = m[1];
        EXPECT_EQ(enterMode(std::atoi(m[0]), Resolution{1920, 1080}, fakeSetGfx), std::atoi(m[3])) << m[1];
        EXPECT_EQ(tried, m[2]);
    }
}
