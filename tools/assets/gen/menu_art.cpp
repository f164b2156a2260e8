#include "menu_art.h"

#include <string>

#include "image.h"
#include "noise.h"
#include "patterns.h"
#include "shapes.h"

namespace gen {

namespace {

// Night sky over the keep: gradient, stars and a moon with a soft halo.
void nightSky(Image& img, float horizon, float mx, float my, float mr, uint32_t seed) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float t = clamp01(y / horizon);
            Col c = mix(hex(0x070a18), hex(0x1c1d3a), smooth(0, 0.7f, t));
            c = mix(c, hex(0x5a2f2a), smooth(0.55f, 1.0f, t));
            float n = fbm(x / 800.0f, y / 800.0f, 4, 4, seed);
            c = c * (0.85f + 0.3f * n);
            float hs = hashf(x, y, seed + 7);
            if (hs > 0.9975f && t < 0.8f) c = mix(c, hex(0xe8e6ff), (hs - 0.9975f) / 0.0025f);
            img.at(x, y) = c;
            img.alpha(x, y) = 1;
        }
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float d = len(x - mx, y - my);
            img.at(x, y) = img.at(x, y) + hex(0x4a4a66) * (0.55f * std::exp(-(d - mr) / 60.0f) * (d > mr));
        }
    paint(img, [=](float x, float y) { return sdCircle(x, y, mx, my, mr); },
          [=](float x, float y) {
              float crater = fbm(x / 64.0f, y / 64.0f, 4, 3, seed + 3);
              return mix(hex(0xf4efd8), hex(0xb8b09a), smooth(0.45f, 0.75f, crater));
          });
}

// Stone masonry as seen from afar, lit by moonlight from the right.
Col keepStone(float x, float y, float light, uint32_t seed) {
    Block b = masonry(x, y, 18, 9, seed);
    Col stone = mix(hex(0x3a3a44), hex(0x55535e), b.rnd);
    stone = stone * (0.8f + 0.35f * fbm(x / 200.0f, y / 200.0f, 8, 3, seed + 1));
    if (b.edge < 1.0f) stone = stone * 0.55f;
    return stone * light;
}

// A round tower with battlements and a slate cone roof.
void tower(Image& img, float cx, float top, float bottom, float hw, uint32_t seed) {
    paint(img, [=](float x, float y) { return sdBox(x, y, cx, (top + bottom) / 2, hw, (bottom - top) / 2); },
          [=](float x, float y) {
              float s = (x - cx) / hw;  // -1..1 across the round body
              float light = 0.45f + 0.6f * clamp01(0.5f + 0.5f * s) * std::sqrt(std::max(0.0f, 1 - s * s));
              return keepStone(x * (1 + 0.3f * s * s), y, light, seed);
          });
    // Battlements: a wider ring with merlons.
    float rt = top - 4;
    paint(img, [=](float x, float y) { return sdBox(x, y, cx, rt + 8, hw + 6, 8); },
          [=](float x, float y) { return keepStone(x, y, 0.7f + 0.3f * clamp01((x - cx) / hw), seed + 2); });
    for (int i = -2; i <= 2; ++i) {
        float mxc = cx + i * (hw + 6) / 2.5f;
        paint(img, [=](float x, float y) { return sdBox(x, y, mxc, rt - 5, 5, 6); },
              [=](float x, float y) { return keepStone(x, y, 0.75f, seed + 3); });
    }
    // Roof.
    std::vector<P2> roof = {{cx - hw - 10, rt - 10}, {cx + hw + 10, rt - 10}, {cx, rt - 10 - hw * 2.2f}};
    paint(img, [=](float x, float y) { return sdPolygon(x, y, roof); },
          [=](float x, float y) {
              float s = (x - cx) / (hw + 10);
              float stripe = (static_cast<int>((y - rt) / 5.0f) & 1) ? 0.9f : 1.0f;
              return hex(0x2c2f3f) * (0.6f + 0.6f * clamp01(0.5f + 0.5f * s)) * stripe;
          });
    // Pennant.
    float py = rt - 10 - hw * 2.2f;
    limb(img, cx, py, cx, py - 22, 1.2f, hex(0x888888));
    std::vector<P2> flag = {{cx + 1, py - 22}, {cx + 26, py - 17}, {cx + 1, py - 12}};
    paintFlat(img, [=](float x, float y) { return sdPolygon(x, y, flag); }, hex(0xb02a1c));
}

