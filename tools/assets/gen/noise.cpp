#include "noise.h"

#include <cmath>
#include <cstdint>

namespace gen {

float vnoise(float u, float v, int period, uint32_t seed) {
    float x = u * period, y = v * period;
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float fx = x - x0, fy = y - y0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    int xa = wrapi(x0, period), xb = wrapi(x0 + 1, period);
    int ya = wrapi(y0, period), yb = wrapi(y0 + 1, period);
    float a = hashf(xa, ya, seed), b = hashf(xb, ya, seed);
    float c = hashf(xa, yb, seed), d = hashf(xb, yb, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fbm(float u, float v, int period, int octaves, uint32_t seed, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * vnoise(u, v, period, seed + 101u * i);
        norm += amp;
        amp *= gain;
        period *= 2;
    }
    return sum / norm;
}

}  // namespace gen
