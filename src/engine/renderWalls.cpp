// The 3D view, column by column: one ray per column finds the wall, then the wall stripe, the floor
// below it and the mirrored ceiling above it are drawn. Texels are read straight from the texture
// rows; the arithmetic is the plain single-precision algorithm, step for step, so the picture is
// the same as with one getpixel per texel.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "engine/engine.h"
#include "engine/floorRows.h"
#include "engine/rayCast.h"
#include "engine/renderMath.h"

using engine_math::divide;
using engine_math::truncToInt;
using engine_render::TexelSource;

namespace {

// Any bitmap layout: the library's own reader.
struct AnyPixel {};

template <typename Pixel>
struct Texels {
    static int at(const unsigned char* const* line, BITMAP*, int x, int y) {
        return static_cast<int>(reinterpret_cast<const Pixel*>(line[y])[x]);
    }
};
template <>
struct Texels<AnyPixel> {
    static int at(const unsigned char* const*, BITMAP* bmp, int x, int y) { return getpixel(bmp, x, y); }
};

inline bool readableRows(BITMAP* bmp, int depth) {
    return bmp && is_memory_bitmap(bmp) && bitmap_color_depth(bmp) == depth;
}

template <typename Pixel>
inline int texelAt(const unsigned char* base, int offset) {
    return static_cast<int>(reinterpret_cast<const Pixel*>(base)[offset]);
}

// What every column of one frame shares.
struct Frame {
    int W, H, mapW, mapH;
    float px, py;
    const unsigned char* floorCodes;
    const unsigned char* ceilingCodes;
    const float* rowDist;
    const TexelSource* src;
    BITMAP* const* tex;
    int sky, floorShade, ceilingShade;
    // The bulk floor pass: textures of one size, read by offset from their first texel.
    bool bulk, skyAsTexture;
    TexelSource uniform;
    const unsigned char* const* base;
    const unsigned char* const* ceilingBase;
    int* cells;
    int* texels;
};

// Wall stripe: texture row ((d * 128) << shift) / lineHeight >> 8 with d = 2y - H + lineHeight,
// kept as a running quotient and remainder instead of one division per pixel.
template <typename Pixel>
void drawWall(const Frame& f, const engine_ray::Hit& hit, int texNum, int* col) {
    const TexelSource& t = f.src[texNum];
    int64_t column = truncToInt(hit.wallX * t.fw);
    if ((hit.side == 0 && hit.rayDirX > 0) || (hit.side == 1 && hit.rayDirY < 0)) column = t.w - column - 1;
    int y = hit.drawStart;
    const int end = hit.drawEnd;
    if (y >= end) return;
    if (column < 0 || column >= t.w) {
        for (; y < end; ++y) col[y] = -1;  // what a read beside the texture answers
        return;
    }
    const int texX = static_cast<int>(column);
    const int64_t L = hit.lineHeight;
    const int64_t scale = int64_t(128) << t.heightShift;
    int64_t d = 2 * int64_t(y) - f.H + L;
    if (d < 0) {  // the top row of an odd stripe; the ceiling overwrites it
        const int64_t texY = ((d * scale) / L) >> 8;
        col[y] = texY < 0 ? -1 : Texels<Pixel>::at(t.line, f.tex[texNum], texX, static_cast<int>(texY));
        ++y;
        d += 2;
    }
    int64_t q = (d * scale) / L, r = (d * scale) % L;
    const int64_t stepQ = (2 * scale) / L, stepR = (2 * scale) % L;
    for (; y < end; ++y) {
        col[y] = Texels<Pixel>::at(t.line, f.tex[texNum], texX, static_cast<int>(q >> 8));
        q += stepQ;
        r += stepR;
        if (r >= L) {
            ++q;
            r -= L;
        }
    }
}

// Floor rows from the wall's foot down to H; ceiling row H - y mirrors floor row y and is written
// after it. Any textures, shading included.
template <typename Pixel>
void drawPlanes(const Frame& f, const engine_ray::Hit& hit, int* col) {
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
            const TexelSource& t = f.src[code];
            int colour = Texels<Pixel>::at(t.line, f.tex[code], truncToInt(t.fw * fx) & t.wMask,
                                           truncToInt(t.fh * fy) & t.hMask);
            if (f.floorShade != 0) darkenColor(colour, f.floorShade);
            col[y] = colour;
        }
        if (y != start) {
            const int code = f.ceilingCodes[cell];
            if (code == 0xFF) {
                col[H - y] = f.sky;
            } else {
                const TexelSource& t = f.src[code];
                int colour = Texels<Pixel>::at(t.line, f.tex[code], truncToInt(t.fw * fx) & t.wMask,
                                               truncToInt(t.fh * fy) & t.hMask);
                if (f.ceilingShade != 0) darkenColor(colour, f.ceilingShade);
                col[H - y] = colour;
            }
        }
    }
}

