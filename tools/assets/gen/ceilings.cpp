// Ceilings of the mine, the vaulted crypt and the village lofts.
#include <algorithm>
#include <cmath>

#include "floors.h"
#include "noise.h"
#include "shapes.h"
#include "texkit.h"

namespace gen {

Image ceilingRock() {
    return texture([](int x, int y, float u, float v) {
        Col c = rockPixel(u, v, 371, hex(0x1e1a16), hex(0x625648), 4);
        // Dark wet patches where water seeps through.
        c = c * (1 - 0.35f * smooth(0.6f, 0.75f, fbm(u, v, 4, 3, 372)));
        return c * (0.95f + 0.1f * hashf(x, y, 373));
    }, 2);
}

Image ceilingVault() {
    return texture([](int x, int y, float u, float v) {
        // One bay per tile: small ashlar webbing, diagonal ribs meeting at a boss, transverse
        // ribs along the edges shared with the next bay.
        Col c = masonryPixel(x, y, u, v, 16, 8, hex(0x5e5a54), hex(0x76726a), hex(0x343230), 381, 1.0f);
        float px = x + 0.5f - 32, py = y + 0.5f - 32;
        float diag = std::min(std::fabs(px - py), std::fabs(px + py)) / 1.41421f;
        float edge = 32 - std::max(std::fabs(px), std::fabs(py));
        float rib = std::min(diag, edge);
        if (rib < 3.0f) {
            float s = rib / 3.0f;
            c = hex(0x948e82) * (1.1f - 0.45f * s * s) * (0.9f + 0.15f * fbm(u, v, 8, 2, 382));
        } else if (rib < 4.0f) {
            c = c * 0.6f;  // shadow beside the rib
        }
        float boss = len(px, py);
        if (boss < 5) c = mix(hex(0xd8b860), hex(0x8a6a2a), boss / 5);
        return c;
    });
}

Image ceilingRafters() {
    return texture([](int x, int y, float u, float v) {
        // Thatch seen from below between rafters running along y, with a batten across.
        float straw = fbm(u * 4, v, 8, 3, 391);
        Col c = mix(hex(0x6a5228), hex(0xa8884a), straw) * (0.75f + 0.3f * hashf(x, y / 3, 392));
        int ly = y % 32;
        if (ly >= 14 && ly < 18) c = mix(hex(0x3a2818), hex(0x5a3e22), grain(u, v, 393, 2)) * (ly == 14 ? 1.2f : (ly == 17 ? 0.6f : 1.0f));
        int rx = x % 32;
        if (rx < 9) {
            float s = (rx - 4) / 4.5f;
            Col beam = mix(hex(0x2e1c0e), hex(0x4e3218), grain(v, u * 0.3f + (x / 32) * 0.3f, 394, 3));
            c = beam * (1.1f - 0.5f * s * s);
        } else if (rx < 11) {
            c = c * 0.5f;
        }
        return c;
    });
}

}  // namespace gen
