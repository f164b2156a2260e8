// Signed-distance shapes (negative inside) and painters that turn them into anti-aliased fills.
#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

#include "image.h"

namespace gen {

struct P2 {
    float x, y;
};

inline float len(float x, float y) { return std::sqrt(x * x + y * y); }

inline float sdCircle(float px, float py, float cx, float cy, float r) { return len(px - cx, py - cy) - r; }

inline float sdEllipse(float px, float py, float cx, float cy, float rx, float ry) {
    float k = len((px - cx) / rx, (py - cy) / ry);
    return (k - 1) * std::min(rx, ry);
}

inline float sdBox(float px, float py, float cx, float cy, float hw, float hh, float round = 0) {
    float qx = std::fabs(px - cx) - hw + round, qy = std::fabs(py - cy) - hh + round;
    return len(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - round;
}

inline float sdSegment(float px, float py, float ax, float ay, float bx, float by, float r) {
    float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    float h = std::clamp((pax * bax + pay * bay) / (bax * bax + bay * bay + 1e-9f), 0.0f, 1.0f);
    return len(pax - bax * h, pay - bay * h) - r;
}

float sdPolygon(float px, float py, const std::vector<P2>& v);

inline float coverage(float d) { return clamp01(0.5f - d); }

// Paints every pixel where sdf(x,y) < 0 with colour(x,y), anti-aliased at the edge.
template <class Sdf, class Colour>
void paint(Image& img, Sdf sdf, Colour colour, float opacity = 1.0f) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float k = coverage(sdf(px, py));
            if (k > 0) img.blend(x, y, colour(px, py), k * opacity);
        }
}

template <class Sdf>
void paintFlat(Image& img, Sdf sdf, Col c, float opacity = 1.0f) {
    paint(img, sdf, [c](float, float) { return c; }, opacity);
}

// Lambert plus a highlight for a surface with normal (nx, ny, nz), light from the upper left.
Col lit(Col base, float nx, float ny, float nz, float ambient = 0.35f, float shine = 0.35f);

// A lit ellipsoid seen face-on: the body shape most creatures and props are built from.
void ball(Image& img, float cx, float cy, float rx, float ry, Col base, float ambient = 0.35f,
          float shine = 0.35f);

// A lit cylinder-like stroke between two points (limbs, horns, pipes).
void limb(Image& img, float ax, float ay, float bx, float by, float r, Col base, float ambient = 0.35f);

// Vertical gradient fill of the whole image.
void vgradient(Image& img, Col top, Col bottom);

}  // namespace gen