// A warm arched window with a halo of light around it.
void litWindow(Image& img, float cx, float cy, float w, float h) {
    for (int y = static_cast<int>(cy - 40); y < cy + 40; ++y)
        for (int x = static_cast<int>(cx - 40); x < cx + 40; ++x) {
            if (!img.inside(x, y)) continue;
            float d = len(x - cx, y - cy);
            img.at(x, y) = img.at(x, y) + hex(0xff8a30) * (0.22f * std::exp(-d / 12.0f));
        }
    paint(img,
          [=](float x, float y) {
              return std::min(sdBox(x, y, cx, cy + h * 0.2f, w / 2, h * 0.3f), sdCircle(x, y, cx, cy - h * 0.1f, w / 2));
          },
          [=](float, float y) { return mix(hex(0xffe08a), hex(0xe0641c), clamp01((y - cy + h / 2) / h)); });
}

// A great sandstone tablet set into the keep wall, inside a carved moulding with square bosses at
// the corners. The options and key screens write black, grey and white text straight onto its
// face, so the face stays a smooth mid-tone: its shading and weathering are broad and faint, and
// its grain too fine and too weak to break a letter.
void sandstoneTablet(Image& img, float x0, float y0, float x1, float y1, float frame, uint32_t seed) {
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
    auto outer = [=](float x, float y) { return sdBox(x, y, cx, cy, hw, hh, 6); };
    const float boss = frame + 5;  // half the side of a corner boss
    const float corners[4][2] = {{x0 + frame / 2, y0 + frame / 2}, {x1 - frame / 2, y0 + frame / 2},
                                 {x0 + frame / 2, y1 - frame / 2}, {x1 - frame / 2, y1 - frame / 2}};

    // The moon is up to the right: shadow on the wall below and left of the tablet.
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float d = outer(x + 0.5f + 5, y + 0.5f - 7);
            img.at(x, y) = img.at(x, y) * (1 - 0.6f * (1 - smooth(-6, 12, d)));
        }

    auto stone = [=](float x, float y, Col base) {
        float weather = fbm(x / 800.0f, y / 800.0f, 6, 3, seed + 1);
        float grain = vnoise(x / 800.0f, y / 800.0f, 400, seed + 5);
        return base * (0.94f + 0.1f * weather) * (0.985f + 0.03f * grain);
    };
    // lit() shines from the upper left; mirrored, so the light comes from the moon.
    auto shadeNormal = [](Col base, float nx, float ny, float nz, float ambient) {
        float nl = len(len(nx, ny), nz);
        return lit(base, -nx / nl, ny / nl, nz / nl, ambient, 0.1f);
    };

    paint(img, outer, [=](float x, float y) {
        const float u = -outer(x, y);  // depth inside the outer edge
        if (u < frame) {
            // Outward direction of the edge, from the sdf.
            const float e = 0.5f;
            float gx = outer(x + e, y) - outer(x - e, y), gy = outer(x, y + e) - outer(x, y - e);
            float gl = len(gx, gy) + 1e-6f;
            gx /= gl, gy /= gl;
            // Profile across the moulding: flat fillet, round bead, then a hollow down to the face.
            float t = u / frame, slope;
            if (t < 0.15f)
                slope = 0;
            else if (t < 0.72f)
                slope = 2.2f * std::cos(3.14159f * (t - 0.15f) / 0.57f);
            else
                slope = -3.0f * (t - 0.72f) / 0.28f;
            Col c = shadeNormal(stone(x, y, hex(0x9c8b6e)), gx * slope, gy * slope, 1, 0.45f);
            return c * (0.7f + 0.3f * smooth(0, 1.5f, u));  // joint with the wall
        }
        // Face: pale sandstone with broad weathering and the odd pit.
        Col c = stone(x, y, hex(0xb19f80));
        float strata = fbm(x / 800.0f, y / 800.0f + 0.01f * std::sin(x / 97.0f), 40, 2, seed + 2);
        c = c * (0.985f + 0.03f * strata);
        float stain = smooth(0.58f, 0.8f, fbm(x / 800.0f, y / 800.0f, 5, 3, seed + 3));
        c = mix(c, hex(0x8c7556), 0.15f * stain);
        if (hashf(static_cast<int>(x), static_cast<int>(y), seed + 4) > 0.9985f) c = c * 0.85f;
        // Moonlight from the upper right; the moulding shades the recess along its top and right.
        float nx = (x - cx) / hw, ny = (y - cy) / hh;
        c = c * (1.02f + 0.03f * nx - 0.03f * ny);
        float shade = std::max(1 - smooth(0, 5, y - y0 - frame), 1 - smooth(0, 5, x1 - frame - x));
        return c * (1 - 0.3f * shade);
    });

    // Corner bosses: squares with bevelled sides and a sunken round centre.
    for (auto& p : corners) {
        const float bx = p[0], by = p[1];
        paint(img, [=](float x, float y) { return sdBox(x, y, bx, by, boss, boss, 2); },
              [=](float x, float y) {
                  float dx = x - bx, dy = y - by;
                  float ax = std::fabs(dx), ay = std::fabs(dy);
                  float edge = boss - std::max(ax, ay);  // distance in from the boss's rim
                  float r = len(dx, dy);
                  Col base = stone(x, y, hex(0xa39273));
                  Col c;
                  if (edge < 5) {  // bevel: the side facing away from the centre slopes down
                      float nx = ax > ay ? (dx > 0 ? 1.0f : -1.0f) : 0.0f;
                      float ny = ax > ay ? 0.0f : (dy > 0 ? 1.0f : -1.0f);
                      c = shadeNormal(base, nx, ny, 1.2f, 0.45f);
                  } else if (r < boss * 0.45f) {  // sunken dish, lit on the far side
                      float k = r / (boss * 0.45f);
                      c = shadeNormal(base * 0.9f, -dx / (r + 1e-3f) * k, -dy / (r + 1e-3f) * k, 1.3f, 0.45f);
                  } else {
                      c = shadeNormal(base, 0, 0, 1, 0.45f);
                  }
                  return c * (0.7f + 0.3f * smooth(0, 1.5f, edge));
              });
    }
}

}  // namespace

