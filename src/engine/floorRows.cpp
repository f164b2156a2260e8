// The floor point of each screen row of a column. Rows are independent, so 4, 8 or 16 are computed
// at once with the same IEEE operations in the same order; the results are identical to one at a time.
#include "engine/floorRows.h"

#include "engine/cpuFeatures.h"
#include "engine/renderMath.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(BRAWNWICK_X86)
#include <immintrin.h>
#endif

namespace engine_floor {
namespace {

inline void castOne(const Column& c, const Size* sizes, int sizeCount, int layout, int y, const Rows& out) {
    const Point p = floorPoint(c, y);
    const int i = y - c.first;
    const int first = texelOffset(sizes[0], p.x, p.y);
    if (layout > 1) out.cells[i] = static_cast<uint32_t>(p.cell);
    if (layout > 2) {
        for (int k = 0; k < sizeCount; ++k)
            out.bySize[k * out.stride + i] = static_cast<uint32_t>(texelOffset(sizes[k], p.x, p.y));
        return;
    }
    out.words[i] = layout > 1 ? pack(first, texelOffset(sizes[1], p.x, p.y)) : pack(p.cell, first);
}

#if defined(__SSE2__)
inline __m128i select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

inline __m128i offsetsSse2(const Size& s, __m128 fx, __m128 fy) {
    const __m128i tx = _mm_and_si128(_mm_cvttps_epi32(_mm_mul_ps(_mm_set1_ps(s.texW), fx)), _mm_set1_epi32(s.wMask));
    const __m128i ty = _mm_and_si128(_mm_cvttps_epi32(_mm_mul_ps(_mm_set1_ps(s.texH), fy)), _mm_set1_epi32(s.hMask));
    return _mm_add_epi32(_mm_sll_epi32(ty, _mm_cvtsi32_si128(s.wShift)), tx);
}
#endif

#if defined(BRAWNWICK_X86)
// Eight rows at a time on processors that have AVX2: the same operations, twice as wide.
__attribute__((target("avx2"), always_inline)) inline __m256i offsetsAvx2(const Size& s, __m256 fx, __m256 fy) {
    const __m256i tx =
        _mm256_and_si256(_mm256_cvttps_epi32(_mm256_mul_ps(_mm256_set1_ps(s.texW), fx)), _mm256_set1_epi32(s.wMask));
    const __m256i ty =
        _mm256_and_si256(_mm256_cvttps_epi32(_mm256_mul_ps(_mm256_set1_ps(s.texH), fy)), _mm256_set1_epi32(s.hMask));
    return _mm256_add_epi32(_mm256_sll_epi32(ty, _mm_cvtsi32_si128(s.wShift)), tx);
}

// layout: 1 (one size), 2 (two) or 3 (count sizes, each apart), as castRows lays the rows out.
template <int layout>
__attribute__((target("avx2"))) int castRowsAvx2(const Column& c, const Size* sizes, int count, const Rows& rows) {
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
        const int i = y - c.first;
        if (layout > 1) _mm256_storeu_si256(reinterpret_cast<__m256i*>(rows.cells + i), cell);
        if (layout > 2) {
            for (int k = 0; k < count; ++k)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(rows.bySize + k * rows.stride + i), offsetsAvx2(sizes[k], fx, fy));
            continue;
        }
        const __m256i first = offsetsAvx2(sizes[0], fx, fy);
        const __m256i a = layout > 1 ? first : cell, b = layout > 1 ? offsetsAvx2(sizes[1], fx, fy) : first;
        // The halves of the words interleaved: rows 0, 1, 4, 5 in one half, 2, 3, 6, 7 in the other.
        const __m256i low = _mm256_unpacklo_epi32(a, b), high = _mm256_unpackhi_epi32(a, b);
        __m256i* out = reinterpret_cast<__m256i*>(rows.words + i);
        _mm256_storeu_si256(out, _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(low, high, 0x31));
    }
    return y;
}


// GCC 12's own AVX-512 header trips its maybe-uninitialized warning on the conversions.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// Sixteen rows at a time where AVX-512 is there. On processors that split its wide operations in
// two, that still halves the instructions to decode, which is what bounds this loop.
__attribute__((target("avx512f"), always_inline)) inline __m512i offsetsAvx512(const Size& s, __m512 fx, __m512 fy) {
    const __m512i tx =
        _mm512_and_si512(_mm512_cvttps_epi32(_mm512_mul_ps(_mm512_set1_ps(s.texW), fx)), _mm512_set1_epi32(s.wMask));
    const __m512i ty =
        _mm512_and_si512(_mm512_cvttps_epi32(_mm512_mul_ps(_mm512_set1_ps(s.texH), fy)), _mm512_set1_epi32(s.hMask));
    return _mm512_add_epi32(_mm512_sll_epi32(ty, _mm_cvtsi32_si128(s.wShift)), tx);
}

