#include "intro_art.h"

#include "image.h"
#include "noise.h"
#include "patterns.h"
#include "shapes.h"

namespace gen {

namespace {

// A wall torch: warm light on the stones, an iron sconce and a flickering flame.
void torch(Image& img, float cx, float cy) {
    for (int y = 0; y < 528; ++y)
        for (int x = 0; x < img.w; ++x) {
            if (!img.inside(x, y)) continue;
            float d = len(x - cx, (y - cy + 20) * 0.9f);
            img.at(x, y) = img.at(x, y) * (1 + 1.2f * std::exp(-d / 90.0f)) + hex(0x6a3008) * (0.9f * std::exp(-d / 80.0f));
        }
    limb(img, cx, cy + 40, cx, cy + 4, 5, hex(0x2a2624));
    limb(img, cx - 10, cy + 52, cx, cy + 40, 3, hex(0x2a2624));
    paint(img, [=](float x, float y) { return sdPolygon(x, y, {{cx - 12, cy - 4}, {cx + 12, cy - 4}, {cx + 7, cy + 8}, {cx - 7, cy + 8}}); },
          [=](float x, float) { return lit(hex(0x3a3634), (x - cx) / 12, 0, 0.8f, 0.35f, 0.5f); });
    std::vector<P2> flame = {{cx - 10, cy - 6}, {cx - 6, cy - 26}, {cx - 1, cy - 20}, {cx + 2, cy - 40},
                             {cx + 6, cy - 22}, {cx + 9, cy - 28}, {cx + 10, cy - 6}};
    paintFlat(img, [&](float x, float y) { return sdPolygon(x, y, flame); }, hex(0xf06010));
    paint(img, [=](float x, float y) { return sdEllipse(x, y, cx, cy - 14, 6, 11); },
          [=](float, float y) { return mix(hex(0xfff4b0), hex(0xffa020), clamp01((cy - 3 - y) / 22)); });
}

}  // namespace

Image introBackground() {
    const uint32_t seed = 5150;
    Image img(800, 600);
    const float ledge = 528;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            Col c;
            if (y < ledge) {
                Block b = masonry(x, y, 64, 32, seed);
                c = mix(hex(0x2c2824), hex(0x3e3832), b.rnd);
                c = c * (0.75f + 0.45f * fbm(x / 800.0f, y / 800.0f, 16, 4, seed + 1));
                if (b.edge < 1.5f) c = c * 0.45f;
                else if (b.edge < 3.0f && b.v < 0.5f) c = c * 1.12f;
                float d = len((x - 400) / 1.3f, y - 270);
                float glow = 0.35f + 1.1f * std::exp(-d / 210.0f);
                // Keep the band under the credit and the web address dark.
                glow *= 1 - 0.45f * smooth(380, 470, y);
                c = c * glow + hex(0x3a1a08) * (0.5f * std::exp(-d / 160.0f));
            } else {
                c = mix(hex(0xd6ccb2), hex(0xb8ab8c), (y - ledge) / (600 - ledge));
                c = c * (0.92f + 0.12f * fbm(x / 800.0f, y / 800.0f, 32, 3, seed + 2));
                if (y < ledge + 3) c = hex(0x5a4630) * (y == static_cast<int>(ledge) ? 0.6f : 1.0f);
                if (y == static_cast<int>(ledge) + 3) c = hex(0xf2ead6);
            }
            img.at(x, y) = c;
        }
    for (float tx : {130.0f, 670.0f}) torch(img, tx, 250);
    return img;
}

Image studioLogo(const Image& word) {
    Image img(400, 200, Col{}, 0);
    std::vector<P2> banner = {{14, 100}, {44, 52}, {356, 52}, {386, 100}, {356, 148}, {44, 148}};
    std::vector<P2> inner = {{26, 100}, {52, 60}, {348, 60}, {374, 100}, {348, 140}, {52, 140}};
    paint(img, [&](float x, float y) { return sdPolygon(x, y, banner); },
          [](float x, float y) {
              float t = (y - 52) / 96;
              return mix(hex(0xb0b6c4), hex(0x3a3e48), t) * (0.9f + 0.1f * std::sin(x * 0.7f));
          });
    paint(img, [&](float x, float y) { return sdPolygon(x, y, inner); },
          [](float x, float y) {
              float t = (y - 60) / 80;
              Col c = mix(hex(0x3a1410), hex(0x1a0806), t);
              return c * (0.85f + 0.3f * fbm(x / 400.0f, y / 400.0f, 16, 3, 61));
          });
    for (float rx : {60.0f, 340.0f})
        for (float ry : {70.0f, 130.0f}) ball(img, rx, ry, 3.5f, 3.5f, hex(0xc8c8d0), 0.3f, 0.7f);
    const int ox = (img.w - word.w) / 2, oy = 100 - word.h / 2 + 2;
    for (int y = 0; y < word.h; ++y)
        for (int x = 0; x < word.w; ++x) {
            float k = 0;  // dark rim
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    int sx = x + dx, sy = y + dy;
                    if (sx >= 0 && sy >= 0 && sx < word.w && sy < word.h) k = std::max(k, word.alpha(sx, sy));
                }
            img.blend(ox + x, oy + y, hex(0x120604), k);
        }
    for (int y = 0; y < word.h; ++y)
        for (int x = 0; x < word.w; ++x) {
            float t = static_cast<float>(y) / word.h;
            Col gold = mix(hex(0xfff0a8), hex(0xe0a030), smooth(0.25f, 0.55f, t));
            gold = mix(gold, hex(0x9a5a14), smooth(0.6f, 0.85f, t));
            img.blend(ox + x, oy + y, gold, word.alpha(x, y));
        }
    return img;
}

Image emblem(const Image& letter) {
    Image img(64, 64, hex(0xc6baa0));
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 32, 31, 31, 5); },
          [](float x, float y) { return mix(hex(0xd8a84a), hex(0x6a4416), clamp01((x + y) / 128)); });
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 34, 25, 25, 3); },
          [](float, float y) { return mix(hex(0x9a2418), hex(0x4a0c08), clamp01((y - 9) / 50)); });
    for (int i = 0; i < 3; ++i)
        paintFlat(img, [i](float x, float y) { return sdBox(x, y, 18 + i * 14, 12, 4, 4); }, hex(0xe8c060));
    const int ox = 32 - letter.w / 2, oy = 37 - letter.h / 2;
    for (int y = 0; y < letter.h; ++y)
        for (int x = 0; x < letter.w; ++x) {
            img.blend(ox + x + 1, oy + y + 1, hex(0x200402), letter.alpha(x, y));
        }
    for (int y = 0; y < letter.h; ++y)
        for (int x = 0; x < letter.w; ++x)
            img.blend(ox + x, oy + y, mix(hex(0xfff0b0), hex(0xd09030), static_cast<float>(y) / letter.h),
                      letter.alpha(x, y));
    return img;
}

}  // namespace gen
