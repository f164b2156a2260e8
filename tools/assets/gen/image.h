// Float RGB images with a coverage channel, and their conversion to Allegro bitmap files.
// Pixels whose coverage is below one half become magenta, the game's transparent colour.
#pragma once
#include <cmath>
#include <string>
#include <vector>

namespace gen {

struct Col {
    float r = 0, g = 0, b = 0;
};

inline Col rgb(float r, float g, float b) { return Col{r, g, b}; }
inline Col hex(unsigned v) {
    return Col{((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f};
}
inline Col operator+(Col a, Col b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Col operator-(Col a, Col b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Col operator*(Col a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Col operator*(Col a, Col b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Col mix(Col a, Col b, float t) { return a + (b - a) * t; }
inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float smooth(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float luma(Col c) { return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b; }

struct Image {
    int w = 0, h = 0;
    std::vector<Col> px;
    std::vector<float> a;  // coverage 0..1

    Image() = default;
    Image(int w_, int h_, Col fill = {}, float cover = 1.0f)
        : w(w_), h(h_), px(static_cast<size_t>(w_ * h_), fill), a(static_cast<size_t>(w_ * h_), cover) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Col& at(int x, int y) { return px[static_cast<size_t>(y * w + x)]; }
    Col at(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
    float& alpha(int x, int y) { return a[static_cast<size_t>(y * w + x)]; }
    float alpha(int x, int y) const { return a[static_cast<size_t>(y * w + x)]; }
    // Wrapping read, for textures that must tile.
    Col wrap(int x, int y) const { return at(((x % w) + w) % w, ((y % h) + h) % h); }

    // Paints colour c over the pixel with opacity k, raising coverage accordingly.
    void blend(int x, int y, Col c, float k) {
        if (!inside(x, y) || k <= 0) return;
        k = clamp01(k);
        Col& p = at(x, y);
        float& al = alpha(x, y);
        if (al <= 0) {
            p = c;
        } else {
            p = mix(p, c, k);
        }
        al = al + (1 - al) * k;
    }
};

inline int to8(float v) { return static_cast<int>(std::lround(clamp01(v) * 255.0f)); }

// Writes the image through Allegro (format from the extension). Magenta marks uncovered pixels;
// covered pixels that happen to be magenta are nudged so they stay visible.
bool save(const Image& img, const std::string& path, bool keyed = false);

// Reads an 8-bit coverage mask written by fontgrid (palette index = coverage).
Image loadMask(const std::string& path);

// Copies src onto dst at (ox, oy), respecting src coverage.
void paste(Image& dst, const Image& src, int ox, int oy);

// Darkens uncovered pixels that touch covered ones: a 1-pixel outline keeps sprites readable.
void outline(Image& img, Col c, float threshold = 0.5f);

}  // namespace gen
