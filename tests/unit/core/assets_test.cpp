// The shipped fonts have the heights the layout counts on and draw every printable character;
// the pictures have the shapes the renderer counts on, and monsters stand out from the level.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bitmap = std::unique_ptr<BITMAP, void (*)(BITMAP*)>;
Bitmap load(const std::string& path) { return Bitmap(load_bitmap(path.c_str(), nullptr), destroy_bitmap); }

std::vector<std::string> files(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().string());
    return out;
}

struct Lab {
    double l, a, b;
};

// Mean of the opaque pixels, mixed as light mixes (in linear RGB), in CIELAB (D65): a
// difference of 1 there is about the least the eye notices side by side.
Lab meanColour(BITMAP* bmp) {
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x) {
            const int c = getpixel(bmp, x, y);
            if (c == makecol(255, 0, 255)) continue;
            const int rgb[3] = {getr(c), getg(c), getb(c)};
            for (int k = 0; k < 3; ++k) {
                const double v = rgb[k] / 255.0;
                sum[k] += v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            }
            ++n;
        }
    const double r = sum[0] / n, g = sum[1] / n, b = sum[2] / n;
    const double xyz[3] = {(0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.9505, 0.2126 * r + 0.7152 * g + 0.0722 * b,
                           (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.089};
    double f[3];
    for (int k = 0; k < 3; ++k) f[k] = xyz[k] > 0.008856 ? std::cbrt(xyz[k]) : 7.787 * xyz[k] + 16.0 / 116;
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

}  // namespace

TEST(Assets, FontsOfTheLayoutHeightsDrawEveryPrintableCharacter) {
    std::unique_ptr<DATAFILE, void (*)(DATAFILE*)> data(load_datafile("data/data.dat"), unload_datafile);
    ASSERT_NE(data, nullptr);
    std::unique_ptr<BITMAP, void (*)(BITMAP*)> canvas(create_bitmap(64, 64), destroy_bitmap);
    const int heights[3][2] = {{28, 32}, {14, 16}, {18, 22}}, white = makecol(255, 255, 255);  // menu, text, warning
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(data.get()[i].type, DAT_FONT) << i;
        FONT* f = static_cast<FONT*>(data.get()[i].dat);
        EXPECT_TRUE(text_height(f) >= heights[i][0] && text_height(f) <= heights[i][1]) << "font " << i;
        for (char s[2] = {' ', 0}; s[0] <= '~'; ++s[0]) {
            clear_to_color(canvas.get(), 0);
            textout_ex(canvas.get(), f, s, 0, 0, white, -1);
            int lit = 0;
            for (int p = 0; p < 64 * 64; ++p) lit += getpixel(canvas.get(), p % 64, p / 64) == white;
            EXPECT_TRUE(text_length(f, s) > 0 && (lit > 0) == (s[0] != ' ')) << "font " << i << " char '" << s << "'";
        }
    }
}

TEST(Assets, PicturesTheRendererCanDrawAndMonstersThatStandOutWhole) {
    // The renderer masks texture coordinates, so sides are powers of two; only sprites are
    // drawn masked.
    std::vector<std::pair<std::string, Lab>> ground;
    for (const std::string dir : {"gfx/walls", "gfx/floors", "gfx/ceilings", "gfx/sprites"})
        for (const std::string& path : files(dir)) {
            Bitmap t = load(path);
            ASSERT_NE(t, nullptr) << path;
            int magenta = 0;
            for (int p = 0; p < t->w * t->h; ++p) magenta += getpixel(t.get(), p % t->w, p / t->w) == makecol(255, 0, 255);
            EXPECT_TRUE((t->w & (t->w - 1)) == 0 && (t->h & (t->h - 1)) == 0 && (magenta > 0) == (dir == "gfx/sprites"))
                << path << " is " << t->w << "x" << t->h;
            if (dir == "gfx/walls" || dir == "gfx/floors") ground.emplace_back(path, meanColour(t.get()));
        }
    // A monster whose average colour is near a wall's or floor's melts into it at a distance.
    for (const char* m : {"gfx/sprites/monster0.bmp", "gfx/sprites/monster1.bmp", "gfx/sprites/monster2.bmp"}) {
        Bitmap t = load(m);
        ASSERT_NE(t, nullptr) << m;
        int top = 0;
        for (int x = 0; x < t->w; ++x) top += getpixel(t.get(), x, 0) != makecol(255, 0, 255);
        EXPECT_EQ(top, 0) << m << " is cut off at the top";
        const Lab a = meanColour(t.get());
        for (const auto& [path, b] : ground) {
            const double d = std::sqrt((a.l - b.l) * (a.l - b.l) + (a.a - b.a) * (a.a - b.a) + (a.b - b.b) * (a.b - b.b));
            EXPECT_GE(d, 25.0) << m << " against " << path;  // the old red brute on red brick: 8
        }
    }
}
