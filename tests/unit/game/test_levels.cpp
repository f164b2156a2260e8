// The shipped campaign: every level is its compiled source and starts fair. That each one can be
// won, the playtest shows.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "common/test_support.h"
#include "core/ElementaryFunctions.h"
#include "engine/levelfile.h"
#include "engine/levelsource.h"
#include "game/levelLoop.h"
#include "game/play_fixture.h"

TEST(ShippedLevels, EveryLevelIsItsCompiledSourceAndStartsFair) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);
    const int MONSTER_HEALTH[3] = {1, 2, 4};
    // Both ways: no level file without its source, no source left uncompiled or out of the campaign.
    int sources = 0;
    for (const auto& entry : std::filesystem::directory_iterator("levels")) {
        if (entry.path().extension() != ".txt") continue;
        ++sources;
        const std::string number = entry.path().stem().string();
        EXPECT_TRUE(!number.empty() && number.find_first_not_of("0123456789") == std::string::npos)
            << number << ".txt is not named by its level number";
        EXPECT_TRUE(fileExists("maps/" + number + ".map")) << number << ".txt has no level file";
    }
    int levels = 0;
    for (; fileExists(levelPath(levels)); ++levels) {
        const std::string path = levelPath(levels), source = "levels/" + std::to_string(levels) + ".txt";
        SCOPED_TRACE(source);
        levelfile::Level l;
        std::string error;
        ASSERT_TRUE(levelsource::compile(readFile(source), l, error)) << error;
        EXPECT_TRUE(levelfile::write(l) == readFile(path)) << "not recompiled";
        ASSERT_EQ(levelfile::validate(l), "");
        ASSERT_GE(l.texturePaths.size(), 3u);
        for (int t = 0; t < 3; ++t) EXPECT_EQ(l.texturePaths[t], "gfx/sprites/monster" + std::to_string(t) + ".bmp");

        int monsters = 0;
        for (size_t i = 0; i < l.sprites.size(); ++i) {
            const levelfile::Sprite& s = l.sprites[i];
            SCOPED_TRACE(testing::Message() << "sprite " << i);
            EXPECT_EQ(l.walls[static_cast<int>(s.y) * l.width + static_cast<int>(s.x)], levelfile::EMPTY_CELL);
            if (s.health == 0) {
                EXPECT_GE(s.texture, 3) << "scenery looks like a monster";
                EXPECT_EQ(l.texturePaths[s.texture].rfind("gfx/sprites/", 0), 0u) << "scenery is no sprite picture";
                continue;
            }
            ++monsters;
            ASSERT_LT(s.texture, 3) << "a monster without a monster picture";
            EXPECT_EQ(s.health, MONSTER_HEALTH[s.texture]);
            EXPECT_GE(std::hypot(s.x - l.startX, s.y - l.startY), 3.0f) << "a monster waits at the start";
        }
        EXPECT_GT(monsters, 0);

        // No monster is in sight until the player moves.
        for (int w : {640, 800}) {
            const int h = w * 3 / 4;
            ViewBuffers view(w, h);
            Kelda_engine e;
            ASSERT_EQ(loadLevel(e, path).kind, LevelLoad::ok);
            e.setBuffers(view.columns.data(), view.depth.data(), w, h);
            e.inRange();
            e.render();
            for (int i = 0; i < e.spriteCount; ++i) {
                if (e.sprites[i].health > 0) {
                    EXPECT_EQ(e.visible[i], 0) << "monster " << i << " seen at " << w;
                }
            }
        }
    }
    EXPECT_GE(levels, 8);
    EXPECT_EQ(sources, levels) << "a gap in the level numbers leaves levels out of the campaign";
}
