#include "sprites.h"

#include "noise.h"
#include "shapes.h"

namespace gen {

Image blankSprite() { return Image(SPR, SPR, Col{}, 0); }

Image finish(Image img, Col rim) {
    for (float& a : img.a) a = a >= 0.5f ? 1.0f : 0.0f;
    outline(img, rim);
    return img;
}

namespace {

void eye(Image& img, float x, float y, float r, Col iris, float pupil = 0.45f) {
    ball(img, x, y, r, r, hex(0xfff8e0), 0.5f, 0.4f);
    paintFlat(img, [=](float px, float py) { return sdCircle(px, py, x, y + r * 0.1f, r * 0.65f); }, iris);
    paintFlat(img, [=](float px, float py) { return sdCircle(px, py, x, y + r * 0.1f, r * pupil * 0.65f); }, hex(0x100808));
    img.blend(static_cast<int>(x - r * 0.35f), static_cast<int>(y - r * 0.35f), hex(0xffffff), 1);
}

}  // namespace

Image monsterSlimeSpider() {
    Image img = blankSprite();
    // Legs arch up and out, then down to the floor; a dark underlay keeps each one separate.
    for (int i = 3; i >= 0; --i)
        for (int side = -1; side <= 1; side += 2) {
            // Front legs step in under the body, back legs reach out: a fan, not a fence.
            const float knee[4][2] = {{16, 30}, {21, 24}, {26, 28}, {30, 36}};
            const float foot[4] = {12, 19, 26, 31};
            float hx = 32 + side * 8, hy = 44 + i * 1.0f;
            float kx = 32 + side * knee[i][0], ky = knee[i][1];
            float fx = 32 + side * foot[i], fy = 63;
            Col leg = (i % 2) ? hex(0x3a8a22) : hex(0x2a6e1a);
            limb(img, hx, hy, kx, ky, 1.9f, hex(0x0a1a06));
            limb(img, kx, ky, fx, fy, 1.5f, hex(0x0a1a06));
            limb(img, hx, hy, kx, ky, 1.2f, leg);
            limb(img, kx, ky, fx, fy, 0.8f, leg);
        }
    ball(img, 32, 46, 15, 12, hex(0x5ad02a), 0.4f, 0.7f);  // body
    // Darker slime blotches on the back.
    paint(img, [](float x, float y) { return sdEllipse(x, y, 32, 46, 14, 11); },
          [](float x, float y) {
              float n = fbm(x / 64, y / 64, 8, 2, 301);
              return n > 0.58f ? hex(0x2e8a1a) : hex(0x5ad02a);
          }, 0.35f);
    ball(img, 28, 40, 4, 3, hex(0xc8ff90), 0.8f, 0.9f);  // wet highlight
    eye(img, 26, 45, 5.0f, hex(0xf0c020));
    eye(img, 38, 45, 5.0f, hex(0xf0c020));
    // Fanged mouth.
    paintFlat(img, [](float x, float y) { return sdEllipse(x, y, 32, 55, 6, 2.6f); }, hex(0x3a0a0a));
    for (float fx : {29.0f, 35.0f})
        paintFlat(img, [fx](float x, float y) { return sdPolygon(x, y, {{fx - 1.5f, 53.5f}, {fx + 1.5f, 53.5f}, {fx, 58}}); },
                  hex(0xfff8e0));
    // Drips.
    limb(img, 22, 54, 22, 59, 1.2f, hex(0x5ad02a));
    limb(img, 42, 55, 42, 61, 1.2f, hex(0x5ad02a));
    return finish(img, hex(0x0a1a06));
}

Image monsterBrute() {
    Image img = blankSprite();
    const Col skin = hex(0xd02a1c), dark = hex(0x8a1a10);
    limb(img, 25, 42, 22, 61, 5, dark);  // legs
    limb(img, 39, 42, 42, 61, 5, dark);
    ball(img, 21, 61, 6, 3, hex(0x2a1a10));  // hooves
    ball(img, 43, 61, 6, 3, hex(0x2a1a10));
    limb(img, 18, 22, 11, 40, 4.5f, skin);  // arms
    limb(img, 46, 22, 53, 40, 4.5f, skin);
    ball(img, 32, 31, 15, 14, skin, 0.35f, 0.4f);  // chest
    // Belly plates and a belt.
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 42, 12, 2.5f); }, [](float x, float) {
        return std::fabs(x - 32) < 2.5f ? hex(0xd8b040) : hex(0x3a2414);
    });
    ball(img, 11, 42, 5, 5, skin);  // fists
    ball(img, 53, 42, 5, 5, skin);
    ball(img, 32, 14, 8.5f, 8, skin, 0.35f, 0.4f);  // head
    // Horns curling out and up.
    limb(img, 26, 9, 19, 5, 2.4f, hex(0xe8dcb8));
    limb(img, 19, 5, 16, -1, 1.6f, hex(0xe8dcb8));
    limb(img, 38, 9, 45, 5, 2.4f, hex(0xe8dcb8));
    limb(img, 45, 5, 48, -1, 1.6f, hex(0xe8dcb8));
    // Angry slanted eyes and a toothy grin.
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{24, 11}, {31, 14}, {30, 16}, {25, 15}}); }, hex(0xfff060));
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{40, 11}, {33, 14}, {34, 16}, {39, 15}}); }, hex(0xfff060));
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 19.5f, 5, 1.6f); }, hex(0x2a0604));
    for (int i = 0; i < 4; ++i) img.blend(28 + i * 3, 19, hex(0xffffff), 1);
    return finish(img, hex(0x1a0402));
}

