// Scenery of the mine, the village, the foundry and the great hall: upright props that stand
// on the floor (the picture's bottom row) with magenta round them.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "shapes.h"
#include "sprites.h"
#include "texkit.h"

namespace gen {

namespace {

// A tongue of fire rising h pixels from (cx, base), w wide at its widest: white at the core,
// yellow, then orange at the rim.
void flame(Image& img, float cx, float base, float w, float h) {
    auto halfWidth = [=](float y) {
        float t = (base - y) / h;
        if (t < 0 || t > 1) return -1.0f;
        return w * (t < 0.3f ? std::sqrt(t / 0.3f) : std::pow((1 - t) / 0.7f, 1.3f));
    };
    paint(img, [=](float x, float y) { return std::fabs(x - cx) - halfWidth(y); }, [=](float x, float y) {
        float k = std::fabs(x - cx) / std::max(0.5f, halfWidth(y)), t = (base - y) / h;
        Col c = mix(hex(0xfff6c8), hex(0xffc030), smooth(0.1f, 0.5f, k + t * 0.4f));
        return mix(c, hex(0xe8500c), smooth(0.55f, 1.0f, k + t * 0.5f));
    });
}

// Grey stone lit as a rounded body: s runs -1..1 across it.
Col stoneAt(float x, float y, float s, Col base) {
    Col c = base * (0.88f + 0.2f * fbm(x / 64, y / 64, 8, 3, 501));
    return lit(c, s, 0, std::sqrt(std::max(0.0f, 1 - s * s)), 0.45f, 0.12f);
}

}  // namespace

Image spriteBrazier() {
    Image img = blankSprite();
    for (float fx : {18.0f, 32.0f, 46.0f}) limb(img, 32 + (fx - 32) * 0.45f, 42, fx, 62.5f, 1.6f, hex(0x34302c));
    limb(img, 23, 54, 41, 54, 1.0f, hex(0x34302c));  // a ring binding the legs
    flame(img, 26, 38, 5, 20);
    flame(img, 38, 38, 5, 22);
    flame(img, 32, 38, 7, 30);
    // The basket: an iron bowl with a rim, coals glowing over its lip.
    paint(img, [](float x, float y) { return std::max(sdEllipse(x, y, 32, 36, 15, 9), 36 - y); }, [](float x, float y) {
        float s = (x - 32) / 15;
        Col c = lit(hex(0x4a4440), s, 0.3f, std::sqrt(std::max(0.0f, 1 - s * s)), 0.35f, 0.4f);
        return std::fmod(x + 64, 6.0f) < 1.2f ? c * 0.55f : c + hex(0x401000) * (1 - (y - 36) / 9);
    });
    paint(img, [](float x, float y) { return sdEllipse(x, y, 32, 36, 15, 2.2f); }, [](float x, float y) {
        return mix(hex(0xffb030), hex(0x801808), clamp01(fbm(x / 64, y / 64, 16, 2, 511) * 1.4f - 0.2f));
    });
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 37, 16.5f, 1.0f); }, hex(0x6a625a));
    return finish(img, hex(0x0a0806));
}

Image spriteStatue() {
    Image img = blankSprite();
    const Col stone = hex(0xaaa898);
    // Plinth with a moulded cap.
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 58.5f, 13, 5); },
          [](float x, float y) { return stoneAt(x, y, (x - 32) / 13 * 0.5f, hex(0x7e7a70)); });
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 52.5f, 15, 1.6f); },
          [](float x, float y) { return stoneAt(x, y, (x - 32) / 15 * 0.3f, hex(0x9a968a)); });
    // A knight in a long surcoat flaring to the plinth, its folds cut as shallow grooves.
    paint(img, [](float x, float y) { return sdPolygon(x, y, {{24, 22}, {40, 22}, {45, 51}, {19, 51}}); },
          [stone](float x, float y) {
              float hw = 8 + (y - 22) / 29 * 5;
              float s = std::clamp((x - 32) / hw, -1.0f, 1.0f);
              float fold = 0.88f + 0.12f * std::cos((x - 32) * 1.1f) * clamp01((y - 34) / 12);
              return stoneAt(x, y, s, stone * fold);
          });
    for (float sx : {-1.0f, 1.0f}) {
        ball(img, 32 + sx * 10, 24, 5.5f, 4.5f, stone, 0.45f, 0.12f);  // pauldrons
        limb(img, 32 + sx * 11, 26, 32 + sx * 4, 34, 3, stone * 0.95f);  // arms to the grip
    }
    // The sword, point down before the knight, hands on its grip.
    limb(img, 32, 38, 32, 50, 1.7f, hex(0xc4c2b6));
    limb(img, 25.5f, 36.5f, 38.5f, 36.5f, 1.3f, hex(0x9a988c));
    ball(img, 32, 34, 4, 3, stone, 0.45f, 0.12f);
    ball(img, 32, 30, 1.6f, 1.6f, stone * 1.05f, 0.45f, 0.2f);  // pommel
    // Great helm with a slit and a crest.
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 15.5f, 5, 6, 3); },
          [stone](float x, float y) { return stoneAt(x, y, (x - 32) / 5, stone); });
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 14.5f, 4, 0.7f); }, hex(0x3e3c36));
    limb(img, 32, 9.5f, 32, 5, 1.3f, stone);
    return finish(img, hex(0x161614));
}

