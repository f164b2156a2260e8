#pragma once
// Levels, textures and buffers for the engine tests.
#include <allegro.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "engine/engine.h"
#include "engine/levelfile.h"

// A BMP of distinct colours, magenta on every texel with (x + y) % holes == 0. Returns its path.
std::string writeTexture(const std::string& dir, const std::string& name, int w, int h, int seed, int holes = 0);

// Rows of '#' wall (texture 1), 'B' wall (2), '.' floor 3 / ceiling 4, ',' floor 3 / open sky,
// '*' floor 4 / ceiling 3. Textures of mixed sizes, or all of side `uniformSide` when given.
levelfile::Level makeLevel(const std::string& dir, const std::vector<std::string>& rows, float startX, float startY,
                           int uniformSide = 0);

std::string loadBytes(Kelda_engine& engine, const std::string& bytes);

// w column pointers to h ints each, and a depth buffer.
struct ViewBuffers {
    ViewBuffers(int w, int h);
    std::vector<int> pixels;
    std::vector<int*> columns;
    std::vector<float> depth;
};
