#pragma once
// Arithmetic guards of the renderer. The picture must stay identical to the plain floating-point
// algorithm, so these only differ from plain C++ where plain C++ would be undefined: a float that
// is not a number or does not fit an int, and a float division by zero.
#include <climits>
#include <cstdint>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine_math {

// Truncation toward zero. A value that is not a number or lies outside int gives INT_MIN, the
// answer of the x86 conversion instruction, which is used directly where available.
inline int truncToInt(float v) {
#if defined(__SSE2__)
    return _mm_cvttss_si32(_mm_set_ss(v));
#else
    if (!(v >= -2147483648.0f && v < 2147483648.0f)) return INT_MIN;
    return static_cast<int>(v);
#endif
}

// a / b with the IEEE result for b == 0 (±infinity, or NaN for 0/0), without dividing by zero.
inline float divide(float a, float b) {
    if (b != 0.0f) return a / b;
    if (a != a || a == 0.0f) return std::numeric_limits<float>::quiet_NaN();
    const bool negative = (a < 0.0f) != __builtin_signbit(b);
    return negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
}

inline int64_t abs64(int v) { return v < 0 ? -static_cast<int64_t>(v) : static_cast<int64_t>(v); }

// n pixels of a column in one colour, from `at` on: the runs of near walls and sprites.
inline void fillRows(int* at, int n, int colour) {
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(colour);
    for (; n >= 4; n -= 4, at += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(at), four);
#endif
    for (; n > 0; --n) *at++ = colour;
}

}  // namespace engine_math
