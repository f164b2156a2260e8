// The 3D view, column by column: one ray per column finds the wall, then the wall stripe, the floor
// below it and the mirrored ceiling above it are drawn. Texels are read straight from the texture
// rows (16 and 32 bits), from the texture pool (other depths), or through the library's reader for
// bitmaps of another kind; the arithmetic is the plain single-precision algorithm, step for step,
// so the picture is the same as with one getpixel per texel.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "engine/engine.h"
#include "engine/floorRows.h"
#include "engine/rayCast.h"
#include "engine/renderMath.h"

using engine_math::truncToInt;
using engine_render::PoolTexture;

namespace {

// Texels by offset from each texture's first texel: Pixel is uint32_t or uint16_t for the
// bitmaps' own rows, int for the pool.
template <typename Pixel>
struct DirectTexels {
    const Pixel* const* first;
    const PoolTexture* tex;
    struct Column {
        const Pixel* top;
        int stride;
        int at(int y) const { return static_cast<int>(top[static_cast<long>(y) * stride]); }
    };
    Column column(int t, int x) const { return {first[t] + x, tex[t].w}; }
    int at(int t, int x, int y) const { return static_cast<int>(first[t][static_cast<long>(y) * tex[t].w + x]); }
};
struct LibraryTexels {
    BITMAP* const* bmp;
    struct Column {
        BITMAP* bmp;
        int x;
        int at(int y) const { return getpixel(bmp, x, y); }
    };
    Column column(int t, int x) const { return {bmp[t], x}; }
    int at(int t, int x, int y) const { return getpixel(bmp[t], x, y); }
};

const uint32_t ODD = 0xFFFFFFFF;
// Every other start stays below 2^31 (the tables refuse more), so a top bit marks ODD on either side.
const uint64_t ODD_BITS = 0x8000000080000000ull;

engine_floor::Size sizeOf(const PoolTexture& t) { return {t.fw, t.fh, t.wMask, t.hMask, t.wShift}; }

// What every column of one frame shares.
template <typename Pixel>
struct Frame {
    int W, H, mapW, mapH;
    float px, py;
    const unsigned char* floorCodes;
    const unsigned char* ceilingCodes;
    const float* rowDist;
    const PoolTexture* tex;
    int sky, floorShade, ceilingShade;
    // The bulk floor pass: the floor points of a column cast at once, then every texel fetched by
    // offset: for each row, the map cell and the texel offsets at the floors' and the ceilings'
    // main sizes, laid out as castRows says.
    bool bulk;
    int sizeCount, layout;  // layout: 1 or 2 (one offset for each side's main size), 3 (offsets by size)
    engine_floor::Size sizes[engine_floor::MAX_SIZES];
    uint32_t* cells;
    uint64_t* words;
    uint32_t* bySize;
    int stride;
    const unsigned short* walls;
    const uint64_t* cellSizes;  // layout 3: per cell, where its floor's and its ceiling's offsets are in bySize
    bool oddCells;  // some cell's texture is not of its side's main size
    const Pixel* codeFirst[256];  // per code, its texture's first texel; 0xFF (ceilings) the sky
    // Every texel of the pass is base[start + offset]: per map cell, the start of its floor in the
    // low 32 bits and of its ceiling in the high ones, or ODD where the size is not the main one.
    // Packed so, one load per row finds both textures.
    const Pixel* base;
    const uint64_t* cellStarts;
};

// A stripe at least two rows per texel: each texture row fills a run of screen rows, and where the
// run ends follows from the same formula. Texture row k is shown while (d * scale / L) >> 8 = k,
// that is for d < ceil((k + 1) * 256 * L / scale), and scale is a power of two, so no division is
// needed; d grows by 2 a row.
template <typename Source>
void drawRuns(const Source& source, int y, int end, int64_t d, int64_t L, int heightShift, int H, int* col) {
    const int shift = 7 + heightShift;  // scale = 1 << shift
    int64_t k = ((d << shift) / L) >> 8;
    while (y < end) {
        const int64_t dNext = (((k + 1) * 256 * L) + (int64_t(1) << shift) - 1) >> shift;
        const int64_t yNext = std::min<int64_t>(end, (dNext + H - L + 1) >> 1);  // first row with d >= dNext
        engine_math::fillRows(col + y, static_cast<int>(yNext) - y, source.at(static_cast<int>(k)));
        y = static_cast<int>(yNext);
        ++k;
    }
}

// Wall stripe: texture row ((d * 128) << shift) / lineHeight >> 8 with d = 2y - H + lineHeight,
// kept as a running quotient and remainder instead of one division per pixel.
template <typename Pixel, typename Texels>
__attribute__((noinline)) void drawWall(const Frame<Pixel>& f, const Texels& texels, const engine_ray::Hit& hit, int texNum, int* col) {
    const PoolTexture& t = f.tex[texNum];
    int64_t column = truncToInt(hit.wallX * t.fw);
    if ((hit.side == 0 && hit.rayDirX > 0) || (hit.side == 1 && hit.rayDirY < 0)) column = t.w - column - 1;
    int y = hit.drawStart;
    const int end = hit.drawEnd;
    if (y >= end) return;
    if (column < 0 || column >= t.w) {
        for (; y < end; ++y) col[y] = -1;  // what a read beside the texture answers
        return;
    }
    const auto source = texels.column(texNum, static_cast<int>(column));
    const int64_t L = hit.lineHeight;
    const int64_t scale = int64_t(128) << t.heightShift;
    int64_t d = 2 * int64_t(y) - f.H + L;
    if (d < 0) {  // the top row of an odd stripe; the ceiling overwrites it
        const int64_t texY = ((d * scale) / L) >> 8;
        col[y] = texY < 0 ? -1 : source.at(static_cast<int>(texY));
        ++y;
        d += 2;
    }
    if (L >= (int64_t(4) << t.heightShift)) {
        drawRuns(source, y, end, d, L, t.heightShift, f.H, col);
        return;
    }
    int64_t q = (d * scale) / L, r = (d * scale) % L;
    const int64_t stepQ = (2 * scale) / L, stepR = (2 * scale) % L;
    for (; y < end; ++y) {
        col[y] = source.at(static_cast<int>(q >> 8));
        q += stepQ;
        r += stepR;
        if (r >= L) {  // a branch, not a select: predicted, it keeps the loop free of a dependency chain
            ++q;
            r -= L;
        }
    }
}

// Floor rows from the wall's foot down to H; ceiling row H - y mirrors floor row y and is written
// after it. Any textures, shading included.
template <typename Pixel, typename Texels>
void drawPlanes(const Frame<Pixel>& f, const Texels& texels, const engine_ray::Hit& hit, int* col) {
    const int H = f.H, start = hit.drawEnd < 0 ? H : hit.drawEnd;
    const engine_floor::Column c{f.rowDist, start, H, hit.perpWallDist, hit.floorXWall, hit.floorYWall,
                                 f.px, f.py, f.mapW, f.mapH};
    for (int y = start; y <= H; ++y) {
        const engine_floor::Point p = engine_floor::floorPoint(c, y);
        const float fx = p.x, fy = p.y;
        const int cell = p.cell;
        if (y != H) {
            const int code = f.floorCodes[cell];
            const PoolTexture& t = f.tex[code];
            int colour = texels.at(code, truncToInt(t.fw * fx) & t.wMask, truncToInt(t.fh * fy) & t.hMask);
            if (f.floorShade != 0) darkenColor(colour, f.floorShade);
            col[y] = colour;
        }
        if (y != start) {
            const int code = f.ceilingCodes[cell];
            if (code == 0xFF) {
                col[H - y] = f.sky;
            } else {
                const PoolTexture& t = f.tex[code];
                int colour = texels.at(code, truncToInt(t.fw * fx) & t.wMask, truncToInt(t.fh * fy) & t.hMask);
                if (f.ceilingShade != 0) darkenColor(colour, f.ceilingShade);
                col[H - y] = colour;
            }
        }
    }
}

// A texel of a cell whose texture is not of its side's main size: the floor point of the row is
// cast again, as the per-row path casts it.
template <typename Pixel>
__attribute__((noinline)) int oddTexel(const Frame<Pixel>& f, const engine_floor::Column& c, int code, int y) {
    const engine_floor::Point p = engine_floor::floorPoint(c, y);
    const int offset = engine_floor::texelOffset(sizeOf(f.tex[code]), p.x, p.y);
    return static_cast<int>(f.codeFirst[code][offset]);
}


// Floor rows from the wall's foot down to H, and the ceiling rows mirrored to them: the floor
// points of the column are cast at once, then each texel fetched by offset. The loop is bound by
// its instructions and loads: one load finds both textures' starts for a row's cell, one 64-bit
// add of both offsets makes both texels' indices (neither half can carry: starts and offsets stay
// below 2^31), and everything else is held in locals. With one size, the row's cell and offset
// come in one load, and a multiply puts the offset in both halves; with many, each cell says
// which size its floor and its ceiling read.
template <typename Pixel, bool oddCells, int layout>
void drawPlanesBulk(const Frame<Pixel>& f, const engine_ray::Hit& hit, int* col) {
    const int H = f.H, start = hit.drawEnd;
    const engine_floor::Column c{f.rowDist, start, H, hit.perpWallDist, hit.floorXWall, hit.floorYWall,
                                 f.px, f.py, f.mapW, f.mapH};
    engine_floor::castRows(c, f.sizes, f.sizeCount, {f.cells, f.words, layout == 3 ? f.bySize : nullptr, f.stride});
    const int rows = H - start;  // floor rows start ... H - 1; ceiling rows for start + 1 ... H
    if (rows <= 0) return;
    int* const floorOut = col + start;
    int* const ceilingOut = col + (H - start);
    const uint32_t* const cells = f.cells;
    const uint64_t* const words = f.words;
    const uint32_t* const bySize = f.bySize;
    const uint64_t* const cellSizes = f.cellSizes;
    const uint64_t* const cellStarts = f.cellStarts;
    const Pixel* const base = f.base;
    // Row i's cell, and its floor offset (low half) and ceiling offset (high half).
    auto cellOf = [&](int i) { return layout > 1 ? cells[i] : static_cast<uint32_t>(words[i]); };
    auto offsetsOf = [&](int i, uint32_t cell) -> uint64_t {
        if (layout == 1) return (words[i] >> 32) * 0x100000001ull;
        if (layout == 2) return words[i];
        const uint64_t at = cellSizes[cell];
        return bySize[static_cast<uint32_t>(at) + i] | static_cast<uint64_t>(bySize[(at >> 32) + i]) << 32;
    };
    auto texel = [&](uint32_t first, uint32_t offset, const unsigned char* codes, uint32_t cell, int y) {
        if (oddCells && first == ODD) return oddTexel(f, c, codes[cell], y);
        return static_cast<int>(base[static_cast<size_t>(first) + offset]);
    };
    floorOut[0] = texel(static_cast<uint32_t>(cellStarts[cellOf(0)]), static_cast<uint32_t>(offsetsOf(0, cellOf(0))),
                        f.floorCodes, cellOf(0), start);
    // The first odd cell sends the rest of the column to the loop after this one, so that this one
    // keeps everything it needs in registers.
    int i = 1;
    if (layout == 3) {
        // The rows of one cell at a time: its starts and sizes are looked up once per run, so a
        // row takes only its two offsets and two texels. (The other layouts lose by runs: the
        // test at each row costs more than the one load it saves them.)
        while (i < rows) {
            const uint32_t cell = cells[i];
            const uint64_t starts = cellStarts[cell];
            if (oddCells && (starts & ODD_BITS)) break;  // one test for both sides
            const uint64_t sizes = cellSizes[cell];
            const uint32_t* const floorOffsets = bySize + static_cast<uint32_t>(sizes);
            const uint32_t* const ceilingOffsets = bySize + (sizes >> 32);
            const Pixel* const floorTexels = base + static_cast<uint32_t>(starts);
            const Pixel* const ceilingTexels = base + (starts >> 32);
            do {
                floorOut[i] = static_cast<int>(floorTexels[floorOffsets[i]]);
                ceilingOut[-i] = static_cast<int>(ceilingTexels[ceilingOffsets[i]]);
                ++i;
            } while (i < rows && cells[i] == cell);
        }
    } else {
#pragma GCC unroll 8
        for (; i < rows; ++i) {
            const uint32_t cell = cellOf(i);
            const uint64_t starts = cellStarts[cell];
            if (oddCells && (starts & ODD_BITS)) break;  // one test for both sides
            const uint64_t at = starts + offsetsOf(i, cell);
            floorOut[i] = static_cast<int>(base[static_cast<uint32_t>(at)]);
            ceilingOut[-i] = static_cast<int>(base[at >> 32]);
        }
    }
    for (; i < rows; ++i) {
        const uint32_t cell = cellOf(i);
        const uint64_t starts = cellStarts[cell], offsets = offsetsOf(i, cell);
        floorOut[i] = texel(static_cast<uint32_t>(starts), static_cast<uint32_t>(offsets), f.floorCodes, cell, start + i);
        ceilingOut[-i] =
            texel(static_cast<uint32_t>(starts >> 32), static_cast<uint32_t>(offsets >> 32), f.ceilingCodes, cell, start + i);
    }
    const uint32_t last = cellOf(rows);
    ceilingOut[-rows] = texel(static_cast<uint32_t>(cellStarts[last] >> 32), static_cast<uint32_t>(offsetsOf(rows, last) >> 32),
                              f.ceilingCodes, last, H);
}

// Sets up the bulk floor pass. Each side (floors, ceilings) is read at its main texture size, the
// size most of its cells show; a cell of another size (often a wall cell, read only where a floor
// point lies on the wall's face) is left to oddTexel. Open sky is a block of sky texels of the
// ceilings' main size. False (the per-row path) for a sky colour the pixels cannot hold, or codes
// the pass cannot tell from the sky.
template <typename Pixel>
bool prepareBulk(Frame<Pixel>& f, engine_render::TexelTables<Pixel>& tables, int textureCount, unsigned level) {
    const int cellCount = f.mapW * f.mapH;
    if (cellCount <= 0 || static_cast<int>(static_cast<Pixel>(f.sky)) != f.sky) return false;
    int* const floorCells = tables.floorCells;
    int* const ceilingCells = tables.ceilingCells;
    if (tables.level != level) {
        std::fill_n(floorCells, 256, 0);
        std::fill_n(ceilingCells, 256, 0);
        std::fill_n(tables.openFloorCells, 256, 0);
        std::fill_n(tables.openCeilingCells, 256, 0);
        for (int i = 0; i < cellCount; ++i) {
            ++floorCells[f.floorCodes[i]];
            ++ceilingCells[f.ceilingCodes[i]];
            if (f.walls[i] != 0xFFFF) continue;
            ++tables.openFloorCells[f.floorCodes[i]];
            ++tables.openCeilingCells[f.ceilingCodes[i]];
        }
        tables.level = level;
        tables.cellStarts.clear();
    }
    if (floorCells[0xFF]) return false;  // a floor's 0xFF is a texture, a ceiling's the sky
    for (int code = 0; code < 0xFF; ++code)
        if ((floorCells[code] || ceilingCells[code]) && code >= textureCount) return false;
    // The main size of a side: the size of the texture shown by most of its cells.
    auto mainSize = [&](const int* cells) {
        int used[255], count = 0;
        for (int code = 0; code < 0xFF; ++code)
            if (cells[code]) used[count++] = code;
        int best = -1, bestCells = 0;
        for (int a = 0; a < count; ++a) {
            const PoolTexture& t = f.tex[used[a]];
            int n = 0;
            for (int b = 0; b < count; ++b)
                if (f.tex[used[b]].w == t.w && f.tex[used[b]].h == t.h) n += cells[used[b]];
            if (n > bestCells) best = used[a], bestCells = n;
        }
        return best;
    };
    const int floorMain = mainSize(floorCells);
    int ceilingMain = mainSize(ceilingCells);
    if (floorMain < 0) return false;
    if (ceilingMain < 0) ceilingMain = floorMain;  // nothing but sky
    const PoolTexture& fm = f.tex[floorMain];
    const PoolTexture& cm = f.tex[ceilingMain];
    // A texel offset must stay below 2^31, so that the pass's add of two never carries.
    const int64_t most = int64_t(1) << 31;
    if (int64_t(fm.w) * fm.h > most || int64_t(cm.w) * cm.h > most) return false;
    f.sizes[0] = sizeOf(fm);
    f.sizes[1] = sizeOf(cm);
    f.sizeCount = fm.w == cm.w && fm.h == cm.h ? 1 : 2;  // one size: one offset serves both sides
    const size_t skyTexels = static_cast<size_t>(cm.w) * static_cast<size_t>(cm.h);
    if (tables.sky.size() != skyTexels || static_cast<int>(tables.sky[0]) != f.sky)
        tables.sky.assign(skyTexels, static_cast<Pixel>(f.sky));
    for (int code = 0; code < 0xFF && code < textureCount; ++code) f.codeFirst[code] = tables.first[code];
    f.codeFirst[0xFF] = tables.sky.data();
    // One base for all: the lowest first texel. Every start must be a whole number of texels from
    // it and, with any offset added, stay below ODD; otherwise the per-row path draws.
    uintptr_t low = reinterpret_cast<uintptr_t>(tables.sky.data());
    for (int code = 0; code < 0xFF && code < textureCount; ++code)
        low = std::min(low, reinterpret_cast<uintptr_t>(f.codeFirst[code]));
    f.base = reinterpret_cast<const Pixel*>(low);
    uint32_t starts[256];
    for (int code = 0; code < 256; ++code) {
        const bool known = code == 0xFF || code < textureCount;
        const uintptr_t gap = known ? reinterpret_cast<uintptr_t>(f.codeFirst[code]) - low : 0;
        if (gap % sizeof(Pixel) != 0 || gap / sizeof(Pixel) >= (uintptr_t(1) << 31)) return false;
        starts[code] = static_cast<uint32_t>(gap / sizeof(Pixel));
    }
    // The size each code is read at, per side (an index into f.sizes), or -1: ODD, read one by one.
    int floorSize[256], ceilingSize[256];
    for (int code = 0; code < 256; ++code) {
        const bool known = code < textureCount && code != 0xFF;
        floorSize[code] = known && f.tex[code].w == fm.w && f.tex[code].h == fm.h ? 0 : -1;
        ceilingSize[code] = code == 0xFF || (known && f.tex[code].w == cm.w && f.tex[code].h == cm.h) ? f.sizeCount - 1 : -1;
    }
    f.layout = f.sizeCount;
    // Open cells (no wall) of neither main size would send most columns to the slow loop. Then every
    // row is cast at each size open cells show, up to MAX_SIZES, and each cell says which size its
    // floor and its ceiling read. A wall cell's floor shows only where a floor point lies on the
    // wall's face, so its size is not worth a cast of every row.
    bool scattered = false;
    for (int code = 0; code < 256; ++code)
        scattered = scattered || (tables.openFloorCells[code] && floorSize[code] < 0) ||
                    (tables.openCeilingCells[code] && ceilingSize[code] < 0);
    if (scattered) {
        int count = f.sizeCount, w[engine_floor::MAX_SIZES] = {fm.w, cm.w}, h[engine_floor::MAX_SIZES] = {fm.h, cm.h};
        auto sizeIndex = [&](int code, bool add) {
            const PoolTexture& t = f.tex[code];
            for (int k = 0; k < count; ++k)
                if (w[k] == t.w && h[k] == t.h) return k;
            if (!add || count == engine_floor::MAX_SIZES || int64_t(t.w) * t.h > most) return -1;
            w[count] = t.w, h[count] = t.h, f.sizes[count] = sizeOf(t);
            return count++;
        };
        int floorMany[256], ceilingMany[256];
        std::copy_n(floorSize, 256, floorMany);
        std::copy_n(ceilingSize, 256, ceilingMany);
        bool fits = true;
        for (int code = 0; code < 0xFF && fits; ++code) {
            if (tables.openFloorCells[code]) fits = (floorMany[code] = sizeIndex(code, true)) >= 0;
            if (tables.openCeilingCells[code] && fits) fits = (ceilingMany[code] = sizeIndex(code, true)) >= 0;
        }
        if (fits) {
            for (int code = 0; code < 0xFF && code < textureCount; ++code) {  // wall cells, where their size is cast anyway
                if (floorMany[code] < 0) floorMany[code] = sizeIndex(code, false);
                if (ceilingMany[code] < 0) ceilingMany[code] = sizeIndex(code, false);
            }
            std::copy_n(floorMany, 256, floorSize);
            std::copy_n(ceilingMany, 256, ceilingSize);
            f.sizeCount = count;
            f.layout = 3;
        }
    }
    uint32_t floorStart[256], ceilingStart[256];
    for (int code = 0; code < 256; ++code) {
        floorStart[code] = floorSize[code] >= 0 ? starts[code] : ODD;
        ceilingStart[code] = ceilingSize[code] >= 0 ? starts[code] : ODD;
    }
    const int stride = f.layout == 3 ? f.stride : 0;
    if (tables.cellStarts.size() != static_cast<size_t>(cellCount) ||
        !std::equal(floorStart, floorStart + 256, tables.floorStart) ||
        !std::equal(ceilingStart, ceilingStart + 256, tables.ceilingStart) ||
        !std::equal(floorSize, floorSize + 256, tables.floorSize) ||
        !std::equal(ceilingSize, ceilingSize + 256, tables.ceilingSize) || tables.stride != stride) {
        tables.cellStarts.resize(static_cast<size_t>(cellCount));
        tables.cellSizes.resize(stride ? static_cast<size_t>(cellCount) : 0);
        tables.oddCells = false;
        for (int i = 0; i < cellCount; ++i) {
            const int floorCode = f.floorCodes[i], ceilingCode = f.ceilingCodes[i];
            const uint32_t floor = floorStart[floorCode], ceiling = ceilingStart[ceilingCode];
            tables.cellStarts[i] = engine_floor::pack(static_cast<int>(floor), static_cast<int>(ceiling));
            tables.oddCells = tables.oddCells || floor == ODD || ceiling == ODD;
            if (stride)
                tables.cellSizes[i] = engine_floor::pack(std::max(floorSize[floorCode], 0) * stride,
                                                         std::max(ceilingSize[ceilingCode], 0) * stride);
        }
        std::copy_n(floorStart, 256, tables.floorStart);
        std::copy_n(ceilingStart, 256, tables.ceilingStart);
        std::copy_n(floorSize, 256, tables.floorSize);
        std::copy_n(ceilingSize, 256, tables.ceilingSize);
        tables.stride = stride;
    }
    f.cellSizes = tables.cellSizes.data();
    f.oddCells = tables.oddCells;
    f.cellStarts = tables.cellStarts.data();
    return true;
}

}  // namespace

