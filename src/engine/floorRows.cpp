// The floor point of each screen row of a column. Rows are independent, so four are computed at
// once with the same IEEE operations in the same order; the results are identical to one at a time.
#include "engine/floorRows.h"

#include "engine/renderMath.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BRAWNWICK_AVX2 1
#endif

namespace engine_floor {
namespace {

inline void castOne(const Column& c, const Size* sizes, int sizeCount, int y, int* cells, int* const* texels) {
    using engine_math::truncToInt;
    const Point p = floorPoint(c, y);
    const int i = y - c.first;
    cells[i] = p.cell;
    for (int k = 0; k < sizeCount; ++k) {
        const Size& s = sizes[k];
        texels[k][i] = ((truncToInt(s.texH * p.y) & s.hMask) << s.wShift) + (truncToInt(s.texW * p.x) & s.wMask);
    }
}

#if defined(__SSE2__)
inline __m128i select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}
#endif

#if defined(BRAWNWICK_AVX2)
// Eight rows at a time on processors that have AVX2: the same operations, twice as wide.
__attribute__((target("avx2"))) int castRowsAvx2(const Column& c, const Size* sizes, int sizeCount, int* cells,
                                                 int* const* texels) {
    int y = c.first;
    const __m256 perp = _mm256_set1_ps(c.perpWallDist);
    const __m256 one = _mm256_set1_ps(1.0f);
    const __m256 wallX = _mm256_set1_ps(c.floorXWall), wallY = _mm256_set1_ps(c.floorYWall);
    const __m256 camX = _mm256_set1_ps(c.posX), camY = _mm256_set1_ps(c.posY);
    const __m256 mapH = _mm256_set1_ps(static_cast<float>(c.mapHeight));
    const __m256 lastRow = _mm256_set1_ps(static_cast<float>(c.mapHeight - 1));
    const __m256i mapW = _mm256_set1_epi32(c.mapWidth);
    const __m256i lastCol = _mm256_set1_epi32(c.mapWidth - 1), lastLine = _mm256_set1_epi32(c.mapHeight - 1);
    for (; y + 7 <= c.last; y += 8) {
        const __m256 weight = _mm256_div_ps(_mm256_loadu_ps(c.rowDistance + y), perp);
        const __m256 rest = _mm256_sub_ps(one, weight);
        const __m256 fx = _mm256_add_ps(_mm256_mul_ps(weight, wallX), _mm256_mul_ps(rest, camX));
        __m256 fy = _mm256_add_ps(_mm256_mul_ps(weight, wallY), _mm256_mul_ps(rest, camY));
        fy = _mm256_blendv_ps(fy, lastRow, _mm256_cmp_ps(fy, mapH, _CMP_GT_OQ));
        __m256i cx = _mm256_cvttps_epi32(fx), cy = _mm256_cvttps_epi32(fy);
        // Below 0 or beyond the last: the last. As unsigned, a negative index is beyond it too.
        cx = _mm256_min_epu32(cx, lastCol);
        cy = _mm256_min_epu32(cy, lastLine);
        const __m256i cell = _mm256_add_epi32(_mm256_mullo_epi32(cy, mapW), cx);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(cells + (y - c.first)), cell);
        for (int k = 0; k < sizeCount; ++k) {
            const Size& s = sizes[k];
            const __m256i tx = _mm256_and_si256(_mm256_cvttps_epi32(_mm256_mul_ps(_mm256_set1_ps(s.texW), fx)),
                                                _mm256_set1_epi32(s.wMask));
            const __m256i ty = _mm256_and_si256(_mm256_cvttps_epi32(_mm256_mul_ps(_mm256_set1_ps(s.texH), fy)),
                                                _mm256_set1_epi32(s.hMask));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(texels[k] + (y - c.first)),
                                _mm256_add_epi32(_mm256_sll_epi32(ty, _mm_cvtsi32_si128(s.wShift)), tx));
        }
    }
    return y;
}

const bool haveAvx2 = [] {
    __builtin_cpu_init();  // may run before the library's own start-up code
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

}  // namespace

void castRows(const Column& c, const Size* sizes, int sizeCount, int* cells, int* const* texels) {
    int y = c.first;
#if defined(BRAWNWICK_AVX2)
    if (haveAvx2) y = castRowsAvx2(c, sizes, sizeCount, cells, texels);
#endif
#if defined(__SSE2__)
    const __m128 perp = _mm_set1_ps(c.perpWallDist);
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 wallX = _mm_set1_ps(c.floorXWall), wallY = _mm_set1_ps(c.floorYWall);
    const __m128 camX = _mm_set1_ps(c.posX), camY = _mm_set1_ps(c.posY);
    const __m128 mapH = _mm_set1_ps(static_cast<float>(c.mapHeight));
    const __m128 lastRow = _mm_set1_ps(static_cast<float>(c.mapHeight - 1));
    const __m128 mapWf = _mm_set1_ps(static_cast<float>(c.mapWidth));
    const __m128i lastCol = _mm_set1_epi32(c.mapWidth - 1), lastLine = _mm_set1_epi32(c.mapHeight - 1);
    const __m128i zero = _mm_setzero_si128();
    for (; y + 3 <= c.last; y += 4) {
        const __m128 weight = _mm_div_ps(_mm_loadu_ps(c.rowDistance + y), perp);
        const __m128 rest = _mm_sub_ps(one, weight);
        const __m128 fx = _mm_add_ps(_mm_mul_ps(weight, wallX), _mm_mul_ps(rest, camX));
        __m128 fy = _mm_add_ps(_mm_mul_ps(weight, wallY), _mm_mul_ps(rest, camY));
        const __m128 below = _mm_cmpgt_ps(fy, mapH);
        fy = _mm_or_ps(_mm_and_ps(below, lastRow), _mm_andnot_ps(below, fy));
        __m128i cx = _mm_cvttps_epi32(fx), cy = _mm_cvttps_epi32(fy);
        cx = select(_mm_or_si128(_mm_cmplt_epi32(cx, zero), _mm_cmpgt_epi32(cx, lastCol)), lastCol, cx);
        cy = select(_mm_or_si128(_mm_cmplt_epi32(cy, zero), _mm_cmpgt_epi32(cy, lastLine)), lastLine, cy);
        // Cells stay below 2^20, so the product and sum are exact in single precision.
        const __m128i cell =
            _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_cvtepi32_ps(cy), mapWf), _mm_cvtepi32_ps(cx)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cells + (y - c.first)), cell);
        for (int k = 0; k < sizeCount; ++k) {
            const Size& s = sizes[k];
            const __m128i tx =
                _mm_and_si128(_mm_cvttps_epi32(_mm_mul_ps(_mm_set1_ps(s.texW), fx)), _mm_set1_epi32(s.wMask));
            const __m128i ty =
                _mm_and_si128(_mm_cvttps_epi32(_mm_mul_ps(_mm_set1_ps(s.texH), fy)), _mm_set1_epi32(s.hMask));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(texels[k] + (y - c.first)),
                             _mm_add_epi32(_mm_sll_epi32(ty, _mm_cvtsi32_si128(s.wShift)), tx));
        }
    }
#endif
    for (; y <= c.last; ++y) castOne(c, sizes, sizeCount, y, cells, texels);
}

}  // namespace engine_floor