// The same picture for levels whose textures share one size: the floor points of all rows are
// cast first, then the texels are fetched by offset.
template <typename Pixel>
void drawPlanesBulk(const Frame& f, const engine_ray::Hit& hit, int* col) {
    const int H = f.H, start = hit.drawEnd;
    const TexelSource& u = f.uniform;
    const engine_floor::Column c{f.rowDist, start, H, hit.perpWallDist, hit.floorXWall, hit.floorYWall,
                                 f.px, f.py, f.mapW, f.mapH, u.fw, u.fh, u.wMask, u.hMask, u.widthShift};
    int* const cells = f.cells;
    int* const texels = f.texels;
    engine_floor::castRows(c, cells, texels);
    const int rows = H - start;  // floor rows start ... H - 1; ceiling rows for start + 1 ... H
    int* const floorOut = col + start;
    for (int i = 0; i < rows; ++i) floorOut[i] = texelAt<Pixel>(f.base[f.floorCodes[cells[i]]], texels[i]);
    int* const ceilingOut = col + (H - start);
    if (f.skyAsTexture) {
        for (int i = 1; i <= rows; ++i)
            ceilingOut[-i] = texelAt<Pixel>(f.ceilingBase[f.ceilingCodes[cells[i]]], texels[i]);
        return;
    }
    for (int i = 1; i <= rows; ++i) {
        const int code = f.ceilingCodes[cells[i]];
        ceilingOut[-i] = code == 0xFF ? f.sky : texelAt<Pixel>(f.base[code], texels[i]);
    }
}

}  // namespace

void Kelda_engine::prepareTexelSources() {
    texelSources.assign(textureCount, TexelSource{nullptr, nullptr, 0, 0, 0, 0, 0, 0, 0.0f, 0.0f});
    texelBase.assign(textureCount, nullptr);
    int depth = textureCount > 0 && textures[0] ? bitmap_color_depth(textures[0]) : 0;
    if (depth != 32 && depth != 16 && depth != 15) depth = 0;
    bool uniform = depth != 0;
    for (int i = 0; i < textureCount; ++i) {
        BITMAP* t = textures[i];
        if (!t) {
            depth = 0;
            continue;
        }
        if (!readableRows(t, depth)) depth = 0;
        TexelSource& s = texelSources[i];
        s.line = t->line;
        s.w = t->w;
        s.h = t->h;
        s.wMask = t->w - 1;
        s.hMask = t->h - 1;
        s.heightShift = textureHeightShift ? textureHeightShift[i] : 0;
        s.widthShift = textureWidthShift ? textureWidthShift[i] : 0;
        s.fw = static_cast<float>(t->w);
        s.fh = static_cast<float>(t->h);
        const long rowBytes = static_cast<long>(t->w) * ((depth + 7) / 8);
        bool gapless = depth != 0;
        for (int y = 1; gapless && y < t->h; ++y) gapless = t->line[y] == t->line[0] + y * rowBytes;
        s.pixels = gapless ? t->line[0] : nullptr;
        texelBase[i] = s.pixels;
        if (!gapless || t->w != textures[0]->w || t->h != textures[0]->h || s.widthShift < 0 ||
            long(t->w) * t->h > (1L << 24))
            uniform = false;
    }
    fastDepth = depth == 15 ? 16 : depth;
    uniformTextures = uniform && fastDepth != 0;
}

void Kelda_engine::render() {
    crosshairSprite = -1;
    if (!columns || !zBuffer || !cameraColumn || !rowDistance || viewWidth <= 0 || viewHeight <= 0 || !walls)
        return;
    prepareTexelSources();
    if (fastDepth == 32)
        renderColumns<uint32_t>();
    else if (fastDepth == 16)
        renderColumns<uint16_t>();
    else
        renderColumns<AnyPixel>();
    renderSprites();
}

template <typename Pixel>
void Kelda_engine::renderColumns() {
    Frame f{};
    f.W = viewWidth;
    f.H = viewHeight;
    f.mapW = mapWidth;
    f.mapH = mapHeight;
    f.px = posX;
    f.py = posY;
    f.floorCodes = floors;
    f.ceilingCodes = ceilings;
    f.rowDist = rowDistance;
    f.src = texelSources.data();
    f.tex = textures;
    f.sky = skyColor;
    f.floorShade = floorShade;
    f.ceilingShade = ceilingShade;
    if constexpr (!std::is_same<Pixel, AnyPixel>::value) {
        f.bulk = uniformTextures && floorShade == 0 && ceilingShade == 0 && textureCount > 0;
        if (f.bulk) {
            f.uniform = texelSources[0];
            f.base = texelBase.data();
            rowCell.resize(static_cast<size_t>(f.H) + 1);
            rowTexel.resize(static_cast<size_t>(f.H) + 1);
            f.cells = rowCell.data();
            f.texels = rowTexel.data();
            // Open sky as one more texture, filled with the sky colour, spares a branch per pixel.
            const Pixel skyTexel = static_cast<Pixel>(f.sky);
            f.skyAsTexture = static_cast<int>(skyTexel) == f.sky;
            if (f.skyAsTexture) {
                const size_t count = static_cast<size_t>(f.uniform.w) * static_cast<size_t>(f.uniform.h);
                skyTexels.resize(count * sizeof(Pixel));
                Pixel* fill = reinterpret_cast<Pixel*>(skyTexels.data());
                for (size_t i = 0; i < count; ++i) fill[i] = skyTexel;
                ceilingBase.assign(256, nullptr);
                for (int i = 0; i < textureCount && i < 255; ++i) ceilingBase[i] = texelBase[i];
                ceilingBase[0xFF] = skyTexels.data();
                f.ceilingBase = ceilingBase.data();
            }
        }
    }

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
        drawWall<Pixel>(f, hit, walls[hit.mapY * mapWidth + hit.mapX], col);
        zBuffer[x] = hit.perpWallDist;
        if constexpr (!std::is_same<Pixel, AnyPixel>::value) {
            if (f.bulk && hit.perpWallDist != 0.0f) {
                drawPlanesBulk<Pixel>(f, hit, col);
                continue;
            }
        }
        drawPlanes<Pixel>(f, hit, col);
    }
}