Image monsterEyeDemon() {
    Image img = blankSprite();
    const Col body = hex(0x8a3ac8);
    for (int i = 0; i < 5; ++i) {  // tentacles
        float x0 = 20 + i * 6, sway = (i % 2 ? 3.0f : -3.0f);
        limb(img, x0, 44, x0 + sway, 53, 2.4f, hex(0x6a2a9a));
        limb(img, x0 + sway, 53, x0 - sway * 0.5f, 62, 1.6f, hex(0x6a2a9a));
    }
    for (int i = 0; i < 7; ++i) {  // spines around the rim
        float a = 3.14159f * (0.95f + i * 0.185f);
        float cx = 32 + 22 * std::cos(a), cy = 28 + 20 * std::sin(a);
        float tx = 32 + 30 * std::cos(a), ty = 28 + 28 * std::sin(a);
        limb(img, cx, cy, tx, ty, 1.6f, hex(0xf0e0c0));
    }
    ball(img, 32, 28, 23, 21, body, 0.35f, 0.5f);
    // Horns.
    limb(img, 20, 12, 13, 2, 2.8f, hex(0x2a1a2a));
    limb(img, 44, 12, 51, 2, 2.8f, hex(0x2a1a2a));
    // One huge eye: bloodshot sclera, burning iris, slit pupil.
    ball(img, 32, 26, 13, 11, hex(0xfff4e8), 0.55f, 0.5f);
    for (int i = 0; i < 6; ++i) {
        float a = i * 1.05f + 0.3f;
        limb(img, 32 + 12 * std::cos(a), 26 + 10 * std::sin(a), 32 + 8 * std::cos(a + 0.2f), 26 + 7 * std::sin(a + 0.2f),
             0.45f, hex(0xd02020));
    }
    paint(img, [](float x, float y) { return sdCircle(x, y, 32, 26, 7); },
          [](float x, float y) { return mix(hex(0xffe040), hex(0xe04010), clamp01(len(x - 32, y - 26) / 7)); });
    paintFlat(img, [](float x, float y) { return sdEllipse(x, y, 32, 26, 1.6f, 5.5f); }, hex(0x100408));
    img.blend(28, 22, hex(0xffffff), 1), img.blend(29, 22, hex(0xffffff), 1);
    // Grinning maw below the eye.
    paintFlat(img, [](float x, float y) { return sdEllipse(x, y, 32, 42, 10, 3.2f); }, hex(0x2a0410));
    for (int i = 0; i < 6; ++i) {
        float fx = 24.5f + i * 3;
        paintFlat(img, [fx](float x, float y) { return sdPolygon(x, y, {{fx - 1.2f, 39.5f}, {fx + 1.2f, 39.5f}, {fx, 43}}); },
                  hex(0xfff8e8));
    }
    return finish(img, hex(0x14041e));
}

Image spriteLamp() {
    Image img = blankSprite();
    for (int i = 0; i < 6; ++i) {  // chain links
        float y = 1 + i * 3;
        paintFlat(img, [y, i](float x, float py) {
            return i % 2 ? sdBox(x, py, 32, y + 1.5f, 0.6f, 1.6f) : std::fabs(sdEllipse(x, py, 32, y + 1.5f, 1.6f, 2)) - 0.5f;
        }, hex(0x4a4a50));
    }
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{24, 24}, {40, 24}, {36, 19}, {28, 19}}); }, hex(0x2a2a30));
    // Glass with the flame's glow, brighter at the centre.
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 32, 7, 8); },
          [](float x, float y) { return mix(hex(0xfff8c0), hex(0xe07818), clamp01(len(x - 32, (y - 33) * 0.8f) / 9)); });
    paint(img, [](float x, float y) { return sdEllipse(x, y, 32, 33, 2, 4); }, [](float, float) { return hex(0xffffff); });
    for (float bx : {25.0f, 32.0f, 39.0f})  // cage bars
        paintFlat(img, [bx](float x, float y) { return sdBox(x, y, bx, 32, 0.8f, 8.5f); }, hex(0x202024));
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 41.5f, 9, 1.5f); }, hex(0x2a2a30));
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{28, 43}, {36, 43}, {32, 47}}); }, hex(0x2a2a30));
    return finish(img, hex(0x0a0a0c));
}

