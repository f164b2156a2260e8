// Repeating building patterns shared by textures and the larger pictures.
#pragma once
#include <cmath>

#include "noise.h"

namespace gen {

// Running-bond masonry. Returns the distance (in pixels) from the point to the nearest joint,
// and the block's own random value in [0,1) and its id through the out-parameters.
struct Block {
    float edge;   // distance to the nearest joint
    float rnd;    // per-block random value
    int col, row; // block coordinates
    float u, v;   // position inside the block, 0..1
};

inline Block masonry(float x, float y, float bw, float bh, uint32_t seed, float offset = 0.5f,
                     int wrapCols = 0, int wrapRows = 0) {
    Block b;
    b.row = static_cast<int>(std::floor(y / bh));
    float shift = (b.row & 1) ? bw * offset : 0;
    b.col = static_cast<int>(std::floor((x + shift) / bw));
    float lx = x + shift - b.col * bw, ly = y - b.row * bh;
    b.u = lx / bw;
    b.v = ly / bh;
    b.edge = std::fmin(std::fmin(lx, bw - lx), std::fmin(ly, bh - ly));
    int c = wrapCols ? wrapi(b.col, wrapCols) : b.col;
    int r = wrapRows ? wrapi(b.row, wrapRows) : b.row;
    b.rnd = hashf(c, r, seed);
    return b;
}

}  // namespace gen
