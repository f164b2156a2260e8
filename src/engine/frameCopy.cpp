// Copying the column-major view into a row-major bitmap. The plain way is one putpixel per pixel;
// this writes the rows directly: with AVX2, strips of columns turned in registers eight rows at a
// time; otherwise a block of rows at a time, so that both sides stay in the cache.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/cpuFeatures.h"
#include "engine/engine.h"  // allegro.h must come before its internal header

#include <allegro/internal/aintern.h>

#if defined(BRAWNWICK_X86)
#include <immintrin.h>
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

#if defined(BRAWNWICK_X86)
// Eight 24-bit pixels: the low three bytes of each value, as a 24-bit putpixel writes, packed into
// 24 bytes and stored as 32; the eight bytes more are overwritten by the next pixels, except at the
// end of the row, where no byte beyond it may be touched.
__attribute__((target("avx2"), always_inline)) inline void store24(unsigned char* at, __m256i row, bool rowEnd) {
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i bytes =
        _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(row, pack), _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    if (!rowEnd) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), bytes);
        return;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at + 16), _mm256_extracti128_si256(bytes, 1));
}

// The small loops below are unrolled on purpose: left rolled, the compiler keeps the vector arrays
// in memory and the copy takes more than a third longer.
// Eight columns by eight rows, turned into eight rows. Each register is loaded with four rows of a
// column and the same four rows of the column four to the right, so a 4x4 turn inside each 128-bit
// half finishes the job: a third fewer shuffles than turning all eight by eight in registers.
__attribute__((target("avx2"), always_inline)) inline void turnBlock(const int* const* c, int y, __m256i rows[8]) {
    __m256i r[8];
#pragma GCC unroll 16
    for (int i = 0; i < 4; ++i) {
#pragma GCC unroll 16
        for (int half = 0; half < 2; ++half) {
            const int* left = c[i] + y + 4 * half;
            const int* right = c[i + 4] + y + 4 * half;
            r[i + 4 * half] = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(left))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(right)), 1);
        }
    }
#pragma GCC unroll 16
    for (int h = 0; h < 8; h += 4) {
        const __m256i a = _mm256_unpacklo_epi32(r[h], r[h + 1]), b = _mm256_unpackhi_epi32(r[h], r[h + 1]);
        const __m256i c2 = _mm256_unpacklo_epi32(r[h + 2], r[h + 3]), d = _mm256_unpackhi_epi32(r[h + 2], r[h + 3]);
        rows[h] = _mm256_unpacklo_epi64(a, c2);
        rows[h + 1] = _mm256_unpackhi_epi64(a, c2);
        rows[h + 2] = _mm256_unpacklo_epi64(b, d);
        rows[h + 3] = _mm256_unpackhi_epi64(b, d);
    }
}

// A strip sixteen columns wide (or eight, for what is left), walked downwards: the sixteen column
// streams read ahead well, and each row gets one whole cache line of 32-bit pixels at a time.
// A frame larger than the caches (4K) comes from memory: there, the rows and columns a few steps
// ahead are asked for early, as the processor follows sixteen column streams and two thousand row
// lines poorly on its own. A frame the caches hold is only slowed by asking.
template <int WIDE, int DEPTH, bool AHEAD>
__attribute__((target("avx2"))) void copyStrip(int** columns, int bx, int y0, int y1, unsigned char* row0,
                                               ptrdiff_t pitch, int x1) {
    const int* const* c = columns + bx;
    const bool rowEnd = bx + WIDE + 3 > x1;  // the eight spare bytes of a 24-bit store would reach past x1
    const __m256i low16 = _mm256_set1_epi32(0xFFFF);
    unsigned char* out = row0 + (DEPTH == 24 ? 3 : DEPTH / 8) * bx + y0 * pitch;
    for (int by = y0; by + 8 <= y1; by += 8, out += 8 * pitch) {
        if (AHEAD) {
            if (by + 16 + 8 <= y1) {
#pragma GCC unroll 16
                for (int k = 0; k < 8; ++k) __builtin_prefetch(out + (16 + k) * pitch, 1);
            }
#pragma GCC unroll 16
            for (int i = 0; i < WIDE; ++i) __builtin_prefetch(c[i] + by + 64);
        }
        // Sixteen columns at a time; a strip of 32 (16-bit pixels) fills whole cache lines of its rows.
#pragma GCC unroll 2
        for (int part = 0; part < (WIDE == 32 ? 2 : 1); ++part) {
            __m256i a[8], b[8];
            turnBlock(c + 16 * part, by, a);
            if (WIDE >= 16) turnBlock(c + 16 * part + 8, by, b);
#pragma GCC unroll 16
            for (int k = 0; k < 8; ++k) {
                unsigned char* line = out + k * pitch + 32 * part;
                if (DEPTH == 32) {
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(line), a[k]);
                    if (WIDE >= 16) _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + 32), b[k]);
                } else if (DEPTH == 24) {
                    store24(line, a[k], WIDE == 8 && rowEnd);
                    if (WIDE >= 16) store24(line + 24, b[k], rowEnd);
                } else if (WIDE >= 16) {
                    // Only the low 16 bits of each value are kept, as a 16-bit putpixel does.
                    const __m256i packed =
                        _mm256_packus_epi32(_mm256_and_si256(a[k], low16), _mm256_and_si256(b[k], low16));
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(line), _mm256_permute4x64_epi64(packed, 0xD8));
                } else {
                    const __m256i packed =
                        _mm256_packus_epi32(_mm256_and_si256(a[k], low16), _mm256_and_si256(a[k], low16));
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(line),
                                     _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0xD8)));
                }
            }
        }
    }
}

