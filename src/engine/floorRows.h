#pragma once
// Casting a column's floor rows back onto the map: the cell under each row's floor point and its
// texel offset for every texture size the level's floors and ceilings use.

namespace engine_floor {

struct Column {
    const float* rowDistance;  // entries first ... last are read
    int first, last;           // screen rows, inclusive
    float perpWallDist;        // non-zero
    float floorXWall, floorYWall, posX, posY;
    int mapWidth, mapHeight;
};

// One texture size: texel (trunc(texW * x) & wMask, trunc(texH * y) & hMask).
struct Size {
    float texW, texH;
    int wMask, hMask, wShift;
};

const int MAX_SIZES = 8;

// For every row y of first ... last: cells[y - first] = the map cell under the floor point, and for
// each size k, texels[k][y - first] = (texture row << wShift) + texture column. The arithmetic is
// exactly the single-precision per-row algorithm, several rows at once where the processor allows.
void castRows(const Column& c, const Size* sizes, int sizeCount, int* cells, int* const* texels);

}  // namespace engine_floor
