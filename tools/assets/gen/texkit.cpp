#include "texkit.h"

#include <cmath>
#include <functional>

#include "image.h"
#include "noise.h"
#include "patterns.h"

namespace gen {

Image texture(const std::function<Col(int, int, float, float)>& f, int ss) {
    Image img(TEX, TEX);
    for (int y = 0; y < TEX; ++y)
        for (int x = 0; x < TEX; ++x) {
            Col sum;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i)
                    sum = sum + f(x, y, (x + (i + 0.5f) / ss) / TEX, (y + (j + 0.5f) / ss) / TEX);
            img.at(x, y) = sum * (1.0f / (ss * ss));
        }
    return img;
}

float bevel(const Block& b, float bw, float bh, float width) {
    float lx = b.u * bw, ly = b.v * bh;
    float k = 1;
    if (ly < width) k += 0.25f * (1 - ly / width);
    if (lx < width) k += 0.12f * (1 - lx / width);
    if (bh - ly < width) k -= 0.3f * (1 - (bh - ly) / width);
    if (bw - lx < width) k -= 0.15f * (1 - (bw - lx) / width);
    return k;
}

Cell cellular(float u, float v, int cells, uint32_t seed, float jitter) {
    float x = u * cells, y = v * cells;
    int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    Cell r{1e9f, 1e9f, 0};
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int gx = cx + dx, gy = cy + dy;
            int wx = wrapi(gx, cells), wy = wrapi(gy, cells);
            float px = gx + 0.5f + jitter * (hashf(wx, wy, seed) - 0.5f);
            float py = gy + 0.5f + jitter * (hashf(wx, wy, seed + 1) - 0.5f);
            float d = std::sqrt((x - px) * (x - px) + (y - py) * (y - py));
            if (d < r.f1) {
                r.f2 = r.f1;
                r.f1 = d;
                r.id = hash3(wx, wy, seed + 2);
            } else if (d < r.f2) {
                r.f2 = d;
            }
        }
    return r;
}

float grain(float u, float v, uint32_t seed, int rings) {
    float n = fbm(u, v, 4, 3, seed);
    float s = std::sin(TWO_PI * (v * rings + 2.0f * n));
    return 0.5f + 0.5f * s;
}

}  // namespace gen
