// Sprites as upright billboards, farthest first, each column clipped against that column's wall
// distance; the centre column picks the sprite under the crosshair.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/engine.h"
#include "engine/renderMath.h"

using engine_math::abs64;
using engine_math::divide;
using engine_math::fillRows;
using engine_math::truncToInt;

namespace {

// Wider or taller bitmaps could overflow the 64-bit texel arithmetic; no sprite comes close.
const int MAX_SPRITE_SIDE = 1 << 20;

// The same order as bubbleSort: descending keys, ties in their original order. An insertion sort
// gives exactly that for ordinary keys with far fewer steps; with a NaN among the keys only the
// bubble sort itself says what happens, so it is used then.
void sortFarthestFirst(int* order, float* keys, int n) {
    for (int i = 0; i < n; ++i)
        if (keys[i] != keys[i]) return bubbleSort(order, keys, n);
    for (int i = 1; i < n; ++i) {
        const float key = keys[i];
        const int item = order[i];
        int j = i - 1;
        while (j >= 0 && keys[j] < key) {
            keys[j + 1] = keys[j];
            order[j + 1] = order[j];
            --j;
        }
        keys[j + 1] = key;
        order[j + 1] = item;
    }
}

// A sprite's texels: from the texture pool when the sprite shows one of the level's textures,
// else from the bitmap's rows, or through the library for a bitmap of another kind.
struct PoolSprite {
    const int* texels;
    int w;
    int at(int x, int y) const { return texels[static_cast<long>(y) * w + x]; }
};
template <typename Pixel>
struct RowSprite {
    BITMAP* bmp;
    int at(int x, int y) const { return static_cast<int>(reinterpret_cast<const Pixel*>(bmp->line[y])[x]); }
};
struct LibrarySprite {
    BITMAP* bmp;
    int at(int x, int y) const { return getpixel(bmp, x, y); }
};

// The stripes of one sprite, drawn where it is nearer than the wall. Its screen rows come as runs
// that show one texture row each, so a near sprite reads each texel once per run, not per pixel.
struct Stripes {
    int64_t drawStartX, drawEndX, left, spriteWidth, bw;
    int centre, mask, index;
    float transformY;
    const engine_render::TexelRun* runs;
    int runCount;
    const float* zBuffer;
    int** columns;
};

template <typename Texels>
void drawStripes(const Stripes& s, const Texels& texels, int& crosshair, unsigned char& seen) {
    for (int64_t stripe = s.drawStartX; stripe < s.drawEndX; ++stripe) {
        if (!(s.transformY < s.zBuffer[stripe])) continue;
        const int texX = static_cast<int>((((stripe - s.left) * 256 * s.bw) / s.spriteWidth) >> 8);
        if (stripe == s.centre) crosshair = s.index;
        if (texX < 0) continue;
        int* const col = s.columns[stripe];
        bool drawn = false;
        for (int r = 0; r < s.runCount; ++r) {
            const engine_render::TexelRun& run = s.runs[r];
            const int colour = texels.at(texX, run.texY);
            if (colour == s.mask) continue;
            fillRows(col + run.y, run.count, colour);
            drawn = true;
        }
        if (drawn) seen = 1;
    }
}

}  // namespace

void bubbleSort(int* order, float* keys, int n) {
    if (n < 2) return;
    for (int p = 0; p < n - 1; ++p) {
        for (int j = 0; j < n - 1 - p; ++j) {
            if (keys[j + 1] > keys[j]) {
                std::swap(keys[j], keys[j + 1]);
                std::swap(order[j], order[j + 1]);
            }
        }
    }
}

