// Copying the column-major view into a row-major bitmap. The plain way is one putpixel per pixel;
// this writes the rows directly, a block of rows at a time so that both sides stay in the cache.
#include <algorithm>
#include <cstdint>

#include "engine/engine.h"  // allegro.h must come before its internal header

#include <allegro/internal/aintern.h>

namespace {

const int BLOCK_ROWS = 16;

template <typename Pixel>
void copyRows(int** columns, int x0, int x1, int y0, int y1, BITMAP* dest) {
    for (int by = y0; by < y1; by += BLOCK_ROWS) {
        const int rows = std::min(BLOCK_ROWS, y1 - by);
        Pixel* out[BLOCK_ROWS];
        for (int r = 0; r < rows; ++r) out[r] = reinterpret_cast<Pixel*>(dest->line[by + r]);
        for (int x = x0; x < x1; ++x) {
            const int* in = columns[x] + by;
            for (int r = 0; r < rows; ++r) out[r][x] = static_cast<Pixel>(in[r]);
        }
    }
}

void copyRows24(int** columns, int x0, int x1, int y0, int y1, BITMAP* dest) {
    for (int y = y0; y < y1; ++y) {
        unsigned char* row = dest->line[y];
        for (int x = x0; x < x1; ++x) {
            const unsigned c = static_cast<unsigned>(columns[x][y]);
            unsigned char* p = row + 3 * x;
            p[0] = static_cast<unsigned char>(c);
            p[1] = static_cast<unsigned char>(c >> 8);
            p[2] = static_cast<unsigned char>(c >> 16);
        }
    }
}

}  // namespace

void copyColumnsToBitmap(int** columns, int w, int h, BITMAP* dest) {
    if (!columns || !dest || w <= 0 || h <= 0) return;
    // Where putpixel would draw: inside the clip rectangle, and never beside the bitmap.
    int x0 = 0, y0 = 0, x1 = std::min(w, dest->w), y1 = std::min(h, dest->h);
    if (dest->clip) {
        x0 = std::max(x0, dest->cl);
        y0 = std::max(y0, dest->ct);
        x1 = std::min(x1, dest->cr);
        y1 = std::min(y1, dest->cb);
    }
    if (x0 >= x1 || y0 >= y1) return;
    const int depth = bitmap_color_depth(dest);
    if (!is_memory_bitmap(dest) || _drawing_mode != DRAW_MODE_SOLID) {
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y) putpixel(dest, x, y, columns[x][y]);
        return;
    }
    switch (depth) {
        case 32: copyRows<uint32_t>(columns, x0, x1, y0, y1, dest); break;
        case 15:
        case 16: copyRows<uint16_t>(columns, x0, x1, y0, y1, dest); break;
        case 24: copyRows24(columns, x0, x1, y0, y1, dest); break;
        default: copyRows<uint8_t>(columns, x0, x1, y0, y1, dest); break;
    }
}
