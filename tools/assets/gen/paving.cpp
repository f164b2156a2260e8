// Outdoor paving and the chapel's mosaic.
#include <algorithm>
#include <cmath>

#include "floors.h"
#include "noise.h"
#include "shapes.h"
#include "texkit.h"

namespace gen {

Image floorCobbles() {
    return texture([](int, int, float u, float v) {
        // Rounded setts: each cell domed by its distance to the joint, dark earth between.
        Cell c = cellular(u, v, 6, 321, 0.6f);
        float gap = c.f2 - c.f1;
        if (gap < 0.09f) return hex(0x2a2218) * (0.8f + 0.4f * fbm(u, v, 16, 2, 322));
        float dome = smooth(0.09f, 0.5f, gap);
        Col stone = mix(hex(0x5e5850), hex(0x8a8276), (c.id & 255) / 255.0f);
        stone = mix(stone, hex(0x6a5a48), ((c.id >> 8) & 3) == 0 ? 0.5f : 0.0f);
        stone = stone * (0.9f + 0.15f * fbm(u, v, 16, 2, 323));
        return stone * (0.6f + 0.5f * dome);
    }, 2);
}

Image floorGravel() {
    return texture([](int, int, float u, float v) {
        // Rounded pebbles of two sizes over packed grit, each lit as a little dome so the
        // gravel still reads as stones a few cells away.
        Col c = mix(hex(0x2e2a24), hex(0x4a4238), fbm(u, v, 16, 2, 333));
        for (int layer = 0; layer < 2; ++layer) {
            Cell k = cellular(u, v, layer ? 10 : 20, 331 + layer, 0.9f);
            float r = layer ? 0.42f : 0.4f;
            if (k.f1 >= r) continue;
            float h = std::sqrt(1 - (k.f1 / r) * (k.f1 / r));
            Col stone = mix(hex(0x5a544a), hex(0x9a907e), (k.id & 255) / 255.0f);
            if (((k.id >> 8) & 15) == 0) stone = hex(0x6e5a46);  // the odd rusty one
            c = stone * (0.45f + 0.6f * h);
        }
        return c;
    }, 2);
}

Image floorMosaic() {
    return texture([](int x, int y, float u, float v) {
        // Tesserae of 4 pixels with grout lines; colour from a rosette centred on the tile
        // and quarter-rosettes at the corners, so neighbouring tiles link up.
        int tx = x / 4, ty = y / 4;
        float cx = tx * 4 + 2 - 32.0f, cy = ty * 4 + 2 - 32.0f;
        float r = len(cx, cy), a = std::atan2(cy, cx);
        float rc = len(32 - std::fabs(cx), 32 - std::fabs(cy));  // distance to the nearest corner
        float petal = r * (0.8f + 0.2f * std::cos(8 * a));
        Col c = hex(0xb8ac90);  // cream ground
        if (petal < 7) c = hex(0xd8a838);
        else if (petal < 13) c = hex(0x1e4a8a);
        else if (r < 18 && r >= 15) c = hex(0xa83a24);
        if (rc < 10) c = rc < 5 ? hex(0xa83a24) : hex(0x1e4a8a);
        if (std::min(std::fabs(cx), std::fabs(cy)) > 29) c = hex(0x2a2a30);  // edge band
        c = c * (0.85f + 0.25f * hashf(tx, ty, 341)) * (0.92f + 0.12f * fbm(u, v, 4, 2, 342));
        if (x % 4 == 0 || y % 4 == 0) c = hex(0x4a4438);
        return c;
    });
}

}  // namespace gen
