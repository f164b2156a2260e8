#include "patterns.h"

#include <cmath>

#include "noise.h"

namespace gen {

Block masonry(float x, float y, float bw, float bh, uint32_t seed, float offset,
              int wrapCols, int wrapRows) {
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
