// The three monster pictures. Each fits inside its 64 x 64 picture with a clear top row.
#include <cmath>

#include "noise.h"
#include "shapes.h"
#include "sprites.h"

namespace gen {

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
    const Col slime = hex(0x40fff0), deep = hex(0x18c4cc);
    // Legs arch up and out from the body, then down to the floor; the back pairs stand further
    // off, so their feet are higher and wider. A dark underlay keeps each one separate.
    const float hip[4][2] = {{10, 48}, {12, 46}, {12, 44}, {10, 42}};
    const float knee[4][2] = {{20, 37}, {25, 30}, {28, 26}, {24, 20}};
    const float foot[4][2] = {{15, 63}, {23, 62}, {29, 60}, {31, 56}};
    for (int i = 3; i >= 0; --i)
        for (int side = -1; side <= 1; side += 2) {
            float hx = 32 + side * hip[i][0], kx = 32 + side * knee[i][0], fx = 32 + side * foot[i][0];
            Col leg = (i % 2) ? hex(0x48f4ff) : hex(0x24d4ec);
            limb(img, hx, hip[i][1], kx, knee[i][1], 2.5f, hex(0x041418));
            limb(img, kx, knee[i][1], fx, foot[i][1], 2.0f, hex(0x041418));
            limb(img, hx, hip[i][1], kx, knee[i][1], 1.8f, leg, 0.6f);
            limb(img, kx, knee[i][1], fx, foot[i][1], 1.3f, leg, 0.6f);
            ball(img, kx, knee[i][1], 1.6f, 1.6f, hex(0x90ffff), 0.6f, 0.6f);  // glistening knees
        }
    ball(img, 32, 45, 16, 13, slime, 0.6f, 0.5f);  // body
    // Darker slime blotches on the back.
    paint(img, [](float x, float y) { return sdEllipse(x, y, 32, 46, 14, 11); },
          [=](float x, float y) { return fbm(x / 64, y / 64, 8, 2, 301) > 0.58f ? deep : slime; }, 0.45f);
    ball(img, 28, 40, 4, 3, hex(0xd8fffc), 0.8f, 0.9f);  // wet highlight
    eye(img, 26, 45, 5.0f, hex(0xff9a10));
    eye(img, 38, 45, 5.0f, hex(0xff9a10));
    // Fanged mouth.
    paintFlat(img, [](float x, float y) { return sdEllipse(x, y, 32, 55, 6, 2.6f); }, hex(0x3a0a1a));
    for (float fx : {29.0f, 35.0f})
        paintFlat(img, [fx](float x, float y) { return sdPolygon(x, y, {{fx - 1.5f, 53.5f}, {fx + 1.5f, 53.5f}, {fx, 58}}); },
                  hex(0xfff8e0));
    // Drips.
    limb(img, 22, 54, 22, 59, 1.2f, slime);
    limb(img, 42, 55, 42, 61, 1.2f, slime);
    return finish(img, hex(0x041418), 2);
}

