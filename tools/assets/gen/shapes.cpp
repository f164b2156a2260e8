#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "image.h"

namespace gen {

float sdPolygon(float px, float py, const std::vector<P2>& v) {
    float d = (px - v[0].x) * (px - v[0].x) + (py - v[0].y) * (py - v[0].y);
    float s = 1;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
        float wx = px - v[i].x, wy = py - v[i].y;
        float h = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey + 1e-9f), 0.0f, 1.0f);
        float bx = wx - ex * h, by = wy - ey * h;
        d = std::min(d, bx * bx + by * by);
        bool c1 = py >= v[i].y, c2 = py < v[j].y, c3 = ex * wy > ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

Col lit(Col base, float nx, float ny, float nz, float ambient, float shine) {
    const float lx = -0.45f, ly = -0.6f, lz = 0.66f;
    float d = std::max(0.0f, nx * lx + ny * ly + nz * lz);
    float hx = lx, hy = ly, hz = lz + 1;
    float hl = len(len(hx, hy), hz);
    float specular = std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl), 24.0f) * shine;
    Col c = base * (ambient + (1 - ambient) * d);
    return c + Col{specular, specular, specular};
}

void ball(Image& img, float cx, float cy, float rx, float ry, Col base, float ambient,
          float shine) {
    paint(img, [=](float x, float y) { return sdEllipse(x, y, cx, cy, rx, ry); },
          [=](float x, float y) {
              float nx = (x - cx) / rx, ny = (y - cy) / ry;
              float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
              return lit(base, nx, ny, nz, ambient, shine);
          });
}

void limb(Image& img, float ax, float ay, float bx, float by, float r, Col base, float ambient) {
    float dx = bx - ax, dy = by - ay, l = len(dx, dy) + 1e-6f;
    float nxp = -dy / l, nyp = dx / l;
    paint(img, [=](float x, float y) { return sdSegment(x, y, ax, ay, bx, by, r); },
          [=](float x, float y) {
              float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (l * l), 0.0f, 1.0f);
              float ox = x - (ax + dx * t), oy = y - (ay + dy * t);
              float s = std::clamp((ox * nxp + oy * nyp) / r, -1.0f, 1.0f);
              float nz = std::sqrt(std::max(0.0f, 1 - s * s));
              return lit(base, s * nxp, s * nyp, nz, ambient, 0.2f);
          });
}

void vgradient(Image& img, Col top, Col bottom) {
    for (int y = 0; y < img.h; ++y) {
        Col c = mix(top, bottom, img.h > 1 ? static_cast<float>(y) / (img.h - 1) : 0);
        for (int x = 0; x < img.w; ++x) {
            img.at(x, y) = c;
            img.alpha(x, y) = 1;
        }
    }
}

}  // namespace gen
