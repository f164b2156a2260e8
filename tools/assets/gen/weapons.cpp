#include "weapons.h"

#include <vector>

#include "noise.h"
#include "shapes.h"

namespace gen {

namespace {

constexpr int WPN = 256;

// A tube seen from behind: a trapezoid from a wide near end to a narrow far end, shaded as a
// cylinder across its width.
void tube(Image& img, float cx, float yNear, float wNear, float yFar, float wFar, Col base, float ambient = 0.3f) {
    std::vector<P2> q = {{cx - wNear / 2, yNear}, {cx + wNear / 2, yNear}, {cx + wFar / 2, yFar}, {cx - wFar / 2, yFar}};
    paint(img, [q](float x, float y) { return sdPolygon(x, y, q); },
          [=](float x, float y) {
              float t = clamp01((y - yNear) / (yFar - yNear));
              float hw = (wNear + (wFar - wNear) * t) / 2;
              float s = std::clamp((x - cx) / hw, -1.0f, 1.0f);
              return lit(base, s, -0.3f, std::sqrt(std::max(0.0f, 1 - s * s)), ambient, 0.5f);
          });
}

// A band around a tube at height y with half-width hw (flattened ellipse arc).
void band(Image& img, float cx, float y, float hw, float thick, Col c) {
    paint(img, [=](float x, float py) { return std::max(std::fabs(x - cx) - hw, std::fabs(py - y - 0.12f * hw * (1 - ((x - cx) / hw) * ((x - cx) / hw))) - thick / 2); },
          [=](float x, float) {
              float s = std::clamp((x - cx) / hw, -1.0f, 1.0f);
              return lit(c, s, -0.2f, std::sqrt(std::max(0.0f, 1 - s * s)), 0.35f, 0.7f);
          });
}

// The muzzle face: a rim with a dark bore.
void muzzle(Image& img, float cx, float cy, float rx, float ry, Col rim) {
    ball(img, cx, cy, rx, ry, rim, 0.4f, 0.6f);
    paintFlat(img, [=](float x, float y) { return sdEllipse(x, y, cx, cy + ry * 0.1f, rx * 0.62f, ry * 0.62f); }, hex(0x0c0a08));
}

// A gloved hand gripping from below: palm, a row of knuckles and the thumb.
void glove(Image& img, float cx, float cy, float s, bool left) {
    const Col leather = hex(0x8a5430), seam = hex(0x3a2010), cuff = hex(0x4a2a14);
    float m = left ? -1.0f : 1.0f;
    limb(img, cx + m * 8 * s, cy + 40 * s, cx + m * 14 * s, cy + 80 * s, 26 * s, cuff);  // sleeve
    ball(img, cx, cy + 10 * s, 30 * s, 26 * s, leather, 0.35f, 0.3f);
    for (int i = 0; i < 4; ++i) {  // knuckles, each with a dark seam around it
        float kx = cx + (-18 + 12 * i) * s, ky = cy - 10 * s + std::fabs(i - 1.5f) * 2 * s;
        ball(img, kx, ky, 7.5f * s + 1.2f, 7 * s + 1.2f, seam, 0.6f, 0.0f);
        ball(img, kx, ky, 7.5f * s, 7 * s, leather * 1.1f, 0.35f, 0.35f);
    }
    limb(img, cx - m * 24 * s, cy + 14 * s, cx - m * 20 * s, cy - 14 * s, 7 * s + 1.2f, seam);
    limb(img, cx - m * 24 * s, cy + 14 * s, cx - m * 20 * s, cy - 14 * s, 7 * s, leather);
    // Stitching across the back of the hand.
    for (int i = 0; i < 7; ++i) img.blend(static_cast<int>(cx + (-15 + 5 * i) * s), static_cast<int>(cy + 14 * s), hex(0xe0b880), 1);
}

// A ragged fireball: spikes around a white-hot core.
void flash(Image& img, float cx, float cy, float r, uint32_t seed) {
    Rng rng(seed);
    std::vector<P2> star;
    const int spikes = 14;
    for (int i = 0; i < spikes * 2; ++i) {
        float a = 3.14159f * i / spikes;
        float rr = (i % 2 ? 0.45f : rng.range(0.8f, 1.15f)) * r;
        star.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a) * 0.8f});
    }
    paintFlat(img, [star](float x, float y) { return sdPolygon(x, y, star); }, hex(0xff7a10));
    paint(img, [=](float x, float y) { return sdEllipse(x, y, cx, cy, r * 0.6f, r * 0.5f); },
          [=](float x, float y) { return mix(hex(0xffffe0), hex(0xffc030), clamp01(len(x - cx, (y - cy) * 1.2f) / (r * 0.6f))); });
}