Image mainMenuBackground(const Image& title) {
    const uint32_t seed = 4101;
    Image img(800, 600);
    nightSky(img, 470, 736, 56, 26, seed);

    // Distant hills.
    paint(img, [](float x, float y) { return 455 + 18 * std::sin(x / 90.0f) + 10 * std::sin(x / 37.0f + 1) - y; },
          [](float, float y) { return mix(hex(0x161a24), hex(0x0b0d12), clamp01((y - 430) / 170)); });

    // The keep's front wall with its battlements just under the title.
    paint(img, [](float x, float y) { return sdBox(x, y, 400, 330, 330, 270); },
          [](float x, float y) { return keepStone(x, y, 0.55f + 0.25f * clamp01((x - 100) / 600), seed); });
    for (int i = 0; i < 21; ++i) {
        float mx = 84 + i * 31.6f;
        paint(img, [=](float x, float y) { return sdBox(x, y, mx, 52, 8, 8); },
              [](float x, float y) { return keepStone(x, y, 0.65f, seed); });
    }
    tower(img, 44, 250, 556, 40, seed + 20);
    tower(img, 756, 270, 556, 38, seed + 30);
    const float windows[][2] = {{44, 330}, {44, 420}, {36, 500}, {756, 350}, {764, 440}};
    for (auto& w : windows) litWindow(img, w[0], w[1], 9, 18);

    // Foreground ground, dark so the corner text reads.
    paint(img, [](float x, float y) { float s = (x - 400) / 400; return 562 - 16 * s * s - y; },
          [](float x, float y) {
              return hex(0x0c0d10) * (0.8f + 0.4f * fbm(x / 800.0f, y / 800.0f, 16, 3, seed + 40));
          });

    // Vignette.
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float dx = (x - 400) / 400.0f, dy = (y - 300) / 300.0f;
            img.at(x, y) = img.at(x, y) * (1 - 0.35f * smooth(0.5f, 1.4f, dx * dx + dy * dy));
        }

    sandstoneTablet(img, 96, 60, 704, 548, 12, seed + 50);

    // Title above the tablet: gold letters with a dark rim and drop shadow.
    const int tx = (img.w - title.w) / 2, ty = -6;
    for (int y = 0; y < title.h; ++y)
        for (int x = 0; x < title.w; ++x) {
            float k = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (dx * dx + dy * dy <= 9) {
                        int sx = x - dx - 2, sy = y - dy - 3;
                        if (sx >= 0 && sy >= 0 && sx < title.w && sy < title.h) k = std::max(k, title.alpha(sx, sy));
                    }
            img.blend(tx + x, ty + y, hex(0x050403), k * 0.9f);
        }
    for (int y = 0; y < title.h; ++y)
        for (int x = 0; x < title.w; ++x) {
            float k = title.alpha(x, y);
            if (k <= 0) continue;
            float t = static_cast<float>(y) / title.h;
            Col gold = mix(hex(0xfff2b0), hex(0xd89a2a), smooth(0.2f, 0.55f, t));
            gold = mix(gold, hex(0x8a4f12), smooth(0.6f, 0.9f, t));
            float above = (y > 0) ? title.alpha(x, y - 1) : 0;
            if (above < 0.5f && k > 0.5f) gold = mix(gold, hex(0xffffff), 0.5f);
            img.blend(tx + x, ty + y, gold, k);
        }
    return img;
}