Image spriteMinecart() {
    Image img = blankSprite();
    // Ore heaped above the rim: dark rock lumps with glints.
    Rng rng(521);
    for (int i = 0; i < 14; ++i) {
        float x = rng.range(17, 47), y = rng.range(34, 41), r = rng.range(3.5f, 5.5f);
        ball(img, x, y, r, r * 0.8f, mix(hex(0x6a5e50), hex(0x948672), rng.uni()), 0.45f, 0.15f);
        for (int k = 0; k < 2; ++k) {
            // Named draws, not call arguments: compilers order those differently.
            float gx = x + rng.range(-r, r) * 0.6f, gy = y + rng.range(-r, r) * 0.4f, t = rng.uni();
            if (t < 0.7f) img.blend(static_cast<int>(gx), static_cast<int>(gy), mix(hex(0xd89a30), hex(0xfff0a0), t / 0.7f), 1);
        }
    }
    // The box: planks in an iron frame, narrower at the bottom.
    paint(img, [](float x, float y) { return sdPolygon(x, y, {{10, 39}, {54, 39}, {50, 56}, {14, 56}}); }, [](float x, float y) {
        Col c = mix(hex(0x5a3a1e), hex(0x7a5430), hashf(0, static_cast<int>(y) / 4, 522));
        if (static_cast<int>(y) % 4 == 0) c = c * 0.55f;
        bool band = std::fabs(x - 20) < 1.5f || std::fabs(x - 44) < 1.5f || y < 41.5f || y > 54;
        return band ? lit(hex(0x4a4c50), 0, y < 42 ? -0.6f : 0.2f, 0.8f, 0.45f, 0.5f) : c;
    });
    for (float bx : {20.0f, 44.0f})
        for (float by : {45.0f, 51.0f}) img.blend(static_cast<int>(bx), static_cast<int>(by), hex(0xa0a0a0), 1);
    for (float wx : {20.0f, 44.0f}) {  // wheels
        ball(img, wx, 57.5f, 6, 6, hex(0x3a3a3e), 0.4f, 0.5f);
        paint(img, [wx](float x, float y) { return std::fabs(sdCircle(x, y, wx, 57.5f, 4)) - 0.7f; },
              [](float, float) { return hex(0x1a1a1c); });
        ball(img, wx, 57.5f, 1.5f, 1.5f, hex(0x8a8a8a), 0.4f, 0.6f);
    }
    return finish(img, hex(0x0c0a08));
}

Image spriteTree() {
    Image img = blankSprite();
    // Trunk flaring into roots, with branches up into the crown.
    paint(img, [](float x, float y) {
        float hw = 3.5f + 5 * std::pow(std::max(0.0f, (y - 50) / 13), 2.0f);
        return std::max(std::fabs(x - 32) - hw, std::max(26 - y, y - 63.5f));
    }, [](float x, float y) {
        float hw = 3.5f + 5 * std::pow(std::max(0.0f, (y - 50) / 13), 2.0f);
        float s = std::clamp((x - 32) / hw, -1.0f, 1.0f);
        Col bark = mix(hex(0x3a2a1c), hex(0x5e4630), fbm(x / 64 * 3, y / 64 * 0.5f, 8, 2, 531));
        return lit(bark, s, 0, std::sqrt(std::max(0.0f, 1 - s * s)), 0.4f, 0.05f);
    });
    limb(img, 32, 34, 20, 22, 2.2f, hex(0x4a3624));
    limb(img, 32, 30, 44, 20, 2.2f, hex(0x4a3624));
    // The crown: overlapping clumps of leaves, darker below and behind.
    Rng rng(532);
    const float clumps[][3] = {{18, 24, 11}, {46, 24, 11}, {32, 28, 12}, {24, 14, 11}, {40, 13, 11}, {32, 11, 10},
                               {12, 18, 7},  {52, 17, 7},  {20, 30, 7},  {44, 30, 7}};
    for (const auto& c : clumps) {
        float cx = c[0], cy = c[1], r = c[2];
        paint(img, [=](float x, float y) { return sdCircle(x, y, cx, cy, r) + 1.5f * (fbm(x / 64, y / 64, 16, 2, 533) - 0.5f); },
              [=](float x, float y) {
                  float nx = (x - cx) / r, ny = (y - cy) / r;
                  float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
                  Col leaf = mix(hex(0x1e3a14), hex(0x4a7a26), hashf(static_cast<int>(x) / 2, static_cast<int>(y) / 2, 534));
                  return lit(leaf * (0.75f + 0.25f * (1 - cy / 40)), nx, ny, nz, 0.45f, 0.1f);
              });
    }
    return finish(img, hex(0x0a1006));
}