void smoke(Image& img, float cx, float cy, float r, uint32_t seed) {
    Rng rng(seed);
    for (int i = 0; i < 6; ++i) {
        float a = rng.range(0, 6.283f), d = rng.range(0, r * 0.6f);
        ball(img, cx + d * std::cos(a), cy + d * std::sin(a) * 0.7f, r * rng.range(0.35f, 0.55f), r * rng.range(0.3f, 0.45f),
             hex(0xa8a4a0), 0.6f, 0.05f);
    }
}

Image finishWeapon(Image img) {
    for (float& a : img.a) a = a >= 0.5f ? 1.0f : 0.0f;
    outline(img, hex(0x0c0806));
    return img;
}

}  // namespace

Image hunter(const Pose& p) {
    Image img(WPN, WPN, Col{}, 0);
    // Laid out at 2/3 size around the bottom centre, then scaled up by k.
    const float k = 1.5f, cx = 128 + p.dx, oy = p.dy;
    auto Y = [=](float y) { return 256 - (256 - y) * k + oy; };
    const Col steel = hex(0x5a606c), brass = hex(0xc8963a), wood = hex(0x7a4422);
    // Frame behind everything, then the long barrel with a rib and a blade sight.
    paint(img, [=](float x, float y) { return sdBox(x, y, cx, Y(216), 22 * k, 14 * k, 7); },
          [=](float x, float y) { return lit(steel * 0.8f, (x - cx) / (22 * k), (y - Y(216)) / 60, 0.8f, 0.35f, 0.4f); });
    tube(img, cx, Y(184), 24 * k, Y(124), 16 * k, steel);
    paint(img, [=](float x, float y) { return sdPolygon(x, y, {{cx - 3, Y(184)}, {cx + 3, Y(184)}, {cx + 2, Y(124)}, {cx - 2, Y(124)}}); },
          [](float, float) { return hex(0xb8c0cc); });
    band(img, cx, Y(132), 8 * k + 2, 6, brass);
    paintFlat(img, [=](float x, float y) { return sdBox(x, y, cx, Y(121), 2.2f, 7); }, hex(0x1a1a1e));
    muzzle(img, cx, Y(125), 8 * k, 4 * k, steel * 1.1f);
    // The fluted cylinder, wider than the barrel.
    tube(img, cx, Y(206), 44 * k, Y(182), 38 * k, steel * 0.95f);
    for (float f : {-0.72f, -0.25f, 0.25f, 0.72f}) {
        paintFlat(img, [=](float x, float y) {
            float t = clamp01((y - Y(206)) / (Y(182) - Y(206)));
            float hw = (44 + (38 - 44) * t) / 2 * k;
            return std::max(std::fabs(x - (cx + f * hw)) - 1.6f, std::fabs(y - (Y(194))) - 9 * k * 0.9f);
        }, hex(0x1c1e24));
    }
    band(img, cx, Y(206), 22 * k + 1, 5, brass);
    band(img, cx, Y(182), 19 * k + 1, 4, brass);
    // Hammer spur, drawn back while the shot is aimed.
    const float hammer = p.dy < -3 ? 198 : 205;
    limb(img, cx, Y(214), cx, Y(hammer), 6, hex(0x2a2a30));
    for (int i = 0; i < 3; ++i)
        paintFlat(img, [=](float x, float y) { return sdBox(x, y, cx, Y(hammer + 2 + i * 3), 5, 0.6f); }, hex(0x50505a));
    // Wooden grip in the hand.
    paint(img, [=](float x, float y) { return sdBox(x, y, cx, Y(240), 18 * k, 12 * k, 6); },
          [=](float x, float) { return lit(wood, (x - cx) / (18 * k), 0, 0.9f, 0.4f, 0.2f); });
    glove(img, cx + 6, Y(238), 1.15f, false);
    if (p.flash > 0) flash(img, cx, Y(117), p.flash, 600);
    if (p.smoke > 0) smoke(img, cx + 4, Y(110), p.smoke, 601);
    return finishWeapon(img);
}

