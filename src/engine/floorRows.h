#pragma once
// Casting a column's floor rows back onto the map: the cell under each row's floor point and its
// texel offset for every texture size the level's floors and ceilings use.
#include <cstdint>

#include "engine/renderMath.h"

namespace engine_floor {

struct Column {
    const float* rowDistance;  // entries first ... last are read
    int first, last;           // screen rows, inclusive
    float perpWallDist;        // non-zero for castRows
    float floorXWall, floorYWall, posX, posY;
    int mapWidth, mapHeight;
};

struct Point {
    float x, y;
    int cell;
};

// The floor point of screen row y, pulled in from beyond the map's last row, and the map cell
// under it (a point off the map reads the last row or column): the plain single-precision steps
// every floor path follows.
inline Point floorPoint(const Column& c, int y) {
    using engine_math::truncToInt;
    const float weight = engine_math::divide(c.rowDistance[y], c.perpWallDist);
    const float fx = weight * c.floorXWall + (1.0f - weight) * c.posX;
    float fy = weight * c.floorYWall + (1.0f - weight) * c.posY;
    if (fy > static_cast<float>(c.mapHeight)) fy = static_cast<float>(c.mapHeight - 1);
    int cx = truncToInt(fx), cy = truncToInt(fy);
    if (cx < 0 || cx > c.mapWidth - 1) cx = c.mapWidth - 1;
    if (cy < 0 || cy > c.mapHeight - 1) cy = c.mapHeight - 1;
    return {fx, fy, cy * c.mapWidth + cx};
}

// One texture size: texel (trunc(texW * x) & wMask, trunc(texH * y) & hMask).
struct Size {
    float texW, texH;
    int wMask, hMask, wShift;
};

// The texel under a floor point at one texture size: (row << wShift) + column.
inline int texelOffset(const Size& s, float x, float y) {
    using engine_math::truncToInt;
    return ((truncToInt(s.texH * y) & s.hMask) << s.wShift) + (truncToInt(s.texW * x) & s.wMask);
}

// Where castRows writes: bySize null for the first two layouts below.
struct Rows {
    uint32_t* cells;
    uint64_t* words;
    uint32_t* bySize;
    int stride;
};
const int MAX_SIZES = 4;

// For every row y of first ... last, i = y - first, the map cell under the floor point and its
// texel offsets, laid out for the fewest instructions and loads per row afterwards:
// - one size: words[i] holds the cell in its low 32 bits and the offset in its high 32 bits;
// - two sizes: cells[i] is the cell and words[i] holds the offset at sizes[0] in its low 32 bits
//   and at sizes[1] in its high 32 bits, so that one 64-bit add of two textures' starts finds both
//   texels;
// - with bySize, for up to MAX_SIZES sizes: cells[i] is the cell and bySize[k * stride + i] the
//   offset at sizes[k].
// An offset is (texture row << wShift) + texture column. The arithmetic is exactly the
// single-precision per-row algorithm, several rows at once where the processor allows.
void castRows(const Column& c, const Size* sizes, int sizeCount, const Rows& rows);

inline uint64_t pack(int low, int high) {
    return static_cast<uint64_t>(static_cast<uint32_t>(low)) | static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32;
}

}  // namespace engine_floor