Image spriteBarrel() {
    Image img = blankSprite();
    auto shape = [](float x, float y) {
        float t = (y - 47) / 16;  // bulge in the middle
        float hw = 13 + 2.5f * (1 - t * t);
        return std::max(std::fabs(x - 32) - hw, std::fabs(y - 47) - 16);
    };
    paint(img, shape, [](float x, float y) {
        float t = (y - 47) / 16;
        float hw = 13 + 2.5f * (1 - t * t);
        float s = std::clamp((x - 32) / hw, -1.0f, 1.0f);
        float nz = std::sqrt(std::max(0.0f, 1 - s * s));
        Col wood = mix(hex(0x7a4a22), hex(0xa06a34), hashf(static_cast<int>((s + 1) * 4.5f), 0, 401));
        bool stave = std::fmod((s + 1) * 4.5f, 1.0f) < 0.12f;
        bool hoop = std::fabs(y - 35) < 1.6f || std::fabs(y - 59) < 1.6f || std::fabs(y - 44) < 1.2f || std::fabs(y - 50) < 1.2f;
        Col c = hoop ? hex(0x4a4c54) : (stave ? wood * 0.6f : wood);
        return lit(c, s, 0, nz, 0.4f, hoop ? 0.5f : 0.15f);
    });
    paint(img, [](float x, float y) { return sdEllipse(x, y, 32, 31.5f, 13, 2.5f); },
          [](float, float) { return hex(0x5a3416); });
    return finish(img, hex(0x140a04));
}

Image spritePillar() {
    Image img = blankSprite();
    auto column = [](float x, float y) {
        float hw = (y < 7 || y > 56) ? 16 : 11;
        return std::max(std::fabs(x - 32) - hw, std::fabs(y - 32) - 32);
    };
    paint(img, column, [](float x, float y) {
        bool block = y < 7 || y > 56;
        float hw = block ? 16 : 11;
        float s = std::clamp((x - 32) / hw, -1.0f, 1.0f);
        float nz = block ? 1 : std::sqrt(std::max(0.0f, 1 - s * s));
        Col stone = mix(hex(0x9a9488), hex(0xb8b2a4), fbm(x / 64, y / 64, 8, 3, 411));
        if (!block && std::fmod((s + 1) * 4, 1.0f) < 0.15f) stone = stone * 0.75f;  // fluting
        if (y < 1 || (y > 5 && y < 7) || (y > 56 && y < 58) || y > 62) stone = stone * 0.7f;
        return lit(stone, block ? s * 0.3f : s, 0, nz, 0.45f, 0.1f);
    });
    return finish(img, hex(0x1a1814));
}

Image spritePlant() {
    Image img = blankSprite();
    Rng rng(421);
    for (int i = 0; i < 11; ++i) {  // fronds fanning out from the pot
        float a = -3.14159f * (0.1f + 0.8f * i / 10.0f) + rng.range(-0.08f, 0.08f);
        float l = rng.range(16, 22);
        float x1 = 32 + l * 0.6f * std::cos(a), y1 = 44 + l * 0.6f * std::sin(a);
        float x2 = 32 + l * std::cos(a), y2 = 44 + l * std::sin(a) + 5;
        Col g = mix(hex(0x2a7a22), hex(0x5ab03a), rng.uni());
        limb(img, 32, 44, x1, y1, 2.6f, g);
        limb(img, x1, y1, x2, y2, 1.6f, g);
    }
    paint(img, [](float x, float y) { return sdPolygon(x, y, {{21, 45}, {43, 45}, {39, 63}, {25, 63}}); },
          [](float x, float) {
              float s = (x - 32) / 11;
              return lit(hex(0xc0602a), s, 0, std::sqrt(std::max(0.0f, 1 - s * s)), 0.4f, 0.2f);
          });
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 46, 12.5f, 2); }, hex(0xa04a20));
    return finish(img, hex(0x0e1408));
}

}  // namespace gen
