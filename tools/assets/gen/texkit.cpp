#include "texkit.h"

#include <cmath>
#include <functional>

#include "image.h"
#include "noise.h"
#include "patterns.h"
#include "shapes.h"

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

Col masonryPixel(float x, float y, float u, float v, float bw, float bh, Col a, Col b, Col mortar,
                 uint32_t seed, float joint) {
    Block k = masonry(x, y, bw, bh, seed, 0.5f, static_cast<int>(TEX / bw), static_cast<int>(TEX / bh));
    if (k.edge < joint) return mortar * (0.85f + 0.3f * hashf(static_cast<int>(x), static_cast<int>(y), seed + 9));
    Col c = mix(a, b, k.rnd);
    c = c * (0.82f + 0.3f * fbm(u, v, 8, 3, seed + 1));
    c = c * (0.94f + 0.12f * hashf(static_cast<int>(x), static_cast<int>(y), seed + 2));
    return c * bevel(k, bw, bh);
}

namespace {

float rockHeight(float u, float v, uint32_t seed, int cells) {
    Cell c = cellular(u, v, cells, seed, 0.9f);
    float h = 0.55f * fbm(u, v, 4, 4, seed + 1) + 0.45f * clamp01(1 - c.f1);
    return h - 0.45f * (1 - smooth(0.0f, 0.14f, c.f2 - c.f1));
}

}  // namespace

Col rockPixel(float u, float v, uint32_t seed, Col dark, Col light, int cells, float relief) {
    const float e = 1.0f / TEX;
    float h = rockHeight(u, v, seed, cells);
    float nx = -(rockHeight(u + e, v, seed, cells) - h) * relief * TEX * 0.1f;
    float ny = -(rockHeight(u, v + e, seed, cells) - h) * relief * TEX * 0.1f;
    float n = len(len(nx, ny), 1.0f);
    Col base = mix(dark, light, smooth(0.1f, 0.8f, h));
    base = base * (0.92f + 0.16f * hashf(static_cast<int>(u * 4096), static_cast<int>(v * 4096), seed + 3));
    return lit(base, nx / n, ny / n, 1 / n, 0.5f, 0.08f);
}

float grain(float u, float v, uint32_t seed, int rings) {
    float n = fbm(u, v, 4, 3, seed);
    float s = std::sin(TWO_PI * (v * rings + 2.0f * n));
    return 0.5f + 0.5f * s;
}

}  // namespace gen
