#pragma once
// Every texture of a level mirrored as plain ints, one per texel, each the value the library's
// getpixel gives for it. The renderer then reads any size and any colour depth the same way, by
// offset into one array.
#include <allegro.h>

#include <cstdint>
#include <vector>

namespace engine_render {

// Where the renderer reads texels of one pixel type (uint32_t and uint16_t: the bitmaps' own
// rows; int: the pool), kept between frames.
template <typename Pixel>
struct TexelTables {
    std::vector<const Pixel*> first;      // per texture, its first texel
    std::vector<uint64_t> cellStarts;     // per map cell, where its floor and its ceiling start (see the renderer)
    std::vector<Pixel> sky;               // open sky, read as a texture
    // What the per-cell tables were made from. A map has up to a million cells, too many to walk
    // every frame, so the counts are kept until another level is loaded and the cell starts until
    // a texture's start or size changes.
    unsigned level = ~0u;
    int floorCells[256] = {}, ceilingCells[256] = {};          // cells showing each code
    int openFloorCells[256] = {}, openCeilingCells[256] = {};  // the same, counting only cells without a wall
    uint32_t floorStart[256] = {}, ceilingStart[256] = {};
    int floorSize[256] = {}, ceilingSize[256] = {}, stride = 0;
    std::vector<uint64_t> cellSizes;  // per map cell, where in a row's offsets its floor's and its ceiling's are
    bool oddCells = false;
};

// Screen rows y ... y + count - 1 of a sprite, all showing texture row texY.
struct TexelRun {
    int texY, y, count;
};

struct PoolTexture {
    int start;  // offset of the first texel in texels()
    int w, h, wMask, hMask, wShift, heightShift;
    float fw, fh;
};

class TexturePool {
public:
    // Mirrors the textures again where their pixels changed. False when one cannot be mirrored
    // (not a memory bitmap, an unusual depth, or too many texels in all); the renderer then reads
    // the bitmaps through the library.
    bool refresh(BITMAP* const* textures, int count, const int* widthShift, const int* heightShift);
    void clear();

    const int* texels() const { return pool.data(); }
    const PoolTexture* textures() const { return entries.data(); }

private:
    struct Mirror {
        BITMAP* bmp;
        int w, h, depth;
        std::vector<unsigned char> raw;  // the rows as they were when last mirrored
    };
    std::vector<int> pool;
    std::vector<PoolTexture> entries;
    std::vector<Mirror> mirrors;
};

}  // namespace engine_render
