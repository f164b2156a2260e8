#include "icon.h"

#include <algorithm>
#include <vector>

#include "shapes.h"

namespace gen {

namespace {

// The shield outline on a 256-unit square: straight sides, then a curve down to the point.
std::vector<P2> shieldOutline() {
    std::vector<P2> v = {{36, 24}, {220, 24}, {220, 118}};
    for (int i = 1; i < 16; ++i) {
        float t = i / 16.0f, u = 1 - t;
        v.push_back({u * u * 220 + 2 * u * t * 214 + t * t * 128, u * u * 118 + 2 * u * t * 198 + t * t * 236});
    }
    v.push_back({128, 236});
    for (int i = 15; i >= 1; --i) {
        float t = i / 16.0f, u = 1 - t;
        v.push_back({u * u * 36 + 2 * u * t * 42 + t * t * 128, u * u * 118 + 2 * u * t * 198 + t * t * 236});
    }
    v.push_back({36, 118});
    return v;
}

}  // namespace

Image gameIcon(int size) {
    Image img(size, size, Col{}, 0);
    const float s = size / 256.0f;
    // Strokes never get thinner than about a pixel, or the 16-pixel icon loses them.
    auto atLeast = [s](float units, float pixels) { return std::max(units, pixels / s); };
    const std::vector<P2> shield = shieldOutline();
    auto shieldD = [&](float x, float y) { return sdPolygon(x / s, y / s, shield) * s; };

    paintFlat(img, [&](float x, float y) { return shieldD(x, y) - atLeast(5, 1) * s; }, hex(0x1a0c06));
    paint(img, shieldD, [s](float x, float y) {
        return mix(hex(0xf0c860), hex(0x6a4416), clamp01((x + y) / (s * 400)));
    });
    const float rim = atLeast(14, 1.5f);
    paint(img, [&](float x, float y) { return shieldD(x, y) + rim * s; }, [s](float, float y) {
        return mix(hex(0xb02a1a), hex(0x3e0a06), clamp01((y / s - 30) / 200));
    });

    const float cx = 128, cy = 116, ring = atLeast(7, 0.6f), tick = atLeast(6, 0.6f), dot = atLeast(10, 0.9f);
    // Below 32 pixels the inner ticks and the dot would blur the ring into a blob.
    const bool small = size < 32;
    const float in = small ? 52 : 32;
    auto cross = [&](float x, float y) {
        x /= s, y /= s;
        float d = std::fabs(sdCircle(x, y, cx, cy, 52)) - ring;
        if (!small) d = std::min(d, sdCircle(x, y, cx, cy, dot));
        d = std::min(d, sdSegment(x, y, cx - 80, cy, cx - in, cy, tick));
        d = std::min(d, sdSegment(x, y, cx + in, cy, cx + 80, cy, tick));
        d = std::min(d, sdSegment(x, y, cx, cy - 80, cx, cy - in, tick));
        d = std::min(d, sdSegment(x, y, cx, cy + in, cx, cy + 80, tick));
        return d * s;
    };
    if (size >= 48) paintFlat(img, [&](float x, float y) { return cross(x - 4 * s, y - 4 * s); }, hex(0x1a0402), 0.7f);
    paint(img, cross, [s](float, float y) { return mix(hex(0xfff0b0), hex(0xd09030), clamp01((y / s - 36) / 160)); });
    return img;
}

}  // namespace gen
