// Copying the column-major view into a row-major bitmap. The plain way is one putpixel per pixel;
// this writes the rows directly: with AVX2, strips of columns packed and turned in registers eight
// rows at a time; otherwise a block of rows at a time, so that both sides stay in the cache.
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
#define COPY_INLINE __attribute__((target("avx2"), always_inline)) inline

COPY_INLINE __m256i eightRows(const int* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }

// Eight registers of eight 32-bit values turned about the diagonal: value i of register k moves to
// value k of register i.
COPY_INLINE void turn(__m256i r[8]) {
    __m256i t[8], u[8];
#pragma GCC unroll 8
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
#pragma GCC unroll 8
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);
        u[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);
        u[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);
        u[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);
    }
#pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
        r[k] = _mm256_permute2x128_si256(u[k], u[k + 4], 0x20);
        r[k + 4] = _mm256_permute2x128_si256(u[k], u[k + 4], 0x31);
    }
}

COPY_INLINE void store32(unsigned char* at, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v); }

// Eight rows of COLS columns from row y, written to the eight rows from out. The pixels are first
// packed, still column by column, into 32-bit words of the row's bytes (two 16-bit pixels, or four
// 24-bit pixels in three words), so that one 8x8 turn of words makes 32 bytes of each row. Packing
// takes shifts and masks; shuffles are what the turn is short of. Only the bytes putpixel would
// write are kept: the low 16 or 24 bits of each value.
template <int DEPTH, int COLS>
COPY_INLINE void copyBlock(const int* const* c, int y, unsigned char* out, ptrdiff_t pitch) {
    __m256i r[3 * COLS / 4 > 8 ? 3 * COLS / 4 : 8];
    if constexpr (DEPTH == 32) {
#pragma GCC unroll 4
        for (int part = 0; part < COLS / 8; ++part) {
#pragma GCC unroll 8
            for (int i = 0; i < 8; ++i) r[i] = eightRows(c[8 * part + i] + y);
            turn(r);
#pragma GCC unroll 8
            for (int k = 0; k < 8; ++k) store32(out + k * pitch + 32 * part, r[k]);
        }
    } else if constexpr (DEPTH == 16) {
        // Eight columns make four words a row: the turn gets four empty registers, and 16 bytes are stored.
        const int pairs = COLS == 8 ? 4 : 8;
#pragma GCC unroll 4
        for (int part = 0; part < (COLS + 15) / 16; ++part) {
#pragma GCC unroll 8
            for (int i = 0; i < 8; ++i) {
                if (i >= pairs) {
                    r[i] = _mm256_setzero_si256();
                    continue;
                }
                const int* const* pair = c + 16 * part + 2 * i;
                r[i] = _mm256_blend_epi16(eightRows(pair[0] + y), _mm256_slli_epi32(eightRows(pair[1] + y), 16), 0xAA);
            }
            turn(r);
#pragma GCC unroll 8
            for (int k = 0; k < 8; ++k) {
                if (COLS == 8) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k * pitch), _mm256_castsi256_si128(r[k]));
                else store32(out + k * pitch + 32 * part, r[k]);
            }
        }
    } else {
        static_assert(DEPTH == 24 && (COLS == 8 || COLS == 32), "24-bit blocks are 8 or 32 columns");
        const __m256i low24 = _mm256_set1_epi32(0xFFFFFF), low8 = _mm256_set1_epi32(0xFF);
        // Each group of four columns gives three words; every eight words are turned and stored as
        // soon as they are ready, which keeps them all in registers.
        int turned = 0;
#pragma GCC unroll 8
        for (int g = 0; g < COLS / 4; ++g) {
            const __m256i p0 = eightRows(c[4 * g] + y), p1 = eightRows(c[4 * g + 1] + y);
            const __m256i p2 = eightRows(c[4 * g + 2] + y), p3 = eightRows(c[4 * g + 3] + y);
            r[3 * g] = _mm256_or_si256(_mm256_and_si256(p0, low24), _mm256_slli_epi32(p1, 24));
            r[3 * g + 1] = _mm256_blend_epi16(_mm256_srli_epi32(p1, 8), _mm256_slli_epi32(p2, 16), 0xAA);
            r[3 * g + 2] = _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(p2, 16), low8), _mm256_slli_epi32(p3, 8));
            if (COLS == 32 && 3 * g + 3 >= turned + 8) {
                turn(r + turned);
#pragma GCC unroll 8
                for (int k = 0; k < 8; ++k) store32(out + k * pitch + 4 * turned, r[turned + k]);
                turned += 8;
            }
        }
        if constexpr (COLS == 8) {
            // Six words a row: the turn gets two empty registers, and only 24 bytes are stored.
            r[6] = r[7] = _mm256_setzero_si256();
            turn(r);
#pragma GCC unroll 8
            for (int k = 0; k < 8; ++k) {
                unsigned char* line = out + k * pitch;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(line), _mm256_castsi256_si128(r[k]));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(line + 16), _mm256_extracti128_si256(r[k], 1));
            }
        }
    }
}