template <>
engine_render::TexelTables<uint32_t>& Kelda_engine::tables() { return tables32; }
template <>
engine_render::TexelTables<uint16_t>& Kelda_engine::tables() { return tables16; }
template <>
engine_render::TexelTables<int>& Kelda_engine::tables() { return tablesPool; }

void Kelda_engine::prepareTextures() {
    // Textures of one depth with gapless rows are read in place; others are mirrored in the pool.
    int depth = textureCount > 0 && textures[0] ? bitmap_color_depth(textures[0]) : 0;
    if (depth == 15) depth = 16;
    shapes.assign(textureCount, PoolTexture{});
    for (int i = 0; i < textureCount; ++i) {
        BITMAP* t = textures[i];
        if (!t) {
            depth = 0;
            continue;
        }
        shapes[i] = PoolTexture{0, t->w, t->h, t->w - 1, t->h - 1, textureWidthShift ? textureWidthShift[i] : 0,
                                textureHeightShift ? textureHeightShift[i] : 0, static_cast<float>(t->w),
                                static_cast<float>(t->h)};
        int d = bitmap_color_depth(t);
        if (d == 15) d = 16;
        const long rowBytes = static_cast<long>(t->w) * ((d + 7) / 8);
        bool gapless = is_memory_bitmap(t) && d == depth && (d == 16 || d == 32);
        for (int y = 1; gapless && y < t->h; ++y) gapless = t->line[y] == t->line[0] + y * rowBytes;
        if (!gapless) depth = 0;
    }
    texelMode = depth == 32 ? 32 : depth == 16 ? 16 : 0;
    if (texelMode == 32) {
        tables32.first.resize(textureCount);
        for (int i = 0; i < textureCount; ++i) tables32.first[i] = reinterpret_cast<const uint32_t*>(textures[i]->line[0]);
    } else if (texelMode == 16) {
        tables16.first.resize(textureCount);
        for (int i = 0; i < textureCount; ++i) tables16.first[i] = reinterpret_cast<const uint16_t*>(textures[i]->line[0]);
    } else if (texturePool.refresh(textures, textureCount, textureWidthShift, textureHeightShift)) {
        texelMode = 1;
        tablesPool.first.resize(textureCount);
        for (int i = 0; i < textureCount; ++i) tablesPool.first[i] = texturePool.texels() + texturePool.textures()[i].start;
    }
}

