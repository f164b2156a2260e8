// Textures change rarely (colour correction, a game drawing into one), so each frame only compares
// their rows with the copy taken last time and converts what differs.
#include "engine/texturePool.h"

#include <cstring>

namespace engine_render {
namespace {

// Up to 64 MB of mirrored texels; a level beyond that is drawn through the library's reader.
const long MAX_TEXELS = 1L << 24;

int bytesPerPixel(int depth) { return (depth + 7) / 8; }

bool mirrorable(BITMAP* bmp) {
    if (!bmp || !is_memory_bitmap(bmp) || bmp->w <= 0 || bmp->h <= 0) return false;
    const int depth = bitmap_color_depth(bmp);
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

// getpixel's answer for a memory bitmap's texel, row by row.
void convertRow(const unsigned char* row, int w, int depth, int* out) {
    switch (depth) {
        case 32:
            for (int x = 0; x < w; ++x) {
                unsigned v;
                std::memcpy(&v, row + 4 * x, 4);
                out[x] = static_cast<int>(v);
            }
            break;
        case 24:
            for (int x = 0; x < w; ++x) out[x] = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
            break;
        case 16:
        case 15:
            for (int x = 0; x < w; ++x) {
                unsigned short v;
                std::memcpy(&v, row + 2 * x, 2);
                out[x] = v;
            }
            break;
        default:
            for (int x = 0; x < w; ++x) out[x] = row[x];
    }
}

}  // namespace

void TexturePool::clear() {
    pool.clear();
    entries.clear();
    mirrors.clear();
}

bool TexturePool::refresh(BITMAP* const* textures, int count, const int* widthShift, const int* heightShift) {
    long total = 0;
    bool sameLayout = !entries.empty() && static_cast<int>(mirrors.size()) == count;
    for (int i = 0; i < count; ++i) {
        BITMAP* bmp = textures[i];
        if (!mirrorable(bmp) || widthShift[i] < 0 || heightShift[i] < 0) return false;
        total += long(bmp->w) * bmp->h;
        if (total > MAX_TEXELS) return false;
        if (sameLayout) {
            const Mirror& m = mirrors[i];
            sameLayout = m.bmp == bmp && m.w == bmp->w && m.h == bmp->h && m.depth == bitmap_color_depth(bmp);
        }
    }
    if (!sameLayout) {
        mirrors.assign(count, Mirror{nullptr, 0, 0, 0, {}});
        entries.assign(count, PoolTexture{});
        pool.assign(static_cast<size_t>(total), 0);
        int start = 0;
        for (int i = 0; i < count; ++i) {
            BITMAP* bmp = textures[i];
            entries[i] = PoolTexture{start, bmp->w, bmp->h, bmp->w - 1, bmp->h - 1, widthShift[i], heightShift[i],
                                     static_cast<float>(bmp->w), static_cast<float>(bmp->h)};
            start += bmp->w * bmp->h;
        }
    }
    for (int i = 0; i < count; ++i) {
        BITMAP* bmp = textures[i];
        Mirror& m = mirrors[i];
        const int depth = bitmap_color_depth(bmp);
        const size_t rowBytes = static_cast<size_t>(bmp->w) * bytesPerPixel(depth);
        bool same = !m.raw.empty();
        for (int y = 0; same && y < bmp->h; ++y) same = std::memcmp(m.raw.data() + y * rowBytes, bmp->line[y], rowBytes) == 0;
        if (same) continue;
        m = Mirror{bmp, bmp->w, bmp->h, depth, std::vector<unsigned char>(rowBytes * bmp->h)};
        int* out = pool.data() + entries[i].start;
        for (int y = 0; y < bmp->h; ++y) {
            std::memcpy(m.raw.data() + y * rowBytes, bmp->line[y], rowBytes);
            convertRow(bmp->line[y], bmp->w, depth, out + y * bmp->w);
        }
    }
    return true;
}

}  // namespace engine_render
