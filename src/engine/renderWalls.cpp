// The 3D view, column by column: one ray per column finds the wall, then the wall stripe, the floor
// below it and the mirrored ceiling above it are drawn. Texels are read straight from the texture
// rows (16 and 32 bits), from the texture pool (other depths), or through the library's reader for
// bitmaps of another kind; the arithmetic is the plain single-precision algorithm, step for step,
// so the picture is the same as with one getpixel per texel.
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "engine/engine.h"
#include "engine/floorRows.h"
#include "engine/rayCast.h"
#include "engine/renderMath.h"

using engine_math::divide;
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
    // The bulk floor pass: the floor points of a column cast at once for each texture size in use,
    // then every texel fetched by offset.
    bool bulk;
    int sizeCount;
    engine_floor::Size sizes[engine_floor::MAX_SIZES];
    int* cells;
    int* texels[engine_floor::MAX_SIZES];
    // Per floor or ceiling code, its texture's first texel (open sky reads a block of sky texels)
    // and the index of its size; the one size of every floor (ceiling) texture, or -1.
    const Pixel* codeFirst[256];
    int codeSize[256];
    int floorSize, ceilingSize;
};

// Wall stripe: texture row ((d * 128) << shift) / lineHeight >> 8 with d = 2y - H + lineHeight,
// kept as a running quotient and remainder instead of one division per pixel.
template <typename Pixel, typename Texels>
void drawWall(const Frame<Pixel>& f, const Texels& texels, const engine_ray::Hit& hit, int texNum, int* col) {
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
    const float fMapH = static_cast<float>(f.mapH), lastRow = static_cast<float>(f.mapH - 1);
    const float perp = hit.perpWallDist;
    for (int y = start; y <= H; ++y) {
        const float weight = divide(f.rowDist[y], perp);
        const float fx = weight * hit.floorXWall + (1.0f - weight) * f.px;
        float fy = weight * hit.floorYWall + (1.0f - weight) * f.py;
        if (fy > fMapH) fy = lastRow;
        int cx = truncToInt(fx), cy = truncToInt(fy);
        if (cx < 0 || cx > f.mapW - 1) cx = f.mapW - 1;
        if (cy < 0 || cy > f.mapH - 1) cy = f.mapH - 1;
        const int cell = cy * f.mapW + cx;
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

// The rows of a bulk column after the first: floor row i and the ceiling row mirrored to it.
// Everything is held in locals, so that the stores into the column cannot make the compiler read
// it again.
template <typename Pixel, bool floorOne, bool ceilingOne>
void drawRowsBulk(const Frame<Pixel>& f, int rows, int* floorOut, int* ceilingOut) {
    const int* const cells = f.cells;
    const unsigned char* const floorCodes = f.floorCodes;
    const unsigned char* const ceilingCodes = f.ceilingCodes;
    const Pixel* const* const codeFirst = f.codeFirst;
    const int* const codeSize = f.codeSize;
    const int* const floorOffsets = f.texels[floorOne ? f.floorSize : 0];
    const int* const ceilingOffsets = f.texels[ceilingOne ? f.ceilingSize : 0];
    int* const* const texels = f.texels;
    for (int i = 1; i < rows; ++i) {
        const int cell = cells[i];
        const int floor = floorCodes[cell], ceiling = ceilingCodes[cell];
        const int* fo = floorOne ? floorOffsets : texels[codeSize[floor]];
        const int* co = ceilingOne ? ceilingOffsets : texels[codeSize[ceiling]];
        floorOut[i] = static_cast<int>(codeFirst[floor][fo[i]]);
        ceilingOut[-i] = static_cast<int>(codeFirst[ceiling][co[i]]);
    }
}

template <typename Pixel>
void drawPlanesBulk(const Frame<Pixel>& f, const engine_ray::Hit& hit, int* col) {
    const int H = f.H, start = hit.drawEnd;
    const engine_floor::Column c{f.rowDist, start, H, hit.perpWallDist, hit.floorXWall, hit.floorYWall,
                                 f.px, f.py, f.mapW, f.mapH};
    engine_floor::castRows(c, f.sizes, f.sizeCount, f.cells, f.texels);
    const int rows = H - start;  // floor rows start ... H - 1; ceiling rows for start + 1 ... H
    if (rows <= 0) return;
    int* const floorOut = col + start;
    int* const ceilingOut = col + (H - start);
    const int floor = f.floorCodes[f.cells[0]], ceiling = f.ceilingCodes[f.cells[rows]];
    floorOut[0] = static_cast<int>(f.codeFirst[floor][f.texels[f.codeSize[floor]][0]]);
    if (f.floorSize >= 0 && f.ceilingSize >= 0)
        drawRowsBulk<Pixel, true, true>(f, rows, floorOut, ceilingOut);
    else
        drawRowsBulk<Pixel, false, false>(f, rows, floorOut, ceilingOut);
    ceilingOut[-rows] = static_cast<int>(f.codeFirst[ceiling][f.texels[f.codeSize[ceiling]][rows]]);
}

// Sets up the bulk floor pass: one size per distinct texture size among the floor and ceiling
// codes in use (wall cells included: a floor point on a wall's face reads that cell), and open
// sky as a block of sky texels as large as the largest of them. False (the per-row path) for more
// sizes than that, a sky colour the pixels cannot hold, or codes the pass cannot tell from the sky.
template <typename Pixel>
bool prepareBulk(Frame<Pixel>& f, engine_render::TexelTables<Pixel>& tables, int textureCount) {
    const int cellCount = f.mapW * f.mapH;
    unsigned char used[256] = {};  // bit 0: some floor shows the code, bit 1: some ceiling
    for (int i = 0; i < cellCount; ++i) {
        if (f.floorCodes[i] == 0xFF) return false;  // a floor's 0xFF is a texture, a ceiling's the sky
        used[f.floorCodes[i]] |= 1;
        used[f.ceilingCodes[i]] |= 2;
    }
    if (static_cast<int>(static_cast<Pixel>(f.sky)) != f.sky) return false;
    f.sizeCount = 0;
    f.floorSize = f.ceilingSize = -2;  // -2: none yet, -1: several
    int largest = 1;
    for (int code = 0; code < 0xFF; ++code) {
        if (!used[code]) continue;
        if (code >= textureCount) return false;
        const PoolTexture& t = f.tex[code];
        int k = 0;
        while (k < f.sizeCount && !(f.sizes[k].texW == t.fw && f.sizes[k].texH == t.fh)) ++k;
        if (k == f.sizeCount) {
            if (k == engine_floor::MAX_SIZES) return false;
            f.sizes[k] = engine_floor::Size{t.fw, t.fh, t.wMask, t.hMask, t.wShift};
            ++f.sizeCount;
            if (t.w * t.h > largest) largest = t.w * t.h;
        }
        f.codeFirst[code] = tables.first[code];
        f.codeSize[code] = k;
        if (used[code] & 1) f.floorSize = f.floorSize == -2 || f.floorSize == k ? k : -1;
        if (used[code] & 2) f.ceilingSize = f.ceilingSize == -2 || f.ceilingSize == k ? k : -1;
    }
    if (f.sizeCount == 0) return false;
    if (f.floorSize < 0) f.floorSize = -1;
    if (f.ceilingSize == -2) f.ceilingSize = 0;  // nothing but sky: any size's offsets stay inside its block
    if (tables.sky.size() != static_cast<size_t>(largest) || (tables.sky.size() && int(tables.sky[0]) != f.sky))
        tables.sky.assign(static_cast<size_t>(largest), static_cast<Pixel>(f.sky));
    f.codeFirst[0xFF] = tables.sky.data();
    f.codeSize[0xFF] = f.ceilingSize < 0 ? 0 : f.ceilingSize;
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
    const bool direct = texelMode != 0;
    engine_render::TexelTables<Pixel>& t = tables<Pixel>();
    if (direct && floorShade == 0 && ceilingShade == 0) {
        const size_t rows = static_cast<size_t>(f.H) + 1;
        rowCell.resize(rows);
        rowTexels.resize(rows * engine_floor::MAX_SIZES);
        f.cells = rowCell.data();
        for (int k = 0; k < engine_floor::MAX_SIZES; ++k) f.texels[k] = rowTexels.data() + k * rows;
        f.bulk = prepareBulk(f, t, textureCount);
    }
    const DirectTexels<Pixel> directTexels{t.first.data(), shapes.data()};
    const LibraryTexels libraryTexels{textures};

    const engine_ray::Camera cam{posX, posY, dirX, dirY, planeX, planeY};
    const engine_ray::Grid grid{walls, mapWidth, mapHeight};
    for (int x = 0; x < f.W; ++x) {
        int* const col = columns[x];
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
            drawPlanesBulk(f, hit, col);
        else
            drawPlanes(f, directTexels, hit, col);
    }
}
