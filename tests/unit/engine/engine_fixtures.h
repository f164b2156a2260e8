#pragma once
// Levels, textures and buffers for the engine tests.
#include <allegro.h>

#include <sstream>
#include <string>
#include <vector>

#include "../common/test_support.h"
#include "engine/engine.h"
#include "level/levelfile.h"

// A BMP of distinct colours, magenta wherever (x + y) % holes == 0. Returns its path.
inline std::string writeTexture(const std::string& dir, const std::string& name, int w, int h, int seed, int holes = 0) {
    BITMAP* bmp = create_bitmap_ex(32, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            putpixel(bmp, x, y, holes > 0 && (x + y) % holes == 0
                                    ? makecol32(255, 0, 255)
                                    : makecol32((x * 37 + seed * 71) & 0xFF, (y * 53 + seed * 29) & 0xFF, (x * y + seed * 13) & 0xFF));
    const std::string path = dir + "/" + name;
    save_bitmap(path.c_str(), bmp, nullptr);
    destroy_bitmap(bmp);
    return path;
}

// '#' wall (texture 1), 'B' wall (2), '.' floor 3 / ceiling 4, ',' floor 3 / open sky, '*' floor 4 /
// ceiling 3; texture 0 is a sprite with holes. Mixed texture sizes, or all of side `u`. Sky (10, 20, 30).
inline levelfile::Level makeLevel(const std::string& dir, const std::vector<std::string>& rows, float startX,
                                  float startY, int u = 0) {
    levelfile::Level level;
    const int sides[5][2] = {{64, 64}, {64, 64}, {32, 128}, {128, 8}, {16, 32}};
    for (int t = 0; t < 5; ++t)
        level.texturePaths.push_back(writeTexture(dir, "t" + std::to_string(t) + ".bmp", u ? u : sides[t][0],
                                                  u ? u : sides[t][1], t + 1, t == 0 ? 3 : 0));
    level.width = static_cast<int>(rows[0].size()), level.height = static_cast<int>(rows.size());
    for (const std::string& row : rows)
        for (char c : row) {
            const unsigned short wall = c == '#' ? 1 : c == 'B' ? 2 : 0xFFFF;
            const bool free = wall == 0xFFFF;
            level.walls.push_back(wall);
            level.floors.push_back(static_cast<unsigned char>(!free ? wall : c == '*' ? 4 : 3));
            level.ceilings.push_back(static_cast<unsigned char>(!free ? wall : c == '*' ? 3 : c == ',' ? 0xFF : 4));
        }
    level.startX = startX, level.startY = startY;
    level.skyRed = 10, level.skyGreen = 20, level.skyBlue = 30;
    return level;
}

inline std::string loadBytes(Kelda_engine& engine, const std::string& bytes) {
    std::istringstream in(bytes);
    return engine.loadStream(in);
}

// w column pointers to h ints each, and a depth buffer.
struct ViewBuffers {
    ViewBuffers(int w, int h) : pixels(size_t(w) * h, 0x12345678), columns(w), depth(w, 0.0f) {
        for (int x = 0; x < w; ++x) columns[x] = pixels.data() + size_t(x) * h;
    }
    std::vector<int> pixels;
    std::vector<int*> columns;
    std::vector<float> depth;
};
