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
        // Heavy cast bars round square holes, over the dark and the fires below; a seam plate
        // along one edge. Broad bars and dim holes keep it calm when seen edge-on.
        Col pit = hex(0x1a1410) + hex(0x6a2a0a) * smooth(0.4f, 0.8f, fbm(u, v, 2, 3, 361));
        Col iron = hex(0x4e5054) * (0.8f + 0.3f * fbm(u, v, 8, 3, 362));
        iron = mix(iron, hex(0x6a3e22), smooth(0.55f, 0.8f, fbm(u, v, 4, 3, 363)) * 0.6f);
        int gx = x % 16, gy = y % 16;
        if (y < 4) return iron * (y == 0 ? 0.6f : (y == 1 ? 1.2f : 1.0f));
        if (gx < 6 || gy < 6) {
            float k = 1.0f;
            if (gx == 0 || gy == 0) k = 1.15f;
            if ((gx == 5 && gy >= 6) || (gy == 5 && gx >= 6)) k = 0.7f;
            return iron * k;
        }
        return pit * (gx == 6 || gy == 6 ? 0.6f : 1.0f);
    });
}

}  // namespace gen
