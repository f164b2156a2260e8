// Floors of the throne room and the foundry.
#include <algorithm>
#include <cmath>

#include "floors.h"
#include "noise.h"
#include "shapes.h"
#include "texkit.h"

namespace gen {

Image floorCarpet() {
    return texture([](int x, int y, float u, float v) {
        // A red field framed by a gold band with a running diamond border, a medallion in the
        // middle. Half the frame lies on each side of the tile's edge, so a run of tiles reads
        // as one long carpet of panels.
        float px = x + 0.5f - 32, py = y + 0.5f - 32;
        float e = 32 - std::max(std::fabs(px), std::fabs(py));  // distance to the tile edge
        float along = std::fabs(px) > std::fabs(py) ? py : px;
        Col c = hex(0x8a1418) * (0.9f + 0.15f * fbm(u, v, 8, 3, 351));
        if (e < 2) c = hex(0x2a0a0a);
        else if (e < 9) {
            float d = std::fabs(std::fmod(along + 64, 8.0f) - 4) + std::fabs(e - 5.5f);
            c = d < 2.5f ? hex(0xe0b040) : hex(0x3a1a4a);
            if (e < 3 || e > 8) c = hex(0xd0a038);
        }
        float m = std::fabs(px) + std::fabs(py);
        if (m < 12) c = m < 6 ? hex(0xe0b040) : (m < 8 ? hex(0x3a1a4a) : hex(0xd0a038));
        return c * (((x ^ y) & 1) ? 0.95f : 1.03f);  // pile
    });
}

Image floorGrating() {
    return texture([](int x, int y, float u, float v) {
        // Iron bars over the dark, faintly lit by the fires below.
        Col pit = hex(0x0e0a08) + hex(0x5a1e06) * smooth(0.45f, 0.8f, fbm(u, v, 2, 3, 361));
        int gx = x % 16, gy = y % 8;
        bool bar = gx < 3, rung = gy < 2;
        if (!bar && !rung) return pit;
        Col iron = hex(0x4a4c50) * (0.8f + 0.35f * fbm(u, v, 8, 3, 362));
        iron = mix(iron, hex(0x6a3a1e), smooth(0.6f, 0.8f, fbm(u, v, 4, 3, 363)) * 0.6f);
        if (bar) return iron * (gx == 0 ? 1.25f : (gx == 2 ? 0.7f : 1.0f));
        return iron * (gy == 0 ? 1.15f : 0.8f);
    });
}

}  // namespace gen
