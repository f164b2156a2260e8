// Underground walls: the keep's cellars and the mine below them.
#include <cmath>

#include "noise.h"
#include "shapes.h"
#include "texkit.h"
#include "walls.h"

namespace gen {

namespace {

const Col ROCK_DARK = hex(0x2e2822), ROCK_LIGHT = hex(0x86786a);

// Oak with a hard grain along its length; `across` turns the grain to run along x.
Col timberPixel(float u, float v, uint32_t seed, bool across) {
    float g = across ? grain(u * 0.3f, v, seed, 3) : grain(v * 0.3f, u, seed, 3);
    return mix(hex(0x4a3018), hex(0x76522c), g) * (0.85f + 0.2f * fbm(u, v, 16, 2, seed + 1));
}

}  // namespace

Image wallCellar() {
    return texture([](int x, int y, float u, float v) {
        // Big worn blocks in black mortar, sweating: damp rises from the floor, water runs down
        // in streaks that catch the light, green slime where it pools and salt where it dries.
        Col c = masonryPixel(x, y, u, v, 32, 21.333f, hex(0x403e38), hex(0x58554c), hex(0x121210), 221, 1.6f);
        float streak = smooth(0.55f, 0.8f, fbm(u, v * 0.05f, 16, 2, 222));
        float damp = clamp01(smooth(0.4f, 1.0f, v) * 0.8f + streak * 0.7f);
        c = mix(c, c * hex(0x6a8478), damp * 0.7f);
        c = c + hex(0x202a28) * (streak * smooth(0.6f, 0.9f, hashf(x, y / 3, 224)));
        float slime = smooth(0.62f, 0.75f, fbm(u, v, 8, 3, 225)) * smooth(0.7f, 0.95f, v);
        c = mix(c, hex(0x26361c) * (0.8f + 0.4f * hashf(x, y, 226)), slime * 0.6f);
        float salt = smooth(0.68f, 0.8f, fbm(u, v, 8, 3, 223)) * smooth(0.2f, 0.5f, v) * (1 - damp * 0.6f);
        return mix(c, hex(0xa8aaa0), salt * 0.5f);
    }, 2);
}

Image wallRock() {
    return texture([](int, int, float u, float v) { return rockPixel(u, v, 231, ROCK_DARK, ROCK_LIGHT, 5); }, 2);
}

Image wallOreVein() {
    return texture([](int x, int y, float u, float v) {
        Col c = rockPixel(u, v, 241, hex(0x2a2a2e), hex(0x747078), 5);
        // Two winding quartz seams; ore glints along them.
        float w = std::fabs(fbm(u, v, 2, 4, 242) - 0.5f);
        float seam = 1 - smooth(0.02f, 0.05f, w);
        c = mix(c, hex(0xd8d0b8) * (0.7f + 0.4f * fbm(u, v, 16, 2, 243)), seam * 0.85f);
        float near = 1 - smooth(0.03f, 0.09f, w);
        float h = hashf(x, y, 244);
        if (near > 0.2f && h > 0.86f) c = mix(hex(0xc88a20), hex(0xfff0a0), (h - 0.86f) / 0.14f);
        if (near > 0.5f && h > 0.97f) c = hex(0xffffff);
        return c;
    }, 1);
}

Image wallShoring() {
    Image img = texture([](int, int, float u, float v) { return rockPixel(u, v, 251, ROCK_DARK, ROCK_LIGHT, 5) * 0.85f; }, 2);
    // Two posts under a cap beam that runs through the tile, so the shoring continues along a drift.
    for (float px : {12.0f, 52.0f}) {
        paint(img, [px](float x, float y) { return sdBox(x, y, px, 36, 5, 28); },
              [px](float x, float y) {
                  float s = (x - px) / 5;
                  return lit(timberPixel(x / 64, y / 64, 252 + static_cast<uint32_t>(px), false), s, 0,
                             std::sqrt(std::max(0.0f, 1 - s * s)), 0.45f, 0.05f);
              });
    }
    paint(img, [](float, float y) { return std::fabs(y - 7) - 6; }, [](float x, float y) {
        float s = (y - 7) / 6;
        Col c = timberPixel(x / 64, y / 64, 254, true);
        if (std::fmod(x + 64, 32.0f) < 1) c = c * 0.4f;  // butt joints above the posts
        return lit(c, 0, s, std::sqrt(std::max(0.0f, 1 - s * s)), 0.45f, 0.05f);
    });
    // Wedges between cap and post and an iron dog across each joint.
    for (float px : {12.0f, 52.0f}) {
        paintFlat(img, [px](float x, float y) { return sdPolygon(x, y, {{px - 6, 13}, {px + 6, 13}, {px + 4, 16}, {px - 4, 16}}); },
                  hex(0x5a3c1e));
        limb(img, px - 3, 10, px - 3, 20, 1.0f, hex(0x50504c));
    }
    return img;
}

}  // namespace gen
