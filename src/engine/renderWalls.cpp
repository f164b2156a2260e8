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
#include "engine/renderMath.h"

using engine_math::abs64;
using engine_math::divide;
using engine_math::truncToInt;

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
    const int W = viewWidth, H = viewHeight;
    const int mapW = mapWidth, mapH = mapHeight;
    const float px = posX, py = posY, dx = dirX, dy = dirY, plx = planeX, ply = planeY;
    const float fH = static_cast<float>(H);
    const float fMapH = static_cast<float>(mapH);
    const float lastRow = static_cast<float>(mapH - 1);
    const unsigned short* const wallCodes = walls;
    const unsigned char* const floorCodes = floors;
    const unsigned char* const ceilingCodes = ceilings;
    const float* const rowDist = rowDistance;
    const TexelSource* const src = texelSources.data();
    BITMAP* const* const tex = textures;
    const int sky = skyColor;
    const int fShade = floorShade, cShade = ceilingShade;

    // With one texture size and no shading the floor rows are cast in bulk.
    bool castFast = false;
    if constexpr (!std::is_same<Pixel, AnyPixel>::value)
        castFast = uniformTextures && fShade == 0 && cShade == 0 && textureCount > 0;
    const TexelSource uniform = castFast ? src[0] : TexelSource{};
    const unsigned char* const* const base = texelBase.data();
    bool skyAsTexture = false;
    if (castFast) {
        rowCell.resize(static_cast<size_t>(H) + 1);
        rowTexel.resize(static_cast<size_t>(H) + 1);
        // Open sky as one more texture filled with the sky colour spares a branch per ceiling pixel.
        if constexpr (!std::is_same<Pixel, AnyPixel>::value) {
            const Pixel skyTexel = static_cast<Pixel>(sky);
            skyAsTexture = static_cast<int>(skyTexel) == sky;
            if (skyAsTexture) {
                const size_t texels = static_cast<size_t>(uniform.w) * static_cast<size_t>(uniform.h);
                skyTexels.resize(texels * sizeof(Pixel));
                Pixel* fill = reinterpret_cast<Pixel*>(skyTexels.data());
                for (size_t i = 0; i < texels; ++i) fill[i] = skyTexel;
                ceilingBase.assign(256, nullptr);
                for (int i = 0; i < textureCount && i < 255; ++i) ceilingBase[i] = texelBase[i];
                ceilingBase[0xFF] = skyTexels.data();
            }
        }
    }
    const unsigned char* const* const ceilingTex = ceilingBase.data();

    const int camX = truncToInt(px), camY = truncToInt(py);
    const bool cameraInGrid = camX >= 0 && camX < mapW && camY >= 0 && camY < mapH;

    for (int x = 0; x < W; ++x) {
        int* const col = columns[x];
        const float cameraX = cameraColumn[x];
        const float rayDirX = dx + plx * cameraX;
        const float rayDirY = dy + ply * cameraX;
        int mapX = camX, mapY = camY;
        bool hit = false;
        int side = 0, stepX, stepY;
        if (cameraInGrid) {
            const float rdx2 = rayDirX * rayDirX, rdy2 = rayDirY * rayDirY;
            const float deltaDistX = std::sqrt(1.0f + divide(rdy2, rdx2));
            const float deltaDistY = std::sqrt(1.0f + divide(rdx2, rdy2));
            float sideDistX, sideDistY;
            if (rayDirX < 0) {
                stepX = -1;
                sideDistX = (px - static_cast<float>(mapX)) * deltaDistX;
            } else {
                stepX = 1;
                sideDistX = (static_cast<float>(mapX) + 1.0f - px) * deltaDistX;
            }
            if (rayDirY < 0) {
                stepY = -1;
                sideDistY = (py - static_cast<float>(mapY)) * deltaDistY;
            } else {
                stepY = 1;
                sideDistY = (static_cast<float>(mapY) + 1.0f - py) * deltaDistY;
            }
            // Every step moves one cell in a fixed direction, so leaving the grid ends the walk
            // even on a level whose border is open.
            for (;;) {
                if (sideDistX < sideDistY) {
                    sideDistX += deltaDistX;
                    mapX += stepX;
                    side = 0;
                } else {
                    sideDistY += deltaDistY;
                    mapY += stepY;
                    side = 1;
                }
                if (static_cast<unsigned>(mapX) >= static_cast<unsigned>(mapW) ||
                    static_cast<unsigned>(mapY) >= static_cast<unsigned>(mapH))
                    break;
                if (wallCodes[mapY * mapW + mapX] != 0xFFFF) {
                    hit = true;
                    break;
                }
            }
        }
        if (!hit) {
            // Outside the grid there is only sky, and nothing that hides a sprite.
            for (int y = 0; y < H; ++y) col[y] = sky;
            zBuffer[x] = FLT_MAX;
            continue;
        }

        const float offX = static_cast<float>((1 - stepX) >> 1);
        const float offY = static_cast<float>((1 - stepY) >> 1);
        const float hitDist = side == 0 ? divide(static_cast<float>(mapX) - px + offX, rayDirX)
                                        : divide(static_cast<float>(mapY) - py + offY, rayDirY);
        const float perpWallDist = std::fabs(hitDist);
        const int64_t lineHeight = abs64(truncToInt(divide(fH, perpWallDist)));
        int64_t drawStart = (H - lineHeight) >> 1;
        if (drawStart < 0) drawStart = 0;
        int64_t drawEnd = (lineHeight + H) >> 1;
        if (drawEnd >= H) drawEnd = H - 1;

        const int texNum = wallCodes[mapY * mapW + mapX];
        const TexelSource& wt = src[texNum];
        float wallX = side == 0 ? py + hitDist * rayDirY : px + hitDist * rayDirX;
        wallX -= std::floor(wallX);
        int texX = truncToInt(wallX * wt.fw);
        if ((side == 0 && rayDirX > 0) || (side == 1 && rayDirY < 0)) texX = wt.w - texX - 1;

        // Wall: texture row ((d * 128) << shift) / lineHeight >> 8 with d = 2y - H + lineHeight,
        // kept as a running quotient and remainder instead of one division per pixel.
        int y = static_cast<int>(drawStart);
        const int wallEnd = static_cast<int>(drawEnd);
        if (y < wallEnd) {
            if (texX < 0 || texX >= wt.w) {
                for (; y < wallEnd; ++y) col[y] = -1;  // what a read beside the texture answers
            } else {
                const int64_t scale = int64_t(128) << wt.heightShift;
                int64_t d = 2 * int64_t(y) - H + lineHeight;
                if (d < 0) {
                    const int64_t texY = ((d * scale) / lineHeight) >> 8;
                    col[y] = texY < 0 ? -1 : Texels<Pixel>::at(wt.line, tex[texNum], texX, static_cast<int>(texY));
                    ++y;
                    d += 2;
                }
                int64_t q = (d * scale) / lineHeight, r = (d * scale) % lineHeight;
                const int64_t stepQ = (2 * scale) / lineHeight, stepR = (2 * scale) % lineHeight;
                for (; y < wallEnd; ++y) {
                    col[y] = Texels<Pixel>::at(wt.line, tex[texNum], texX, static_cast<int>(q >> 8));
                    q += stepQ;
                    r += stepR;
                    if (r >= lineHeight) {
                        ++q;
                        r -= lineHeight;
                    }
                }
            }
        }
        zBuffer[x] = perpWallDist;

        float floorXWall, floorYWall;
        if (side == 0 && rayDirX > 0) {
            floorXWall = static_cast<float>(mapX);
            floorYWall = static_cast<float>(mapY) + wallX;
        } else if (side == 0 && rayDirX < 0) {
            floorXWall = static_cast<float>(mapX) + 1.0f;
            floorYWall = static_cast<float>(mapY) + wallX;
        } else if (side == 1 && rayDirY > 0) {
            floorXWall = static_cast<float>(mapX) + wallX;
            floorYWall = static_cast<float>(mapY);
        } else {
            floorXWall = static_cast<float>(mapX) + wallX;
            floorYWall = static_cast<float>(mapY) + 1.0f;
        }

        // Floor rows from the wall's foot down; row H - y of the ceiling mirrors floor row y.
        const int start = drawEnd < 0 ? H : static_cast<int>(drawEnd);
        const bool finiteDist = perpWallDist != 0.0f;
        if constexpr (!std::is_same<Pixel, AnyPixel>::value) {
            if (castFast && finiteDist) {
                const engine_floor::Column c{rowDist, start, H, perpWallDist, floorXWall, floorYWall, px, py,
                                             mapW, mapH, uniform.fw, uniform.fh, uniform.wMask, uniform.hMask,
                                             uniform.widthShift};
                int* const cells = rowCell.data();
                int* const texels = rowTexel.data();
                engine_floor::castRows(c, cells, texels);
                const int rows = H - start;  // floor rows start ... H - 1; ceiling rows for start + 1 ... H
                int* const floorOut = col + start;
                for (int i = 0; i < rows; ++i)
                    floorOut[i] = static_cast<int>(reinterpret_cast<const Pixel*>(base[floorCodes[cells[i]]])[texels[i]]);
                int* const ceilingOut = col + (H - start);
                if (skyAsTexture) {
                    for (int i = 1; i <= rows; ++i)
                        ceilingOut[-i] = static_cast<int>(
                            reinterpret_cast<const Pixel*>(ceilingTex[ceilingCodes[cells[i]]])[texels[i]]);
                } else {
                    for (int i = 1; i <= rows; ++i) {
                        const int code = ceilingCodes[cells[i]];
                        ceilingOut[-i] = code == 0xFF
                                             ? sky
                                             : static_cast<int>(reinterpret_cast<const Pixel*>(base[code])[texels[i]]);
                    }
                }
                continue;
            }
        }
        for (int fy_row = start; fy_row <= H; ++fy_row) {
            const float weight = finiteDist ? rowDist[fy_row] / perpWallDist : divide(rowDist[fy_row], perpWallDist);
            const float fx = weight * floorXWall + (1.0f - weight) * px;
            float fy = weight * floorYWall + (1.0f - weight) * py;
            if (fy > fMapH) fy = lastRow;
            int cx = truncToInt(fx), cy = truncToInt(fy);
            if (cx < 0 || cx > mapW - 1) cx = mapW - 1;
            if (cy < 0 || cy > mapH - 1) cy = mapH - 1;
            const int cell = cy * mapW + cx;
            if (fy_row != H) {
                const int f = floorCodes[cell];
                const TexelSource& t = src[f];
                int colour = Texels<Pixel>::at(t.line, tex[f], truncToInt(t.fw * fx) & t.wMask,
                                               truncToInt(t.fh * fy) & t.hMask);
                if (fShade != 0) darkenColor(colour, fShade);
                col[fy_row] = colour;
            }
            if (fy_row != start) {
                const int c = ceilingCodes[cell];
                if (c == 0xFF) {
                    col[H - fy_row] = sky;
                } else {
                    const TexelSource& t = src[c];
                    int colour = Texels<Pixel>::at(t.line, tex[c], truncToInt(t.fw * fx) & t.wMask,
                                                   truncToInt(t.fh * fy) & t.hMask);
                    if (cShade != 0) darkenColor(colour, cShade);
                    col[H - fy_row] = colour;
                }
            }
        }
    }
}
