// Copying the column-major view into a row-major bitmap. The plain way is one putpixel per pixel;
// this writes the rows directly, a block of rows at a time so that both sides stay in the cache.
#include <algorithm>
#include <cstdint>

#include "engine/engine.h"  // allegro.h must come before its internal header

#include <allegro/internal/aintern.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BRAWNWICK_AVX2 1
#endif

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

#if defined(BRAWNWICK_AVX2)
// Eight columns by eight rows at a time, turned round in registers. doneX and doneY tell where the
// full blocks end; the columns right of them and the rows below them are left to the plain copy.
// Two rows of eight 24-bit pixels: the low three bytes of each value, as a 24-bit putpixel writes.
// Each half packs into twelve bytes; four bytes more are stored and then overwritten by the next
// half or the next block, except at the end of the row, where no byte beyond it may be touched.
__attribute__((target("avx2"), always_inline)) inline void store24(unsigned char* at, __m256i row, bool rowEnd) {
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i bytes = _mm256_shuffle_epi8(row, pack);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(bytes));
    const __m128i high = _mm256_extracti128_si256(bytes, 1);
    if (!rowEnd) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 12), high);
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at + 12), high);
    const int last = _mm_extract_epi32(high, 2);
    __builtin_memcpy(at + 20, &last, 4);
}

__attribute__((target("avx2"))) void copyBlocksAvx2(int** columns, int x0, int x1, int y0, int y1, BITMAP* dest,
                                                    int depth, int& doneX, int& doneY) {
    const bool sixteen = depth == 16 || depth == 15;
    const int fullX = x0 + ((x1 - x0) & ~7), fullY = y0 + ((y1 - y0) & ~7);
    const __m256i low16 = _mm256_set1_epi32(0xFFFF);
    for (int by = y0; by < fullY; by += 8) {
        for (int bx = x0; bx < fullX; bx += 8) {
            __m256i r[8], t[8];
            for (int i = 0; i < 8; ++i)
                r[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns[bx + i] + by));
            for (int i = 0; i < 8; i += 2) {
                t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
                t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
            }
            for (int i = 0; i < 8; i += 4) {
                r[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);
                r[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);
                r[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);
                r[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);
            }
            // r[k] holds row k of columns 0-3 in its low half and row k + 4 in its high half;
            // r[k + 4] the same for columns 4-7.
            for (int k = 0; k < 4; ++k) {
                const __m256i a = r[k], b = r[k + 4];
                const __m256i rowLow = _mm256_permute2x128_si256(a, b, 0x20);   // row k
                const __m256i rowHigh = _mm256_permute2x128_si256(a, b, 0x31);  // row k + 4
                if (depth == 24) {
                    const bool rowEnd = bx + 10 > x1;  // the spare bytes would reach past x1
                    store24(dest->line[by + k] + 3 * bx, rowLow, rowEnd);
                    store24(dest->line[by + k + 4] + 3 * bx, rowHigh, rowEnd);
                } else if (sixteen) {
                    // Only the low 16 bits of each value are kept, as a 16-bit putpixel does.
                    const __m256i packed = _mm256_permute4x64_epi64(
                        _mm256_packus_epi32(_mm256_and_si256(rowLow, low16), _mm256_and_si256(rowHigh, low16)),
                        0xD8);
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(reinterpret_cast<uint16_t*>(dest->line[by + k]) + bx),
                                     _mm256_castsi256_si128(packed));
                    _mm_storeu_si128(
                        reinterpret_cast<__m128i*>(reinterpret_cast<uint16_t*>(dest->line[by + k + 4]) + bx),
                        _mm256_extracti128_si256(packed, 1));
                } else {
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(reinterpret_cast<uint32_t*>(dest->line[by + k]) + bx),
                                        rowLow);
                    _mm256_storeu_si256(
                        reinterpret_cast<__m256i*>(reinterpret_cast<uint32_t*>(dest->line[by + k + 4]) + bx), rowHigh);
                }
            }
        }
    }
    doneX = fullX;
    doneY = fullY;
}

const bool haveAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

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

void copyPlain(int** columns, int x0, int x1, int y0, int y1, BITMAP* dest, int depth) {
    if (x0 >= x1 || y0 >= y1) return;
    switch (depth) {
        case 32: copyRows<uint32_t>(columns, x0, x1, y0, y1, dest); break;
        case 15:
        case 16: copyRows<uint16_t>(columns, x0, x1, y0, y1, dest); break;
        case 24: copyRows24(columns, x0, x1, y0, y1, dest); break;
        default: copyRows<uint8_t>(columns, x0, x1, y0, y1, dest); break;
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
#if defined(BRAWNWICK_AVX2)
    if (haveAvx2 && (depth == 32 || depth == 24 || depth == 16 || depth == 15)) {
        int doneX = x0, doneY = y0;
        copyBlocksAvx2(columns, x0, x1, y0, y1, dest, depth, doneX, doneY);
        // What is left: the columns right of the blocks, then the rows below them.
        copyPlain(columns, doneX, x1, y0, doneY, dest, depth);
        copyPlain(columns, x0, x1, doneY, y1, dest, depth);
        return;
    }
#endif
    copyPlain(columns, x0, x1, y0, y1, dest, depth);
}
