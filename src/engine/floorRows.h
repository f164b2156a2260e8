#pragma once
// Casting a column's floor rows back onto the map, for levels whose textures all share one size.

namespace engine_floor {

struct Column {
    const float* rowDistance;  // entries first ... last are read
    int first, last;           // screen rows, inclusive
    float perpWallDist;        // non-zero
    float floorXWall, floorYWall, posX, posY;
    int mapWidth, mapHeight;
    float texW, texH;
    int wMask, hMask, wShift;
};

// For every row y of first ... last: cells[y - first] = the map cell under the floor point, and
// texels[y - first] = (texture row << wShift) + texture column. The arithmetic is exactly the
// single-precision per-row algorithm, four rows at once where the processor allows.
void castRows(const Column& c, int* cells, int* texels);

}  // namespace engine_floor
