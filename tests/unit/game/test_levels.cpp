// The shipped campaign: every level loads and can be won.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <queue>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "core/ElementaryFunctions.h"
#include "engine/levelcheck.h"
#include "engine/levelfile.h"
#include "engine/levelsource.h"
#include "game/levelLoop.h"
#include "game/monsters.h"

namespace {
const unsigned short EMPTY = 0xFFFF;
const int MONSTER_HEALTH[3] = {1, 2, 4};

std::vector<std::string> texturePaths(const std::string& mapPath) {
    std::ifstream in(mapPath, std::ios::binary);
    unsigned char count[2] = {};
    in.read(reinterpret_cast<char*>(count), 2);
    std::vector<std::string> paths(count[0] | (count[1] << 8));
    for (std::string& p : paths) std::getline(in, p, '\r');
    return paths;
}

bool freeCell(const Kelda_engine& e, int x, int y) {
    return x >= 0 && y >= 0 && x < e.mapWidth && y < e.mapHeight && e.walls[y * e.mapWidth + x] == EMPTY;
}

// Cells reachable on foot from the start.
std::vector<bool> reachable(const Kelda_engine& e) {
    std::vector<bool> seen(static_cast<size_t>(e.mapWidth) * e.mapHeight, false);
    std::queue<std::pair<int, int>> todo;
    int sx = static_cast<int>(e.posX), sy = static_cast<int>(e.posY);
    todo.push({sx, sy});
    seen[sy * e.mapWidth + sx] = true;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop();
        for (const auto& d : steps) {
            int nx = x + d[0], ny = y + d[1];
            if (freeCell(e, nx, ny) && !seen[ny * e.mapWidth + nx]) {
                seen[ny * e.mapWidth + nx] = true;
                todo.push({nx, ny});
            }
        }
    }
    return seen;
}
}  // namespace

TEST(ShippedLevels, EveryLevelLoadsAndCanBeWon) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);
    int levels = 0;
    while (fileExists(levelPath(levels))) {
        const std::string path = levelPath(levels);
        SCOPED_TRACE(path);
        std::vector<std::string> paths = texturePaths(path);
        ASSERT_GE(paths.size(), 3u);
        for (int t = 0; t < 3; ++t) EXPECT_EQ(paths[t], "gfx/sprites/monster" + std::to_string(t) + ".bmp");

        Kelda_engine e;
        LevelLoad load = loadLevel(e, path);
        ASSERT_EQ(load.kind, LevelLoad::ok) << load.detail;
        ASSERT_TRUE(freeCell(e, static_cast<int>(e.posX), static_cast<int>(e.posY))) << "start in a wall";
        std::vector<bool> walkable = reachable(e);

        int monsters = 0;
        for (int i = 0; i < e.spriteCount; ++i) {
            const Kelda_sprite& s = e.sprites[i];
            int cx = static_cast<int>(s.x), cy = static_cast<int>(s.y);
            EXPECT_TRUE(freeCell(e, cx, cy)) << "sprite " << i << " in a wall";
            if (s.health <= 0) {
                EXPECT_GE(s.textureIndex, 3) << "scenery " << i << " looks like a monster";
                if (s.textureIndex < static_cast<int>(paths.size())) {
                    EXPECT_EQ(paths[s.textureIndex].rfind("gfx/sprites/", 0), 0u) << "scenery " << i << " is no sprite picture";
                }
                continue;
            }
            ++monsters;
            ASSERT_LT(s.textureIndex, 3) << "monster " << i << " has no monster picture";
            EXPECT_EQ(s.health, MONSTER_HEALTH[s.textureIndex]) << "monster " << i;
            EXPECT_TRUE(walkable[cy * e.mapWidth + cx]) << "monster " << i << " cannot be reached";
            float d = std::hypot(s.x - e.posX, s.y - e.posY);
            EXPECT_GE(d, 3.0f) << "monster " << i << " waits at the start";
        }
        EXPECT_GT(monsters, 0);

        // Every level starts calm: no monster is in sight until the player moves.
        for (int size : {0, 1}) {
            const int w = size ? 800 : 640, h = size ? 600 : 480;
            std::vector<int> pixels(static_cast<size_t>(w) * h);
            std::vector<int*> columns(w);
            for (int x = 0; x < w; ++x) columns[x] = &pixels[static_cast<size_t>(x) * h];
            std::vector<float> depth(w);
            Kelda_engine view;
            ASSERT_EQ(loadLevel(view, path).kind, LevelLoad::ok);
            view.setBuffers(columns.data(), depth.data(), w, h);
            view.inRange();
            view.render();
            for (int i = 0; i < view.spriteCount; ++i) {
                if (view.sprites[i].health > 0) {
                    EXPECT_EQ(view.visible[i], 0) << "monster " << i << " seen at " << w;
                }
            }
        }
        ++levels;
    }
    EXPECT_GE(levels, 8);
}

TEST(ShippedLevels, EveryLevelFileIsItsCompiledSourceAndPassesTheCheck) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);
    // Both ways: no level file without its source, no source left uncompiled or out of the campaign.
    int sources = 0;
    for (const auto& entry : std::filesystem::directory_iterator("levels")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".txt") continue;
        ++sources;
        const std::string number = name.substr(0, name.size() - 4);
        EXPECT_TRUE(!number.empty() && number.find_first_not_of("0123456789") == std::string::npos)
            << name << " is not named by its level number";
        EXPECT_TRUE(fileExists("maps/" + number + ".map")) << name << " has no level file";
    }
    int levels = 0;
    for (int n = 0; fileExists(levelPath(n)); ++n) {
        ++levels;
        const std::string source = "levels/" + std::to_string(n) + ".txt";
        SCOPED_TRACE(source);
        ASSERT_TRUE(fileExists(source)) << "level without its source";
        levelfile::Level level;
        std::string error;
        ASSERT_TRUE(levelsource::compile(readFile(source), level, error)) << error;
        EXPECT_TRUE(levelfile::write(level) == readFile(levelPath(n))) << "recompile " << source;
        EXPECT_EQ(levelfile::validate(level), "");
        Kelda_engine engine;
        EXPECT_EQ(loadLevelFile(engine, levelPath(n)), "") << "what brawnwick-map check says";
    }
    EXPECT_EQ(sources, levels) << "a gap in the level numbers leaves levels out of the campaign";
}