namespace {

// A plate with chamfered corners, a bevelled frame, a face colour gradient and corner rivets.
struct PlateStyle {
    Col faceTop, faceBottom, frame, rivet;
    float chamfer, border;
    bool rivets;
    uint32_t seed;
};

Image plate(int w, int h, const PlateStyle& s) {
    Image img(w, h, Col{}, 0);
    const float cx = w / 2.0f, cy = h / 2.0f;
    auto shape = [=](float x, float y, float inset) {
        float hw = w / 2.0f - inset, hh = h / 2.0f - inset;
        float box = sdBox(x, y, cx, cy, hw, hh);
        // Chamfer: cut the corners at 45 degrees.
        float c = (std::fabs(x - cx) + std::fabs(y - cy) - (hw + hh - s.chamfer)) * 0.7071f;
        return std::max(box, c);
    };
    paint(img, [=](float x, float y) { return shape(x, y, 0); },
          [=](float x, float y) {
              // Frame bevel: light from the top left.
              float d = -shape(x, y, 0);
              Col c = s.frame;
              float nx = (x - cx) / (w / 2.0f), ny = (y - cy) / (h / 2.0f);
              float bevel = 1.0f - 0.35f * nx - 0.6f * ny;
              if (d < s.border) return c * (0.55f + 0.45f * bevel) * (0.9f + 0.2f * hashf(static_cast<int>(x), static_cast<int>(y), s.seed));
              return c;
          });
    paint(img, [=](float x, float y) { return shape(x, y, s.border); },
          [=](float x, float y) {
              float t = (y - s.border) / (h - 2 * s.border);
              Col c = mix(s.faceTop, s.faceBottom, clamp01(t));
              float grain = fbm(x / w, y / (w * 1.0f), 16, 3, s.seed + 5);
              c = c * (0.9f + 0.2f * grain);
              float d = -shape(x, y, s.border);
              // Inner shadow under the top edge and highlight above the bottom edge.
              if (d < 3 && y < cy) c = c * (0.7f + 0.1f * d);
              if (d < 2 && y > cy) c = mix(c, hex(0xffffff), 0.08f);
              return c;
          });
    if (s.rivets) {
        const float inset = s.border + 8;
        const float pts[4][2] = {{inset + 4, inset}, {w - inset - 4, inset}, {inset + 4, h - inset}, {w - inset - 4, h - inset}};
        for (auto& p : pts) ball(img, p[0], p[1], 3.2f, 3.2f, s.rivet, 0.3f, 0.6f);
    }
    return img;
}

}  // namespace

Image menuButton(bool selected) {
    PlateStyle s;
    if (selected) {  // black label: a bright brass plate
        s = {hex(0xf0d58c), hex(0xc08a38), hex(0x5a3a1a), hex(0x7a5a2a), 10, 5, true, 77};
    } else {  // grey and white labels: dark iron
        s = {hex(0x3a3530), hex(0x1c1916), hex(0x6b5a44), hex(0x8a7a64), 10, 5, true, 78};
    }
    return plate(300, 70, s);
}

Image inGameButton(bool selected) {
    PlateStyle s;
    if (selected) {  // white label: deep red with a gold rim
        s = {hex(0x9a2a1a), hex(0x5a140c), hex(0xc8a050), hex(0), 4, 2, false, 81};
    } else {  // grey label: dark stone with a bronze rim
        s = {hex(0x2e2a26), hex(0x1a1816), hex(0x6a5a48), hex(0), 4, 2, false, 82};
    }
    return plate(220, 22, s);
}

Image crosshair() {
    Image img(21, 21, Col{}, 0);
    const Col ink = hex(0xfff4c8);
    auto mark = [&](int x, int y) { img.at(x, y) = ink, img.alpha(x, y) = 1; };
    for (int i = 3; i <= 7; ++i) {
        mark(10 + i, 10), mark(10 - i, 10), mark(10, 10 + i), mark(10, 10 - i);
    }
    mark(10, 10);
    outline(img, hex(0x000000));
    return img;
}

}  // namespace gen