Image monsterBrute() {
    Image img = blankSprite();
    const Col skin = hex(0x3a70ff), dark = hex(0x2448c8), bone = hex(0xf0e6c8);
    limb(img, 25, 45, 22, 59, 5, dark);  // legs
    limb(img, 39, 45, 42, 59, 5, dark);
    ball(img, 21, 60.5f, 6, 2.8f, hex(0x2a2420));  // hooves
    ball(img, 43, 60.5f, 6, 2.8f, hex(0x2a2420));
    limb(img, 19, 27, 12, 42, 4.5f, skin);  // arms
    limb(img, 45, 27, 52, 42, 4.5f, skin);
    // Brass bands round the upper arms.
    for (float s : {-1.0f, 1.0f}) limb(img, 32 + s * 12.5f, 31, 32 + s * 16.5f, 29.5f, 1.3f, hex(0xe8b838));
    ball(img, 32, 34, 14, 12.5f, skin, 0.35f, 0.45f);  // chest
    // Loincloth, belt and buckle.
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{23, 44}, {41, 44}, {37, 53}, {27, 53}}); }, hex(0x4a2a16));
    paint(img, [](float x, float y) { return sdBox(x, y, 32, 44, 12, 2.3f); }, [](float x, float) {
        return std::fabs(x - 32) < 2.5f ? hex(0xf0c040) : hex(0x3a2414);
    });
    ball(img, 12, 43, 5, 5, skin, 0.35f, 0.45f);  // fists
    ball(img, 52, 43, 5, 5, skin, 0.35f, 0.45f);
    ball(img, 32, 17.5f, 8, 7.5f, skin, 0.35f, 0.45f);  // head
    // Horns curling out and up, tips well inside the picture.
    limb(img, 26.5f, 13, 20, 9, 2.3f, bone);
    limb(img, 20, 9, 18, 5.5f, 1.5f, bone);
    limb(img, 37.5f, 13, 44, 9, 2.3f, bone);
    limb(img, 44, 9, 46, 5.5f, 1.5f, bone);
    // Burning slanted eyes, a grin and two tusks.
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{24.5f, 14}, {31, 17}, {30, 19}, {25.5f, 18}}); }, hex(0xffb020));
    paintFlat(img, [](float x, float y) { return sdPolygon(x, y, {{39.5f, 14}, {33, 17}, {34, 19}, {38.5f, 18}}); }, hex(0xffb020));
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 22.5f, 5, 1.5f); }, hex(0x10081a));
    for (float tx : {28.0f, 36.0f})
        paintFlat(img, [tx](float x, float y) { return sdPolygon(x, y, {{tx - 1.3f, 23.5f}, {tx + 1.3f, 23.5f}, {tx, 19.5f}}); }, bone);
    return finish(img, hex(0x060818), 2);
}

Image monsterEyeDemon() {
    Image img = blankSprite();
    const Col body = hex(0xb03cf8);
    for (int i = 0; i < 5; ++i) {  // tentacles
        float x0 = 20 + i * 6, sway = (i % 2 ? 3.0f : -3.0f);
        limb(img, x0, 46, x0 + sway, 54, 2.4f, hex(0x8a2ad8));
        limb(img, x0 + sway, 54, x0 - sway * 0.5f, 62, 1.6f, hex(0x8a2ad8));
    }
    for (int i = 0; i < 7; ++i) {  // spines around the rim
        float a = 3.14159f * (0.95f + i * 0.185f);
        float cx = 32 + 21 * std::cos(a), cy = 30 + 19 * std::sin(a);
        float tx = 32 + 28 * std::cos(a), ty = 30 + 25 * std::sin(a);
        limb(img, cx, cy, tx, ty, 1.5f, hex(0xf0e0c0));
    }
    ball(img, 32, 30, 22, 20, body, 0.35f, 0.5f);
    // Horns.
    limb(img, 20, 15, 14, 6.5f, 2.4f, hex(0x2a1a2a));
    limb(img, 44, 15, 50, 6.5f, 2.4f, hex(0x2a1a2a));
    // One huge eye: bloodshot sclera, burning iris, slit pupil.
    ball(img, 32, 28, 13, 11, hex(0xfff4e8), 0.55f, 0.5f);
    for (int i = 0; i < 6; ++i) {
        float a = i * 1.05f + 0.3f;
        limb(img, 32 + 12 * std::cos(a), 28 + 10 * std::sin(a), 32 + 8 * std::cos(a + 0.2f), 28 + 7 * std::sin(a + 0.2f),
             0.45f, hex(0xd02020));
    }
    paint(img, [](float x, float y) { return sdCircle(x, y, 32, 28, 7); },
          [](float x, float y) { return mix(hex(0xffe040), hex(0xe04010), clamp01(len(x - 32, y - 28) / 7)); });
    paintFlat(img, [](float x, float y) { return sdEllipse(x, y, 32, 28, 1.6f, 5.5f); }, hex(0x100408));
    img.blend(28, 24, hex(0xffffff), 1), img.blend(29, 24, hex(0xffffff), 1);
    // Grinning maw below the eye.
    paintFlat(img, [](float x, float y) { return sdEllipse(x, y, 32, 43.5f, 10, 3.2f); }, hex(0x2a0410));
    for (int i = 0; i < 6; ++i) {
        float fx = 24.5f + i * 3;
        paintFlat(img, [fx](float x, float y) { return sdPolygon(x, y, {{fx - 1.2f, 41}, {fx + 1.2f, 41}, {fx, 44.5f}}); },
                  hex(0xfff8e8));
    }
    return finish(img, hex(0x14041e), 2);
}

}  // namespace gen
