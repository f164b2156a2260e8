#include "walls.h"

#include "noise.h"
#include "shapes.h"
#include "texkit.h"

namespace gen {

Image wallStone() {
    return texture([](int x, int y, float u, float v) {
        Col c = masonryPixel(x, y, u, v, 32, 16, hex(0x76746e), hex(0x96928a), hex(0x3a3834), 11, 1.2f);
        // A few hairline cracks.
        float crack = std::fabs(fbm(u, v, 4, 4, 12) - 0.5f);
        if (crack < 0.008f && fbm(u, v, 2, 2, 13) > 0.6f) c = c * 0.7f;
        return c;
    }, 2);
}

Image wallBrick() {
    return texture([](int x, int y, float u, float v) {
        return masonryPixel(x, y, u, v, 16, 8, hex(0x9a7a58), hex(0xb89468), hex(0x6a645a), 21, 1.0f);
    });
}

Image wallRedBrick() {
    return texture([](int x, int y, float u, float v) {
        Col c = masonryPixel(x, y, u, v, 16, 8, hex(0x8a2e20), hex(0xb0442c), hex(0x2e2824), 31, 1.0f);
        // Soot stains drifting up the wall.
        return c * (0.8f + 0.25f * fbm(u, v, 2, 2, 32));
    });
}

Image wallMossy() {
    return texture([](int x, int y, float u, float v) {
        Block k = masonry(x, y, 32, 16, 41, 0.5f, 2, 4);
        Col c = masonryPixel(x, y, u, v, 32, 16, hex(0x6a6c64), hex(0x85887c), hex(0x2e3428), 41, 1.2f);
        // Moss gathers in the joints and on the lower rims of the blocks.
        float moss = fbm(u, v, 8, 4, 42) + 0.35f * (k.v) - 0.1f * std::fmin(k.edge, 4.0f) / 4.0f;
        float m = smooth(0.55f, 0.7f, moss);
        Col green = mix(hex(0x2e5a1a), hex(0x5a8a2a), hashf(x, y, 43));
        return mix(c, green, m * 0.9f);
    });
}

Image wallMetal() {
    Image img = texture([](int x, int y, float u, float v) {
        int px = x % 32, py = y % 32;
        float brushed = fbm(u * 0.25f, v, 1, 1, 51) * 0.2f + vnoise(u, v * 0.0f + v, 64, 52) * 0.08f;
        Col c = mix(hex(0x5c6470), hex(0x7a828e), brushed + 0.4f);
        c = c * (0.9f + 0.2f * fbm(u, v, 4, 3, 53));
        // Seams between the plates.
        if (px == 0 || py == 0) return hex(0x1e2228);
        if (px == 1 || py == 1) c = c * 1.25f;
        if (px == 31 || py == 31) c = c * 0.65f;
        // Rust around the seams.
        float rust = fbm(u, v, 8, 3, 54) - 0.05f * std::fmin(std::fmin(px, 32 - px), std::fmin(py, 32 - py));
        c = mix(c, hex(0x7a3e1a), smooth(0.35f, 0.6f, rust) * 0.7f);
        return c;
    });
    // Rivets along the plate edges.
    for (int py = 0; py < 2; ++py)
        for (int px = 0; px < 2; ++px)
            for (int i = 0; i < 4; ++i) {
                float ox = px * 32, oy = py * 32, t = 4 + i * 8;
                const float pts[4][2] = {{ox + t, oy + 4}, {ox + t, oy + 28}, {ox + 4, oy + t}, {ox + 28, oy + t}};
                for (auto& p : pts) ball(img, p[0], p[1], 1.6f, 1.6f, hex(0x8a929e), 0.35f, 0.6f);
            }
    return img;
}

Image wallTech() {
    // Boiler-house machinery: an iron panel with brass pipes, a gauge and furnace vents.
    Image img = texture([](int x, int y, float u, float v) {
        Col c = hex(0x3a3c40) * (0.85f + 0.25f * fbm(u, v, 8, 3, 61));
        if (y == 0 || y == 63) c = hex(0x1a1a1c);
        // Glowing vent slots in the lower part.
        if (y >= 44 && y <= 56 && (x % 8) >= 2 && (x % 8) <= 5) {
            float t = (y - 44) / 12.0f;
            c = mix(hex(0xffd060), hex(0xc02a08), t);
        }
        if (y >= 42 && y <= 58 && ((x % 8) == 1 || (x % 8) == 6)) c = hex(0x222224);
        return c;
    });
    // Pipes across the whole width so the panel tiles.
    for (float py : {8.0f, 17.0f}) {
        paint(img, [py](float, float y) { return std::fabs(y - py) - 3.2f; },
              [py](float, float y) {
                  float s = (y - py) / 3.2f;
                  return lit(hex(0xc89a40), 0, s, std::sqrt(std::max(0.0f, 1 - s * s)), 0.3f, 0.6f);
              });
        for (float fx : {6.0f, 38.0f})  // flanges
            paint(img, [=](float x, float y) { return sdBox(x, y, fx, py, 1.5f, 4.5f); },
                  [](float, float) { return hex(0x8a6424); });
    }
    // Pressure gauge.
    ball(img, 32, 31, 8.5f, 8.5f, hex(0xb08a3a), 0.35f, 0.6f);
    paintFlat(img, [](float x, float y) { return sdCircle(x, y, 32, 31, 6.5f); }, hex(0xe8e0c8));
    limb(img, 32, 31, 36, 27, 0.6f, hex(0xa01810));
    for (int i = 0; i < 5; ++i) {
        float a = 2.5f + i * 0.55f;
        img.at(static_cast<int>(32 + 5 * std::cos(a)), static_cast<int>(31 - 5 * std::sin(a))) = hex(0x202020);
    }
    return img;
}

Image wallWood() {
    return texture([](int x, int y, float u, float v) {
        int plank = x / 8;
        float local = (x % 8) / 8.0f;
        float shade = 0.8f + 0.35f * hashf(plank, 0, 71);
        float g = grain(v + hashf(plank, 1, 71), u * 0.2f + plank * 0.13f, 72, 3);
        Col c = mix(hex(0x5a3a1e), hex(0x8a5e32), g) * shade;
        c = c * (0.9f + 0.15f * fbm(u, v, 16, 2, 73));
        if (x % 8 == 0) c = hex(0x24160a);
        else if (local > 0.85f) c = c * 0.8f;
        // Nails at the cross battens.
        if ((y == 10 || y == 52) && x % 8 == 4) c = hex(0x2a2a2a);
        if ((y == 9 || y == 51) && x % 8 == 4) c = hex(0x9a9a9a);
        return c;
    });
}

Image wallCrate() {
    return texture([](int x, int y, float u, float v) {
        float g = grain(u, v * 0.3f + (y / 8) * 0.17f, 81, 2);
        Col board = mix(hex(0x8a6430), hex(0xb88a48), g) * (0.9f + 0.2f * hashf(0, y / 8, 82));
        if (y % 8 == 0) board = board * 0.55f;
        // Frame and a diagonal brace.
        int e = std::min(std::min(x, 63 - x), std::min(y, 63 - y));
        float diag = std::fabs((x - y) / 1.41421f);
        Col frame = mix(hex(0x6a4420), hex(0x94683a), grain(v, u * 0.3f, 83, 2));
        Col c = board;
        if (diag < 5) c = frame * (diag > 4 ? 0.6f : 1.0f);
        if (e < 7) c = frame * (e == 0 ? 0.45f : (e == 6 ? 0.6f : (e == 1 ? 1.2f : 1.0f)));
        // Corner nails.
        if ((x == 3 || x == 60) && (y == 3 || y == 60)) c = hex(0xb0b0b0);
        return c;
    });
}

Image wallDoor() {
    Image img = texture([](int x, int y, float u, float v) {
        // Stone jambs at both sides, the door leaf between.
        if (x < 6 || x > 57) {
            Block k = masonry(x < 6 ? x : x - 58, y, 6, 10, 91);
            Col c = mix(hex(0x6a6660), hex(0x8a867e), k.rnd) * bevel(k, 6, 10, 1.5f);
            return k.edge < 0.8f ? hex(0x2e2c28) : c;
        }
        if (x == 6 || x == 57) return hex(0x1a120a);
        int plank = (x - 7) / 10;
        float g = grain(v * 2, u * 0.3f + plank * 0.21f, 92, 3);
        Col c = mix(hex(0x4a2c14), hex(0x7a4e26), g) * (0.85f + 0.25f * hashf(plank, 0, 93));
        if ((x - 7) % 10 == 0) c = hex(0x22140a);
        // Iron bands.
        if ((y >= 10 && y <= 14) || (y >= 48 && y <= 52)) {
            c = hex(0x2e3034) * (0.9f + 0.2f * fbm(u, v, 16, 2, 94));
            if (y == 10 || y == 48) c = c * 1.5f;
        }
        return c;
    });
    for (float by : {12.0f, 50.0f})
        for (float bx : {12.0f, 24.0f, 40.0f, 52.0f}) ball(img, bx, by, 1.5f, 1.5f, hex(0x9aa0a8), 0.35f, 0.6f);
    // Ring handle.
    paint(img, [](float x, float y) { return std::fabs(sdCircle(x, y, 48, 33, 3.5f)) - 0.8f; },
          [](float, float) { return hex(0xb0a070); });
    return img;
}

Image wallPanel() {
    // Carved oak frame around a red tapestry with a gold lattice.
    return texture([](int x, int y, float u, float v) {
        int e = std::min(std::min(x, 63 - x), std::min(y, 63 - y));
        if (e < 6) {
            Col c = mix(hex(0x4a2a12), hex(0x7a4a22), grain(u, v, 101, 3));
            if (e == 0) c = c * 0.5f;
            if (e == 1 || (e == 5 && (y > 58 || x > 58))) c = c * 1.3f;
            if (e == 5 && (y < 6 || x < 6)) c = c * 0.6f;
            if (e == 3) c = mix(c, hex(0xd8b050), 0.6f);  // gilded bead
            return c;
        }
        float d1 = std::fabs(std::fmod(x + y + 64.0f, 16.0f) - 8), d2 = std::fabs(std::fmod(x - y + 64.0f, 16.0f) - 8);
        Col c = mix(hex(0x6a1010), hex(0x8a1a16), fbm(u, v, 8, 3, 102));
        if (d1 > 7.2f || d2 > 7.2f) c = hex(0xd8aa48);
        // A gold boss where the lattice crosses.
        float bx = x - 32.0f, by = y - 32.0f;
        if (std::fabs(bx) + std::fabs(by) < 5) c = hex(0xf0cc66) * (1.0f - 0.04f * (bx + by));
        if ((x + y) % 2 == 0) c = c * 0.96f;
        return c;
    });
}

Image wallMarble() {
    return texture([](int x, int y, float u, float v) {
        float turb = fbm(u, v, 4, 5, 111);
        float vein = std::fabs(std::sin(TWO_PI * (u + 2 * v) + 7.0f * turb));
        float vein2 = std::fabs(std::sin(TWO_PI * (3 * u - v) + 5.0f * fbm(u, v, 8, 4, 112)));
        Col c = mix(hex(0xf0ece2), hex(0xd8d0c2), fbm(u, v, 4, 3, 113));
        c = mix(c, hex(0xa8acb4), (1 - smooth(0.0f, 0.4f, vein)) * 0.45f);  // cloudy halo
        c = mix(c, hex(0x3e3846), (1 - smooth(0.0f, 0.12f, vein)) * 0.9f);
        c = mix(c, hex(0x8a7a70), (1 - smooth(0.0f, 0.08f, vein2)) * 0.6f);
        // Polished slabs with bevelled joints.
        int lx = x % 32, ly = y % 32;
        if (lx == 0 || ly == 0) return hex(0x5a5650);
        if (lx == 1 || ly == 1) c = c * 1.06f;
        if (lx == 31 || ly == 31) c = c * 0.78f;
        return c;
    }, 4);
}

Image wallWindow() {
    // An arched stained-glass window in a stone wall.
    Image img = texture([](int x, int y, float u, float v) {
        return masonryPixel(x, y, u, v, 16, 8, hex(0x7a766e), hex(0x928e84), hex(0x3a3834), 121, 1.0f);
    });
    auto opening = [](float x, float y) {
        return std::min(sdBox(x, y, 32, 38, 14, 18), sdCircle(x, y, 32, 22, 14));
    };
    paint(img, [&](float x, float y) { return opening(x, y) - 3; },
          [](float x, float y) { return hex(0xb0aa9e) * (0.85f + 0.15f * hashf(static_cast<int>(x), static_cast<int>(y), 122)); });
    paint(img, opening, [](float x, float y) {
        // Leaded panes: diamond lattice over coloured glass, brighter at the top.
        float d1 = std::fmod(x + y + 64.0f, 8.0f), d2 = std::fmod(x - y + 64.0f, 8.0f);
        int pane = static_cast<int>((x + y + 64) / 8) * 7 + static_cast<int>((x - y + 64) / 8);
        const Col glass[4] = {hex(0x2a4ab0), hex(0xb02a2a), hex(0xd8a830), hex(0x2a8a4a)};
        Col c = glass[hash3(pane, 0, 123) % 4];
        c = c * (1.15f - 0.5f * (y - 8) / 48.0f);
        if (d1 < 1 || d2 < 1) c = hex(0x1a1a1e);
        if (std::fabs(x - 32) < 1) c = hex(0x2a2a2e);  // mullion
        return c;
    });
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 57.5f, 17, 1.5f); }, hex(0xc8c2b4));
    return img;
}

}  // namespace gen