Image impactCannon(const Pose& p) {
    Image img(WPN, WPN, Col{}, 0);
    const float cx = 128 + p.dx, oy = p.dy;
    const Col bronze = hex(0xb07a3a), iron = hex(0x3e4048), wood = hex(0x6a3a1c);
    // Side handles held by both hands, behind the barrel.
    for (int side = -1; side <= 1; side += 2) {
        limb(img, cx + side * 50, 206 + oy, cx + side * 84, 214 + oy, 6, iron);
        limb(img, cx + side * 86, 200 + oy, cx + side * 86, 250 + oy, 9, wood);
        glove(img, cx + side * 88, 228 + oy, 0.8f, side < 0);
    }
    tube(img, cx, 262 + oy, 116, 96 + oy, 90, bronze, 0.28f);
    for (float y : {244.0f, 196.0f, 146.0f}) {
        float t = (y - 262) / (96 - 262);
        band(img, cx, y + oy, (116 + (90 - 116) * t) / 2 + 3, 10, iron);
    }
    // Glowing charge window on top of the barrel.
    paint(img, [=](float x, float y) { return sdBox(x, y, cx, 172 + oy, 8, 16, 3); },
          [=](float, float y) { return mix(hex(0xfff0a0), hex(0xe05010), clamp01((y - 156 - oy) / 32)); });
    paintFlat(img, [=](float x, float y) { return std::fabs(sdBox(x, y, cx, 172 + oy, 9, 17, 3)) - 1.4f; }, iron);
    // Flared muzzle with a thick lip.
    tube(img, cx, 112 + oy, 92, 92 + oy, 112, iron * 1.3f, 0.3f);
    muzzle(img, cx, 92 + oy, 56, 15, iron * 1.4f);
    if (p.flash > 0) flash(img, cx, 84 + oy, p.flash, 610);
    if (p.smoke > 0) smoke(img, cx, 72 + oy, p.smoke, 611);
    return finishWeapon(img);
}

namespace {

// A circular saw blade lying almost flat in front of the launcher, teeth raked with the spin.
void sawBlade(Image& img, float cx, float cy, float r, float squash, float spin) {
    const int teeth = 16;
    for (int k = 0; k < teeth; ++k) {
        float a = spin + 6.28318f * k / teeth;
        float a1 = a - 0.13f, a2 = a + 0.13f;
        std::vector<P2> t = {{cx + r * std::cos(a1), cy + r * squash * std::sin(a1)},
                             {cx + r * std::cos(a2), cy + r * squash * std::sin(a2)},
                             {cx + (r + 7) * std::cos(a2 + 0.1f), cy + (r + 7) * squash * std::sin(a2 + 0.1f)}};
        paintFlat(img, [t](float x, float y) { return sdPolygon(x, y, t); }, hex(0xd8dce4));
    }
    paint(img, [=](float x, float y) { return sdEllipse(x, y, cx, cy, r, r * squash); },
          [=](float x, float y) {
              float d = len((x - cx) / r, (y - cy) / (r * squash));
              float ang = std::atan2((y - cy) / squash, x - cx);
              float sheen = 0.5f + 0.5f * std::cos(2 * (ang - spin));
              Col c = mix(hex(0x8a909c), hex(0xe8ecf4), sheen * 0.7f);
              if (std::fabs(d - 0.7f) < 0.04f) c = c * 0.7f;  // cut groove
              if (d < 0.25f) c = hex(0xb08a3a) * (d < 0.12f ? 0.6f : 1.0f);  // brass hub
              return c;
          });
    for (int k = 0; k < 3; ++k) {  // lightening holes turn with the blade
        float a = spin * 0.5f + 6.28318f * k / 3;
        paintFlat(img, [=](float x, float y) { return sdEllipse(x, y, cx + 0.47f * r * std::cos(a), cy + 0.47f * r * squash * std::sin(a), 4.5f, 4.5f * squash); },
                  hex(0x2a2c30));
    }
}

}  // namespace

