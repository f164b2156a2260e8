// Walls of the keep's halls: the library and the great hall.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "shapes.h"
#include "texkit.h"
#include "walls.h"

namespace gen {

Image wallBookshelf() {
    return texture([](int x, int y, float u, float v) {
        // Four shelves of 16 pixels: a 3-pixel board, then books standing on it.
        int shelf = y / 16, ly = y % 16;
        Col oak = mix(hex(0x4a2c14), hex(0x6e4422), grain(u, v, 301, 3));
        if (ly >= 13) return oak * (ly == 13 ? 1.3f : (ly == 15 ? 0.55f : 1.0f));
        // Books: widths 2..5, heights 8..12, chosen per shelf by walking along x.
        Rng rng(302 + shelf);
        int bx = 0, w = 0, h = 0;
        uint32_t id = 0;
        while (bx <= x) {
            w = rng.irange(2, 5), h = rng.irange(8, 12), id = rng.next();
            if (bx + w > 64) w = 64 - bx;  // the last book fits the row so the shelf tiles
            if (x < bx + w) break;
            bx += w;
        }
        if (id % 11 == 0 || 13 - ly > h) {
            // A gap: the dark back of the case, or a book lying flat.
            return id % 11 == 0 && ly >= 10 ? mix(hex(0x6a2018), hex(0x2a4a6a), (id >> 8) % 2) * 0.9f : hex(0x1a0e06);
        }
        static const Col covers[] = {hex(0x7a1a14), hex(0x1e3a5e), hex(0x2a4a22), hex(0x5a3a1a), hex(0x3a1e3e),
                                     hex(0x8a6a2a), hex(0x2a2a2a), hex(0x6a2a1a)};
        Col c = covers[(id >> 4) % 8] * (0.85f + 0.3f * ((id >> 12) % 16) / 15.0f);
        float s = (x - bx + 0.5f) / w * 2 - 1;
        c = c * (1.1f - 0.35f * s * s);  // round spines
        int top = 13 - h;
        if ((id >> 20) % 3 == 0 && (ly == top + 2 || ly == 13 - 3)) c = mix(c, hex(0xe0b850), 0.8f);  // gilt bands
        else if ((id >> 20) % 3 == 1 && ly == top + 4) c = mix(c, hex(0xd8d0b8), 0.6f);  // a paper label
        if (ly == top) c = c * 0.7f;
        return c;
    });
}

Image wallTapestry() {
    Image img = texture([](int x, int y, float u, float v) {
        // The hanging fills the wall; a strip of keep stone shows at top and bottom.
        Col c = masonryPixel(x, y, u, v, 16, 8, hex(0x5e5a54), hex(0x726e66), hex(0x2a2826), 311, 1.0f);
        if (y < 5 || y > 58) return c;
        // Woven cloth: deep green field, a red band, then a gold-and-red border.
        Col cloth = hex(0x1a5a2a) * (0.88f + 0.2f * fbm(u, v, 8, 2, 312));
        float ex = std::min(std::fabs(x + 0.5f - 0), std::fabs(x + 0.5f - 64));
        float e = std::min(ex, std::min(y + 0.5f - 5, 58.5f - y));
        if (e < 2.5f) cloth = hex(0x9a1a1a);
        else if (e < 4) cloth = ((x + y) / 2) % 2 ? hex(0xe0b040) : hex(0xb08020);
        cloth = cloth * (((x + y) & 1) ? 0.94f : 1.04f);  // weave
        return cloth;
    });
    // The keep's arms: a white tower on a red shield, under a gold crown.
    auto shield = [](float x, float y) {
        return std::max(std::max(sdCircle(x, y, 46, 20, 28), sdCircle(x, y, 18, 20, 28)), 18 - y);
    };
    paint(img, [&](float x, float y) { return shield(x, y) - 1.5f; }, [](float, float) { return hex(0xe8c050); });
    paint(img, [&](float x, float y) { return shield(x, y); }, [](float x, float y) {
        return hex(0xb01c1c) * (0.92f + 0.12f * fbm(x / 64, y / 64, 8, 2, 313));
    });
    auto tower = [](float x, float y) {
        float t = std::min(sdBox(x, y, 32, 36, 5.5f, 8), sdBox(x, y, 32, 26, 7.5f, 2.5f));
        t = std::max(t, -sdBox(x, y, 29.5f, 24, 1.2f, 1.6f));
        t = std::max(t, -sdBox(x, y, 34.5f, 24, 1.2f, 1.6f));
        return std::max(t, -sdBox(x, y, 32, 41, 2, 3.5f));
    };
    paint(img, tower, [](float x, float y) { return hex(0xf2eee4) * (((static_cast<int>(y) % 4) == 0) ? 0.8f : 1.0f) * (1 - 0.02f * (x - 32)); });
    // Crown above the shield.
    paintFlat(img, [](float x, float y) {
        return sdPolygon(x, y, {{24, 16}, {40, 16}, {42, 8}, {37, 12}, {32, 7}, {27, 12}, {22, 8}});
    }, hex(0xf0c848));
    paintFlat(img, [](float x, float y) { return sdBox(x, y, 32, 16, 8, 1); }, hex(0xa07818));
    // Tassels hang below the hem.
    for (float tx : {8.0f, 24.0f, 40.0f, 56.0f}) limb(img, tx, 58, tx, 62, 1.1f, hex(0xe0b040));
    return img;
}

}  // namespace gen