// A strip of columns walked downwards, eight rows at a time: a few dozen column streams read ahead
// well, and each row gets whole cache lines. Loads that straddle two cache lines cost more, so
// after the first block the blocks start where the first column's rows are 32-byte aligned (all
// columns' are, when the buffer is one block and a column a multiple of eight rows long); the last
// block may overlap the one before, which writes the same pixels again. The strip needs eight rows.
// A frame larger than the caches (4K) comes from memory: there, the rows and columns a few steps
// ahead are asked for early, as the processor follows dozens of column streams and two thousand
// row lines poorly on its own. A frame the caches hold is only slowed by asking.
template <int DEPTH, int COLS, bool AHEAD>
__attribute__((target("avx2"))) void copyStrip(int** columns, int bx, int y0, int y1, unsigned char* row0,
                                               ptrdiff_t pitch) {
    const int* const* c = columns + bx;
    unsigned char* const out = row0 + (DEPTH / 8) * bx;
    copyBlock<DEPTH, COLS>(c, y0, out + y0 * pitch, pitch);
    const int skew = static_cast<int>(reinterpret_cast<uintptr_t>(c[0] + y0) % 32 / 4);
    int by = y0 + (skew ? 8 - skew : 8);
    for (; by + 8 <= y1; by += 8) {
        if (AHEAD) {
            if (by + 16 + 8 <= y1) {
#pragma GCC unroll 8
                for (int k = 0; k < 8; ++k) __builtin_prefetch(out + (by + 16 + k) * pitch, 1);
            }
#pragma GCC unroll 32
            for (int i = 0; i < COLS; ++i) __builtin_prefetch(c[i] + by + 64);
        }
        copyBlock<DEPTH, COLS>(c, by, out + by * pitch, pitch);
    }
    if (by < y1) copyBlock<DEPTH, COLS>(c, y1 - 8, out + (y1 - 8) * pitch, pitch);
}

// Strips 32 columns wide; before them, narrow strips up to where a row's stores begin a cache
// line (for 24-bit rows, 96 bytes a strip, half a line: no store then straddles two), and narrow
// strips after them. The few columns left over before them go plainly; returns the first column
// left over after them (x0 when the view is under eight rows, too short for a strip).
template <int DEPTH>
int copyStrips(int** columns, int x0, int x1, int y0, int y1, BITMAP* dest) {
    const int WIDE = 32, NARROW = 8;
    const ptrdiff_t pitch = dest->h > 1 ? dest->line[1] - dest->line[0] : 0;
    unsigned char* const row0 = dest->line[0];
    const bool ahead = static_cast<int64_t>(x1 - x0) * (y1 - y0) > (int64_t(1) << 22);
    if (y1 - y0 < 8) return x0;
    int bx = x0, lined = x0;
    const unsigned LINE = DEPTH == 24 ? 32 : 64;
    while (lined < x1 && (reinterpret_cast<uintptr_t>(row0) + lined * (DEPTH / 8)) % LINE != 0) ++lined;
    const int lead = (lined - bx) % NARROW;
    copyPlain(columns, bx, bx + lead, y0, y1, dest, DEPTH);
    for (bx += lead; bx + NARROW <= lined; bx += NARROW) copyStrip<DEPTH, NARROW, false>(columns, bx, y0, y1, row0, pitch);
    for (; bx + WIDE <= x1; bx += WIDE)
        ahead ? copyStrip<DEPTH, WIDE, true>(columns, bx, y0, y1, row0, pitch)
              : copyStrip<DEPTH, WIDE, false>(columns, bx, y0, y1, row0, pitch);
    for (; bx + NARROW <= x1; bx += NARROW) copyStrip<DEPTH, NARROW, false>(columns, bx, y0, y1, row0, pitch);
    return bx;
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
        const int left = depth == 32   ? copyStrips<32>(columns, x0, x1, y0, y1, dest)
                         : depth == 24 ? copyStrips<24>(columns, x0, x1, y0, y1, dest)
                                       : copyStrips<16>(columns, x0, x1, y0, y1, dest);
        copyPlain(columns, left, x1, y0, y1, dest, depth);  // the columns right of the strips
        return;
    }
#endif
    copyPlain(columns, x0, x1, y0, y1, dest, depth);
}