template <int layout>
__attribute__((target("avx512f"))) int castRowsAvx512(const Column& c, const Size* sizes, int count, const Rows& rows) {
    int y = c.first;
    const __m512 perp = _mm512_set1_ps(c.perpWallDist);
    const __m512 one = _mm512_set1_ps(1.0f);
    const __m512 wallX = _mm512_set1_ps(c.floorXWall), wallY = _mm512_set1_ps(c.floorYWall);
    const __m512 camX = _mm512_set1_ps(c.posX), camY = _mm512_set1_ps(c.posY);
    const __m512 mapH = _mm512_set1_ps(static_cast<float>(c.mapHeight));
    const __m512 lastRow = _mm512_set1_ps(static_cast<float>(c.mapHeight - 1));
    const __m512i mapW = _mm512_set1_epi32(c.mapWidth);
    const __m512i lastCol = _mm512_set1_epi32(c.mapWidth - 1), lastLine = _mm512_set1_epi32(c.mapHeight - 1);
    const __m512i firstHalf = _mm512_setr_epi32(0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
    const __m512i secondHalf = _mm512_setr_epi32(8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31);
    for (; y + 15 <= c.last; y += 16) {
        const __m512 weight = _mm512_div_ps(_mm512_loadu_ps(c.rowDistance + y), perp);
        const __m512 rest = _mm512_sub_ps(one, weight);
        const __m512 fx = _mm512_add_ps(_mm512_mul_ps(weight, wallX), _mm512_mul_ps(rest, camX));
        __m512 fy = _mm512_add_ps(_mm512_mul_ps(weight, wallY), _mm512_mul_ps(rest, camY));
        fy = _mm512_mask_blend_ps(_mm512_cmp_ps_mask(fy, mapH, _CMP_GT_OQ), fy, lastRow);
        const __m512i cx = _mm512_min_epu32(_mm512_cvttps_epi32(fx), lastCol);
        const __m512i cy = _mm512_min_epu32(_mm512_cvttps_epi32(fy), lastLine);
        const __m512i cell = _mm512_add_epi32(_mm512_mullo_epi32(cy, mapW), cx);
        const int i = y - c.first;
        if (layout > 1) _mm512_storeu_si512(rows.cells + i, cell);
        if (layout > 2) {
            for (int k = 0; k < count; ++k) _mm512_storeu_si512(rows.bySize + k * rows.stride + i, offsetsAvx512(sizes[k], fx, fy));
            continue;
        }
        const __m512i first = offsetsAvx512(sizes[0], fx, fy);
        const __m512i a = layout > 1 ? first : cell, b = layout > 1 ? offsetsAvx512(sizes[1], fx, fy) : first;
        __m512i* out = reinterpret_cast<__m512i*>(rows.words + i);
        _mm512_storeu_si512(out, _mm512_permutex2var_epi32(a, firstHalf, b));
        _mm512_storeu_si512(out + 1, _mm512_permutex2var_epi32(a, secondHalf, b));
    }
    return y;
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#endif

}  // namespace

void castRows(const Column& c, const Size* sizes, int sizeCount, const Rows& rows) {
    int y = c.first;
    const int layout = rows.bySize ? 3 : sizeCount > 1 ? 2 : 1;
#if defined(BRAWNWICK_X86)
    if (engine_cpu::avx512())
        y = layout == 3   ? castRowsAvx512<3>(c, sizes, sizeCount, rows)
            : layout == 2 ? castRowsAvx512<2>(c, sizes, sizeCount, rows)
                          : castRowsAvx512<1>(c, sizes, sizeCount, rows);
    if (engine_cpu::avx2()) {
        Column rest = c;
        rest.first = y;
        const int at = y - c.first;
        const Rows later{rows.cells + at, rows.words + at, rows.bySize ? rows.bySize + at : nullptr, rows.stride};
        y = layout == 3   ? castRowsAvx2<3>(rest, sizes, sizeCount, later)
            : layout == 2 ? castRowsAvx2<2>(rest, sizes, sizeCount, later)
                          : castRowsAvx2<1>(rest, sizes, sizeCount, later);
    }
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
        const int i = y - c.first;
        if (layout > 1) _mm_storeu_si128(reinterpret_cast<__m128i*>(rows.cells + i), cell);
        if (layout > 2) {
            for (int k = 0; k < sizeCount; ++k)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(rows.bySize + k * rows.stride + i), offsetsSse2(sizes[k], fx, fy));
            continue;
        }
        const __m128i first = offsetsSse2(sizes[0], fx, fy);
        const __m128i a = layout > 1 ? first : cell, b = layout > 1 ? offsetsSse2(sizes[1], fx, fy) : first;
        __m128i* out = reinterpret_cast<__m128i*>(rows.words + i);
        _mm_storeu_si128(out, _mm_unpacklo_epi32(a, b));
        _mm_storeu_si128(out + 1, _mm_unpackhi_epi32(a, b));
    }
#endif
    for (; y <= c.last; ++y) castOne(c, sizes, sizeCount, layout, y, rows);
}

}  // namespace engine_floor
