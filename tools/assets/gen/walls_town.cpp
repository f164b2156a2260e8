// Village walls: limewashed plaster and half-timbering.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "shapes.h"
#include "texkit.h"
#include "walls.h"

namespace gen {

namespace {

// Distance to a timber frame given as segments; beams are w pixels wide.
struct Beam {
    float ax, ay, bx, by;
};

// Paints a timber frame over the infill, each beam shaded across its width and wrapped round
// the tile's sides so the wall continues from house to house.
void frame(Image& img, const std::vector<Beam>& beams, float w, Col dark, Col light, uint32_t seed) {
    for (const Beam& b : beams)
        for (float ox : {-64.0f, 0.0f, 64.0f}) {
            float ax = b.ax + ox, bx = b.bx + ox;
            float dx = bx - ax, dy = b.by - b.ay, l = len(dx, dy);
            paint(img, [=](float x, float y) { return sdSegment(x, y, ax, b.ay, bx, b.by, w); },
                  [=](float x, float y) {
                      float s = std::clamp(((x - ax) * -dy + (y - b.ay) * dx) / (l * w), -1.0f, 1.0f);
                      float along = ((x - ax) * dx + (y - b.ay) * dy) / l;
                      float g = grain(along / 64, s * 0.1f + ax * 0.01f, seed, 2);
                      Col c = mix(dark, light, g) * (0.9f + 0.2f * hashf(static_cast<int>(x), static_cast<int>(y), seed));
                      return lit(c, -dy / l * s, dx / l * s, std::sqrt(std::max(0.0f, 1 - s * s)), 0.5f, 0.05f);
                  });
        }
}

}  // namespace

Image wallWhitewash() {
    Image img = texture([](int x, int y, float u, float v) {
        Col c = mix(hex(0xc8c2b0), hex(0xe4e0d2), fbm(u, v, 4, 4, 261));
        c = c * (0.95f + 0.08f * hashf(x, y, 262));
        // Splashed mud along the foot of the wall, flaking limewash above it.
        c = mix(c, hex(0x7a6a50), smooth(0.72f, 1.0f, v + 0.2f * fbm(u, v, 8, 2, 263)) * 0.7f);
        float flake = smooth(0.72f, 0.75f, fbm(u, v, 16, 3, 264));
        return mix(c, hex(0xa89a80), flake * 0.45f);
    }, 2);
    frame(img, {{0, 3, 64, 3}, {0, 61, 64, 61}, {0, 0, 0, 64}, {36, 0, 36, 64}, {4, 58, 32, 6}}, 3.0f, hex(0x2a1a0e), hex(0x4e3420), 265);
    return img;
}

Image wallTimber() {
    Image img = texture([](int x, int y, float u, float v) {
        // Ochre daub in the panels, rougher and darker than the limewash.
        Col c = mix(hex(0xa8884e), hex(0xc8a86a), fbm(u, v, 8, 3, 271));
        return c * (0.9f + 0.12f * hashf(x, y, 272));
    }, 2);
    frame(img,
          {{0, 2.5f, 64, 2.5f}, {0, 31, 64, 31}, {0, 61.5f, 64, 61.5f}, {0, 0, 0, 64}, {32, 0, 32, 64},
           {0, 31, 32, 2.5f}, {32, 2.5f, 64, 31}, {0, 31, 32, 61.5f}, {32, 61.5f, 64, 31}},
          2.6f, hex(0x1e120a), hex(0x3a2414), 273);
    return img;
}

}  // namespace gen