void Kelda_engine::renderSprites() {
    const int W = viewWidth, H = viewHeight;
    const float px = posX, py = posY;
    for (int i = 0; i < spriteCount; ++i) {
        spriteOrder[i] = i;
        const float ddx = px - sprites[i].x, ddy = py - sprites[i].y;
        spriteDistance[i] = ddx * ddx + ddy * ddy;
    }
    sortFarthestFirst(spriteOrder, spriteDistance, spriteCount);
    crosshairSprite = -1;

    const float invDet = divide(1.0f, planeX * dirY - dirX * planeY);
    const float fHalfW = static_cast<float>(W >> 1);
    const float fH = static_cast<float>(H);
    for (int k = 0; k < spriteCount; ++k) {
        const int index = spriteOrder[k];
        const Kelda_sprite& s = sprites[index];
        // A removed monster waits at (0, 0); it is not part of the world any more.
        if (s.x == 0.0f && s.y == 0.0f) continue;
        BITMAP* const bmp = s.bitmap;
        if (!bmp || bmp->w > MAX_SPRITE_SIDE || bmp->h > MAX_SPRITE_SIDE) continue;
        const float sx = s.x - px, sy = s.y - py;
        const float transformX = invDet * (dirY * sx - dirX * sy);
        const float transformY = invDet * (planeX * sy - planeY * sx);
        // Behind the camera (or not a number) no stripe passes the depth test: nothing to draw.
        if (!(transformY > 0.0f)) continue;

        const int64_t screenX = truncToInt(fHalfW * (1.0f + divide(transformX, transformY)));
        const int64_t spriteHeight = abs64(truncToInt(divide(fH, transformY)));
        int64_t drawStartY = (H - spriteHeight) >> 1;
        if (drawStartY < 0) drawStartY = 0;
        int64_t drawEndY = (spriteHeight + H) >> 1;
        if (drawEndY >= H) drawEndY = H - 1;
        const int64_t spriteWidth = spriteHeight;
        const int64_t left = screenX - (spriteWidth >> 1);
        int64_t drawStartX = left;
        if (drawStartX < 0) drawStartX = 0;
        int64_t drawEndX = (spriteWidth >> 1) + screenX;
        if (drawEndX >= W) drawEndX = W - 1;
        if (drawStartX >= drawEndX) continue;

        const int64_t bw = bmp->w, bh = bmp->h;
        // Texture rows of the sprite, the same for every stripe: ((d * 128 * h) / height) >> 8, in
        // runs of rows that share one; rows above the picture (a negative row) are left out.
        const int y0 = static_cast<int>(drawStartY), y1 = static_cast<int>(drawEndY);
        spriteRuns.clear();
        for (int y = y0; y < y1; ++y) {
            const int64_t d = 2 * int64_t(y) - H + spriteHeight;
            const int texY = static_cast<int>(((d * 128 * bh) / spriteHeight) >> 8);
            if (texY < 0) continue;
            if (!spriteRuns.empty() && spriteRuns.back().texY == texY && spriteRuns.back().y + spriteRuns.back().count == y)
                ++spriteRuns.back().count;
            else
                spriteRuns.push_back({texY, y, 1});
        }
        const Stripes st{drawStartX, drawEndX, left, spriteWidth, bw, W >> 1, maskColor, index, transformY,
                         spriteRuns.data(), static_cast<int>(spriteRuns.size()), zBuffer, columns};
        const int t = s.textureIndex;
        const int depth = is_memory_bitmap(bmp) ? bitmap_color_depth(bmp) : 0;
        unsigned char& seen = visible[index];
        if (texelMode == 1 && t >= 0 && t < textureCount && textures[t] == bmp)
            drawStripes(st, PoolSprite{texturePool.texels() + texturePool.textures()[t].start, bmp->w}, crosshairSprite, seen);
        else if (depth == 32)
            drawStripes(st, RowSprite<uint32_t>{bmp}, crosshairSprite, seen);
        else if (depth == 16 || depth == 15)
            drawStripes(st, RowSprite<uint16_t>{bmp}, crosshairSprite, seen);
        else
            drawStripes(st, LibrarySprite{bmp}, crosshairSprite, seen);
    }
}
