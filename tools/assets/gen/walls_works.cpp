// Foundry walls: pipework and the furnaces.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "shapes.h"
#include "texkit.h"
#include "walls.h"

namespace gen {

namespace {

// A pipe lit across its width; vertical when `upright`.
void pipe(Image& img, float at, float r, bool upright, Col base) {
    paint(img, [=](float x, float y) { return std::fabs((upright ? x : y) - at) - r; },
          [=](float x, float y) {
              float s = ((upright ? x : y) - at) / r;
              float nz = std::sqrt(std::max(0.0f, 1 - s * s));
              Col c = base * (0.85f + 0.25f * fbm(x / 64, y / 64, 8, 2, 281));
              return upright ? lit(c, s, 0, nz, 0.3f, 0.5f) : lit(c, 0, s, nz, 0.3f, 0.5f);
          });
}

}  // namespace

Image wallPipes() {
    Image img = texture([](int x, int y, float u, float v) {
        // Sooty iron plates behind the pipework.
        Col c = hex(0x34302c) * (0.8f + 0.3f * fbm(u, v, 8, 3, 282));
        int py = y % 32;
        if (py == 0) return hex(0x141210);
        if (py == 1) c = c * 1.3f;
        if ((x % 16 == 8) && (py == 4 || py == 28)) c = hex(0x8a847a);
        return c;
    });
    pipe(img, 10, 5, true, hex(0x7a5a3a));   // copper, browned by heat
    pipe(img, 44, 7, true, hex(0x54585e));   // iron main
    pipe(img, 56, 2.5f, true, hex(0xb08a40)); // brass steam line
    pipe(img, 40, 4, false, hex(0x4a4e54));   // a cross pipe through the whole run
    // Flanges and a valve with a red wheel on the iron main.
    for (float fy : {20.0f, 58.0f})
        paint(img, [fy](float x, float y) { return sdBox(x, y, 44, fy, 9, 1.8f); },
              [fy](float, float y) { return lit(hex(0x3a3e44), 0, (y - fy) / 1.8f * 0.6f, 0.8f, 0.35f, 0.4f); });
    for (float fx : {10.0f, 56.0f})
        paint(img, [fx](float x, float y) { return sdBox(x, y, fx, 40, fx < 30 ? 6.5f : 4, 5.5f); },
              [fx](float x, float) { return lit(hex(0x3a3e44), (x - fx) / 6 * 0.6f, 0, 0.8f, 0.35f, 0.4f); });
    ball(img, 44, 30, 5, 4, hex(0x3a3e44), 0.35f, 0.4f);  // valve body
    paint(img, [](float x, float y) { return std::fabs(sdCircle(x, y, 44, 28, 6.5f)) - 1.3f; },
          [](float x, float y) { return lit(hex(0xc02818), (x - 44) / 8, (y - 28) / 8, 0.7f, 0.4f, 0.6f); });
    for (int i = 0; i < 3; ++i) {
        float a = 0.5f + i * 2.094f;
        limb(img, 44, 28, 44 + 6 * std::cos(a), 28 + 6 * std::sin(a), 0.8f, hex(0xa02014));
    }
    ball(img, 44, 28, 1.8f, 1.8f, hex(0x8a8a8a), 0.4f, 0.6f);
    // A small gauge on the brass line.
    ball(img, 56, 12, 4.5f, 4.5f, hex(0xb08a40), 0.35f, 0.6f);
    paintFlat(img, [](float x, float y) { return sdCircle(x, y, 56, 12, 3.2f); }, hex(0xe8e0c8));
    limb(img, 56, 12, 57.8f, 10.2f, 0.4f, hex(0x101010));
    return img;
}

Image wallFurnace() {
    Image img = texture([](int x, int y, float u, float v) {
        Col c = masonryPixel(x, y, u, v, 16, 8, hex(0x5a4030), hex(0x7e5a3a), hex(0x1a1410), 291, 1.0f);
        // Soot from the mouth, heat glow on the bricks around it.
        float d = len(x + 0.5f - 32, (y + 0.5f - 44) * 1.2f);
        c = c * (0.45f + 0.55f * smooth(14, 30, d + 8 * fbm(u, v, 4, 2, 292)));
        return c + hex(0xc04010) * (0.55f * (1 - smooth(10, 24, d)));
    });
    auto mouth = [](float x, float y) { return std::min(sdBox(x, y, 32, 50, 12, 10), sdCircle(x, y, 32, 40, 12)); };
    // Arch of firebrick voussoirs, then the glowing fire behind an iron grate.
    paint(img, [&](float x, float y) { return std::max(mouth(x, y) - 4, -mouth(x, y)); },
          [](float x, float y) {
              float a = std::atan2(y - 40, x - 32);
              bool joint = std::fabs(std::fmod(a * 7 + 31.4f, 1.0f) - 0.5f) > 0.44f || y > 60;
              Col c = joint ? hex(0x24160e) : mix(hex(0xb87a40), hex(0xd8a060), hashf(static_cast<int>(a * 7 + 30), 0, 293));
              return c;
          });
    paint(img, mouth, [](float x, float y) {
        float t = clamp01((y - 28) / 34);
        float flick = fbm(x / 64, y / 64 * 0.5f, 8, 3, 294);
        Col c = mix(hex(0xffd860), hex(0xe05010), clamp01(1 - t * 1.4f + (flick - 0.5f)));
        c = mix(c, hex(0xfff8d0), smooth(0.75f, 0.95f, t + 0.3f * flick) * 0.8f);
        int gx = static_cast<int>(x) % 6;
        if (gx == 0 || gx == 1) c = hex(0x1a1412) * (1.0f + (gx == 1 ? 0.6f : 0));
        if (static_cast<int>(y) == 48 || static_cast<int>(y) == 49) c = hex(0x2a221e);
        return c;
    });
    return img;
}

}  // namespace gen
