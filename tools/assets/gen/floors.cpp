#include "floors.h"

#include "noise.h"
#include "shapes.h"
#include "texkit.h"

namespace gen {

Image floorTiles() {
    return texture([](int x, int y, float u, float v) {
        int tx = x / 32, ty = y / 32;
        bool dark = (tx + ty) & 1;
        Col c = dark ? hex(0x4a4a52) : hex(0x8a8478);
        c = c * (0.85f + 0.25f * fbm(u, v, 4, 4, 131));
        int lx = x % 32, ly = y % 32;
        if (lx == 0 || ly == 0) return hex(0x24221e);
        if (lx == 1 || ly == 1) c = c * 1.15f;
        if (lx == 31 || ly == 31) c = c * 0.75f;
        // Worn centres.
        float wear = fbm(u, v, 8, 3, 132);
        return c * (0.92f + 0.12f * wear);
    });
}

Image floorGrass() {
    Image img = texture([](int, int, float u, float v) {
        float n = fbm(u, v, 4, 4, 141);
        Col c = mix(hex(0x2e5a1a), hex(0x5a8a2a), n);
        return mix(c, hex(0x6a5a2a), smooth(0.62f, 0.75f, fbm(u, v, 2, 3, 142)) * 0.6f);
    });
    Rng rng(143);
    for (int i = 0; i < 260; ++i) {  // blades: short light strokes with a darker root
        int x = rng.irange(0, 63), y = rng.irange(0, 63), len = rng.irange(2, 4);
        int lean = rng.irange(-1, 1);
        Col tip = mix(hex(0x7aaa3a), hex(0xa0c850), rng.uni());
        for (int k = 0; k < len; ++k) {
            int px = wrapi(x + (k * lean) / 2, 64), py = wrapi(y - k, 64);
            img.at(px, py) = mix(hex(0x244a14), tip, static_cast<float>(k + 1) / len);
        }
    }
    return img;
}

Image floorPlanks() {
    return texture([](int x, int y, float u, float v) {
        int row = y / 8;
        // Staggered butt joints per row.
        int jx = static_cast<int>(hashf(row, 0, 151) * 64);
        int board = ((x - jx + 64) % 64) < 32 ? 0 : 1;
        float g = grain(u * 0.5f + hashf(row, board, 152), v + row * 0.1f, 153, 4);
        Col c = mix(hex(0x6a4422), hex(0x9a6a38), g) * (0.85f + 0.25f * hashf(row, board, 154));
        if (y % 8 == 0) c = hex(0x2a1a0c);
        else if (y % 8 == 7) c = c * 0.8f;
        if ((x - jx + 64) % 32 == 0) c = hex(0x2a1a0c);
        return c;
    });
}

Image floorDirt() {
    Image img = texture([](int, int, float u, float v) {
        float n = fbm(u, v, 4, 5, 161);
        Col c = mix(hex(0x4a3420), hex(0x7a5a38), n);
        return c * (0.9f + 0.15f * fbm(u, v, 16, 2, 162));
    });
    Rng rng(163);
    for (int i = 0; i < 26; ++i) {  // pebbles
        float cx = rng.range(0, 64), cy = rng.range(0, 64), r = rng.range(0.8f, 1.8f);
        Col base = mix(hex(0x7a746a), hex(0xa09a8a), rng.uni());
        for (int oy = -64; oy <= 64; oy += 64)
            for (int ox = -64; ox <= 64; ox += 64) ball(img, cx + ox, cy + oy, r * 1.2f, r, base, 0.4f, 0.3f);
    }
    return img;
}

Image floorFlagstone() {
    return texture([](int, int, float u, float v) {
        Cell c = cellular(u, v, 4, 171, 0.7f);
        float gap = c.f2 - c.f1;
        Col stone = mix(hex(0x6a6458), hex(0x8e887a), (c.id & 255) / 255.0f);
        stone = stone * (0.85f + 0.25f * fbm(u, v, 8, 3, 172));
        if (gap < 0.06f) return hex(0x2a2620) * (0.8f + 0.4f * fbm(u, v, 16, 2, 173));
        if (gap < 0.11f) stone = stone * 0.82f;
        return stone;
    });
}

Image ceilingBeams() {
    return texture([](int x, int y, float u, float v) {
        // Boards running along x, with a heavy beam across every 32 pixels.
        int row = y / 8;
        float g = grain(u * 0.5f + hashf(row, 0, 181), v, 182, 4);
        Col c = mix(hex(0x3a2414), hex(0x5a3a20), g) * (0.85f + 0.25f * hashf(row, 1, 183));
        if (y % 8 == 0) c = hex(0x1a0e06);
        int bx = x % 32;
        if (bx >= 24) {
            c = mix(hex(0x4a2e16), hex(0x6e4624), grain(v, u, 184, 3));
            if (bx == 24 || bx == 31) c = hex(0x1a0e06);
            else if (bx == 25) c = c * 1.25f;
            else if (bx == 30) c = c * 0.7f;
        }
        return c;
    });
}

Image ceilingPlaster() {
    return texture([](int x, int y, float u, float v) {
        Col c = mix(hex(0xb0a484), hex(0xcfc4a4), fbm(u, v, 4, 4, 191));
        // Water stains and a fine crack network.
        c = mix(c, hex(0x8a7a5a), smooth(0.6f, 0.78f, fbm(u, v, 2, 4, 192)) * 0.5f);
        Cell k = cellular(u, v, 3, 193, 0.9f);
        if (k.f2 - k.f1 < 0.035f && fbm(u, v, 8, 2, 194) > 0.45f) c = c * 0.7f;
        return c * (0.96f + 0.06f * hashf(x, y, 195));
    });
}

Image ceilingMetalGrid() {
    return texture([](int x, int y, float u, float v) {
        int gx = x % 16, gy = y % 16;
        // Darkness behind the grate, faintly warm.
        Col c = hex(0x141210) + hex(0x2a1608) * fbm(u, v, 2, 2, 201);
        bool barX = gx < 3, barY = gy < 3;
        if (barX || barY) {
            Col iron = hex(0x5a5e66) * (0.85f + 0.3f * fbm(u, v, 8, 3, 202));
            float s = barX && !barY ? (gx - 1.0f) : (gy - 1.0f);
            c = iron * (1.0f - 0.25f * s);
            if (barX && barY) c = hex(0x7a808a);
        }
        return c;
    });
}

}  // namespace gen