void Kelda_engine::render() {
    crosshairSprite = -1;
    if (!columns || !zBuffer || !cameraColumn || !rowDistance || viewWidth <= 0 || viewHeight <= 0 || !walls)
        return;
    prepareTextures();
    if (texelMode == 32)
        renderColumns<uint32_t>();
    else if (texelMode == 16)
        renderColumns<uint16_t>();
    else
        renderColumns<int>();
    renderSprites();
}

template <typename Pixel>
void Kelda_engine::renderColumns() {
    Frame<Pixel> f;
    f.W = viewWidth;
    f.H = viewHeight;
    f.mapW = mapWidth;
    f.mapH = mapHeight;
    f.px = posX;
    f.py = posY;
    f.floorCodes = floors;
    f.ceilingCodes = ceilings;
    f.rowDist = rowDistance;
    f.tex = shapes.data();
    f.sky = skyColor;
    f.floorShade = floorShade;
    f.ceilingShade = ceilingShade;
    f.bulk = false;
    f.layout = 1;
    f.oddCells = false;
    f.sizeCount = 1;
    const bool direct = texelMode != 0;
    engine_render::TexelTables<Pixel>& t = tables<Pixel>();
    if (direct && floorShade == 0 && ceilingShade == 0) {
        const size_t rows = static_cast<size_t>(f.H) + 1;
        rowCells.resize(rows);
        rowWords.resize(rows);
        rowBySize.resize(rows * engine_floor::MAX_SIZES);
        f.cells = rowCells.data();
        f.words = rowWords.data();
        f.bySize = rowBySize.data();
        f.stride = static_cast<int>(rows);
        f.walls = walls;
        f.bulk = prepareBulk(f, t, textureCount, levelLoads);
    }
    const DirectTexels<Pixel> directTexels{t.first.data(), shapes.data()};
    void (*const passes[2][3])(const Frame<Pixel>&, const engine_ray::Hit&, int*) = {
        {drawPlanesBulk<Pixel, false, 1>, drawPlanesBulk<Pixel, false, 2>, drawPlanesBulk<Pixel, false, 3>},
        {drawPlanesBulk<Pixel, true, 1>, drawPlanesBulk<Pixel, true, 2>, drawPlanesBulk<Pixel, true, 3>}};
    void (*const bulkPass)(const Frame<Pixel>&, const engine_ray::Hit&, int*) =
        f.bulk ? passes[f.oddCells ? 1 : 0][f.layout - 1] : nullptr;
    const LibraryTexels libraryTexels{textures};

    const engine_ray::Camera cam{posX, posY, dirX, dirY, planeX, planeY};
    const engine_ray::Grid grid{walls, mapWidth, mapHeight};
    // A view larger than the processor's caches (4K) would wait for each column's lines to come
    // from memory as it writes them: ask for the next column's lines while this one is drawn.
    const bool fetchAhead = static_cast<int64_t>(f.W) * f.H > (int64_t(1) << 22);
    for (int x = 0; x < f.W; ++x) {
        int* const col = columns[x];
        if (fetchAhead && x + 1 < f.W)
            for (int y = 0; y < f.H; y += 16) __builtin_prefetch(columns[x + 1] + y, 1);
        const engine_ray::Hit hit = engine_ray::cast(cam, grid, cameraColumn[x], f.H);
        if (!hit.found) {
            // Outside the grid there is only sky, and nothing that hides a sprite.
            for (int y = 0; y < f.H; ++y) col[y] = f.sky;
            zBuffer[x] = FLT_MAX;
            continue;
        }
        const int wall = walls[hit.mapY * mapWidth + hit.mapX];
        zBuffer[x] = hit.perpWallDist;
        if (!direct) {
            drawWall(f, libraryTexels, hit, wall, col);
            drawPlanes(f, libraryTexels, hit, col);
            continue;
        }
        drawWall(f, directTexels, hit, wall, col);
        if (f.bulk && hit.perpWallDist != 0.0f)
            bulkPass(f, hit, col);
        else
            drawPlanes(f, directTexels, hit, col);
    }
}
