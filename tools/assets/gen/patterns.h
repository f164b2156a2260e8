// Repeating building patterns shared by textures and the larger pictures.
#pragma once
#include <cstdint>

namespace gen {

// Running-bond masonry. Returns the distance (in pixels) from the point to the nearest joint,
// and the block's own random value in [0,1) and its id through the out-parameters.
struct Block {
    float edge;   // distance to the nearest joint
    float rnd;    // per-block random value
    int col, row; // block coordinates
    float u, v;   // position inside the block, 0..1
};

Block masonry(float x, float y, float bw, float bh, uint32_t seed, float offset = 0.5f,
              int wrapCols = 0, int wrapRows = 0);

}  // namespace gen