Image buzzsaw(const Pose& p) {
    Image img(WPN, WPN, Col{}, 0);
    const float cx = 128 + p.dx, oy = p.dy;
    const Col iron = hex(0x4a4e58), brass = hex(0xc8963a);
    // Launch rail and the geared spinner housing.
    tube(img, cx, 200 + oy, 40, 122 + oy, 22, iron);
    paint(img, [=](float x, float y) { return sdBox(x, y, cx, 226 + oy, 52, 30, 10); },
          [=](float x, float y) { return lit(iron, (x - cx) / 52, (y - 226 - oy) / 60, 0.8f, 0.3f, 0.4f); });
    for (int side = -1; side <= 1; side += 2) {  // gears on both flanks
        float gx = cx + side * 44, gy = 214 + oy;
        for (int k = 0; k < 8; ++k) {
            float a = p.spin * side + 0.785f * k;
            paintFlat(img, [=](float x, float y) { return sdBox(x, y, gx + 15 * std::cos(a), gy + 15 * std::sin(a), 3.5f, 3.5f); }, brass * 0.8f);
        }
        ball(img, gx, gy, 14, 14, brass, 0.35f, 0.6f);
        ball(img, gx, gy, 5, 5, iron, 0.35f, 0.6f);
    }
    paint(img, [=](float x, float y) { return sdBox(x, y, cx, 206 + oy, 14, 8, 3); },
          [=](float, float y) { return mix(hex(0xffe080), hex(0xd04010), clamp01((y - 198 - oy) / 16)); });
    for (int side = -1; side <= 1; side += 2) glove(img, cx + side * 70, 236 + oy, 0.72f, side < 0);
    if (p.blade == 1) {
        sawBlade(img, cx, 116 + oy, 46, 0.36f, p.spin);
    } else if (p.blade == 2) {
        sawBlade(img, cx, 140 + oy, 40, 0.36f, p.spin);  // the next blade rising from the housing
    } else {
        sawBlade(img, cx, 58 + oy, 22, 0.36f, p.spin);   // the launched blade flying off
    }
    if (p.flash > 0) {  // a burst of sparks where the blade leaves the rail
        Rng rng(620);
        for (int i = 0; i < 22; ++i) {
            float a = rng.range(3.3f, 6.1f), l = rng.range(0.5f, 1.0f) * p.flash;
            limb(img, cx, 120 + oy, cx + l * std::cos(a), 120 + oy + l * std::sin(a) * 0.7f, 2.0f,
                 mix(hex(0xfff8c0), hex(0xffa020), rng.uni()));
        }
        flash(img, cx, 120 + oy, p.flash * 0.5f, 621);
    }
    return finishWeapon(img);
}

std::vector<Pose> hunterPoses() {
    return {{0, 0}, {0, -5}, {0, -8}, {2, 10, 46}, {3, 16, 0, 16}, {1, 7, 0, 10}};
}

std::vector<Pose> cannonPoses() {
    return {{0, 0}, {0, 4}, {0, -4}, {0, 16, 62}, {0, 26, 0, 26}, {0, 12, 0, 16}};
}

std::vector<Pose> buzzsawPoses() {
    Pose rest{0, 0, 0, 0, 0.0f, 1}, spinA{0, -2, 0, 0, 0.13f, 1}, spinB{0, -3, 0, 0, 0.26f, 1};
    Pose shot{0, 6, 56, 0, 0.39f, 0}, empty{0, 8, 0, 0, 0.2f, 2}, reload{0, 3, 0, 0, 0.1f, 1};
    empty.blade = 0;
    empty.dy = 8;
    Pose e2 = empty;
    e2.blade = 2;
    return {rest, spinA, spinB, shot, e2, reload};
}

}  // namespace gen