template <int DEPTH>
void copyStrips(int** columns, int x0, int x1, int y0, int y1, BITMAP* dest, int& doneX, int& doneY) {
    const ptrdiff_t pitch = dest->h > 1 ? dest->line[1] - dest->line[0] : 0;
    unsigned char* const row0 = dest->line[0];
    const bool ahead = static_cast<int64_t>(x1 - x0) * (y1 - y0) > (int64_t(1) << 22);
    // The wide strips start where a row's stores begin a cache line; the columns before that go in
    // strips eight wide, and the few left over from those plainly.
    int bx = x0, lined = x0;
    if (DEPTH != 24)
        while (lined < x1 && (reinterpret_cast<uintptr_t>(row0) + lined * (DEPTH / 8)) % 64 != 0) ++lined;
    const int lead = (lined - bx) % 8;
    copyPlain(columns, bx, bx + lead, y0, y1, dest, DEPTH);
    for (bx += lead; bx + 8 <= lined; bx += 8) copyStrip<8, DEPTH, false>(columns, bx, y0, y1, row0, pitch, x1);
    if (DEPTH == 16)
        for (; bx + 32 <= x1; bx += 32)
            ahead ? copyStrip<32, DEPTH, true>(columns, bx, y0, y1, row0, pitch, x1)
                  : copyStrip<32, DEPTH, false>(columns, bx, y0, y1, row0, pitch, x1);
    for (; bx + 16 <= x1; bx += 16)
        ahead ? copyStrip<16, DEPTH, true>(columns, bx, y0, y1, row0, pitch, x1)
              : copyStrip<16, DEPTH, false>(columns, bx, y0, y1, row0, pitch, x1);
    if (bx + 8 <= x1) copyStrip<8, DEPTH, false>(columns, bx, y0, y1, row0, pitch, x1), bx += 8;
    doneX = bx;
    doneY = y0 + ((y1 - y0) & ~7);
}

// The strips address rows by the first row and one pitch, true of every memory bitmap the library
// makes; anything else takes the plain copy.
bool evenlySpaced(BITMAP* dest) {
    if (dest->h < 2) return true;
    const ptrdiff_t pitch = dest->line[1] - dest->line[0];
    for (int y = 2; y < dest->h; ++y)
        if (dest->line[y] - dest->line[0] != y * pitch) return false;
    return true;
}

#endif

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
#if defined(BRAWNWICK_X86)
    if (engine_cpu::avx2() && (depth == 32 || depth == 24 || depth == 16 || depth == 15) && evenlySpaced(dest)) {
        int doneX = x0, doneY = y0;
        if (depth == 32) copyStrips<32>(columns, x0, x1, y0, y1, dest, doneX, doneY);
        else if (depth == 24) copyStrips<24>(columns, x0, x1, y0, y1, dest, doneX, doneY);
        else copyStrips<16>(columns, x0, x1, y0, y1, dest, doneX, doneY);
        // What is left: the columns right of the strips, then the rows below them.
        copyPlain(columns, doneX, x1, y0, doneY, dest, depth);
        copyPlain(columns, x0, x1, doneY, y1, dest, depth);
        return;
    }
#endif
    copyPlain(columns, x0, x1, y0, y1, dest, depth);
}