Image spriteAnvil() {
    Image img = blankSprite();
    // An oak block bound with an iron hoop.
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 55.5f, 9, 8); }, [](float x, float y) {
        float s = (x - 32) / 9;
        Col c = mix(hex(0x5a3a1e), hex(0x7a5430), grain(x / 64, y / 64 * 0.3f, 541, 2));
        if (std::fabs(y - 52) < 1) c = hex(0x3a3a3e);
        return lit(c, s, 0, std::sqrt(std::max(0.0f, 1 - s * s)), 0.45f, 0.1f);
    });
    // Anvil: waist, body, the horn to the left and the heel to the right.
    Col iron = hex(0x4a4e56);
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{27, 47.5f}, {37, 47.5f}, {35, 42}, {29, 42}}); }, iron * 0.8f);
    paint(img, [](float x, float y) {
        float body = sdBox(x, y, 33, 39, 9, 3.5f, 0.8f);
        float horn = sdPolygon(x, y, {{24, 35.5f}, {13, 37}, {24, 41}});
        return std::min(body, horn);
    }, [iron](float, float y) { return y < 37 ? iron * 1.6f : iron * (1.0f - (y - 37) * 0.06f); });
    limb(img, 13.5f, 37, 22, 36, 0.5f, hex(0xa0a4ac));  // the polished face catching the light
    limb(img, 25, 35.8f, 41.5f, 35.8f, 0.5f, hex(0xb8bcc4));
    // A hammer leaning on the block.
    limb(img, 46, 62, 43, 46, 0.9f, hex(0x6a4a28));
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 43, 45, 3.5f, 1.8f); }, hex(0x3a3e44));
    return finish(img, hex(0x0a0a0c));
}

Image spriteCandelabra() {
    Image img = blankSprite();
    const Col iron = hex(0x2e2a28), brass = hex(0xb8903a);
    for (float fx : {22.0f, 42.0f}) limb(img, 32, 56, fx, 62.5f, 1.4f, iron);  // feet
    limb(img, 32, 56, 32, 62.5f, 1.4f, iron);
    limb(img, 32, 58, 32, 22, 1.5f, iron);  // stem with brass knops
    for (float ky : {50.0f, 38.0f}) ball(img, 32, ky, 3, 2, brass, 0.4f, 0.6f);
    // Two tiers of arms curving up to the cups.
    limb(img, 32, 30, 20, 30, 1.0f, iron);
    limb(img, 32, 30, 44, 30, 1.0f, iron);
    limb(img, 20, 30, 16, 25, 1.0f, iron);
    limb(img, 44, 30, 48, 25, 1.0f, iron);
    limb(img, 32, 26, 24, 22, 1.0f, iron);
    limb(img, 32, 26, 40, 22, 1.0f, iron);
    const float cups[][2] = {{16, 24}, {48, 24}, {24, 21}, {40, 21}, {32, 18}};
    for (const auto& c : cups) {
        float x = c[0], y = c[1];
        paintFlat(img, [=](float px, float py) { return sdBox(px, py, x, y + 1, 3, 1); }, brass);
        paint(img, [=](float px, float py) { return sdBox(px, py, x, y - 4, 1.4f, 4); },
              [=](float px, float) { return lit(hex(0xf0e8d0), (px - x) / 1.4f, 0, 0.7f, 0.55f, 0.2f); });
        flame(img, x, y - 8, 1.6f, 7);
    }
    return finish(img, hex(0x0a0806));
}

}  // namespace gen
