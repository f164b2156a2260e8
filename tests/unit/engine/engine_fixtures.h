#pragma once
// Levels, textures and buffers for the engine tests.
#include <allegro.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "engine/engine.h"
#include "engine/levelfile.h"

// A texture file in the folder: a pattern of distinct colours, magenta where `holes` is set
// (every texel whose (x + y) % holes == 0), saved as BMP. Returns its path.
std::string writeTexture(const std::string& dir, const std::string& name, int w, int h, int seed, int holes = 0);

// A level of the given rows: '#' wall (texture 1), 'B' wall (texture 2), '.' floor 3 / ceiling 4,
// ',' floor 3 / open sky, '*' floor 4 / ceiling 3; the textures are made in dir, of mixed sizes, or
// all of side `uniformSide` when that is given.
levelfile::Level makeLevel(const std::string& dir, const std::vector<std::string>& rows, float startX, float startY,
                           int uniformSide = 0);

// Loads the level's bytes into the engine with the working directory unchanged.
std::string loadBytes(Kelda_engine& engine, const std::string& bytes);

// A column buffer of w pointers to h ints, with a depth buffer.
struct ViewBuffers {
    ViewBuffers(int w, int h);
    int w, h;
    std::vector<int> pixels;
    std::vector<int*> columns;
    std::vector<float> depth;
};
