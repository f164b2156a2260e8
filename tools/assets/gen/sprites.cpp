#include "sprites.h"

#include "noise.h"
#include "shapes.h"

namespace gen {

Image blankSprite() { return Image(SPR, SPR, Col{}, 0); }

Image finish(Image img, Col rim, int width) {
    for (float& a : img.a) a = a >= 0.5f ? 1.0f : 0.0f;
    for (int i = 0; i < width; ++i) outline(img, rim);
    return img;
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
