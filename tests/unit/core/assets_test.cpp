// Checks the shipped pictures, fonts and sounds the way the game uses them: they must load with
// the library, have the sizes the screens lay out, keep magenta where things are see-through,
// and keep the contrast that the text drawn over them relies on.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bitmap = std::unique_ptr<BITMAP, void (*)(BITMAP*)>;
using Datafile = std::unique_ptr<DATAFILE, void (*)(DATAFILE*)>;

Bitmap load(const std::string& path) { return Bitmap(load_bitmap(path.c_str(), nullptr), destroy_bitmap); }
Datafile loadData(const char* path) { return Datafile(load_datafile(path), unload_datafile); }
FONT* fontAt(const Datafile& data, int i) { return static_cast<FONT*>(data.get()[i].dat); }

int magenta() { return makecol(255, 0, 255); }

using Colour = std::array<float, 3>;

Colour rgb(int c) { return {float(getr(c)), float(getg(c)), float(getb(c))}; }
float luma(const Colour& c) { return (0.3f * c[0] + 0.59f * c[1] + 0.11f * c[2]) / 255.0f; }
float distance(const Colour& a, const Colour& b) {
    return std::fabs(a[0] - b[0]) + std::fabs(a[1] - b[1]) + std::fabs(a[2] - b[2]);
}

// Mean red, green and blue of a rectangle (the whole picture by default), skipping magenta.
Colour meanColour(BITMAP* b, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    double r = 0, g = 0, bl = 0;
    int n = 0;
    for (int y = y0; y < (y1 < 0 ? b->h : y1); ++y)
        for (int x = x0; x < (x1 < 0 ? b->w : x1); ++x) {
            const int c = getpixel(b, x, y);
            if (c == magenta()) continue;
            r += getr(c), g += getg(c), bl += getb(c), ++n;
        }
    n = std::max(n, 1);
    return {float(r / n), float(g / n), float(bl / n)};
}

float meanLuma(BITMAP* b, int x0, int y0, int x1, int y1) { return luma(meanColour(b, x0, y0, x1, y1)); }

// Pixels of a rectangle (the whole picture by default) whose colour, at x and y, passes the test.
template <class Test>
int countWhere(BITMAP* b, Test test, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    int n = 0;
    for (int y = y0; y < (y1 < 0 ? b->h : y1); ++y)
        for (int x = x0; x < (x1 < 0 ? b->w : x1); ++x) n += test(getpixel(b, x, y), x, y);
    return n;
}

int countMagenta(BITMAP* b, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    return countWhere(b, [](int c, int, int) { return c == magenta(); }, x0, y0, x1, y1);
}

// Mean colour difference between columns a and b of a texture, or rows a and b.
float lineDifference(BITMAP* t, int a, int b, bool rows) {
    const int n = rows ? t->w : t->h;
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += rows ? distance(rgb(getpixel(t, i, a)), rgb(getpixel(t, i, b)))
                    : distance(rgb(getpixel(t, a, i)), rgb(getpixel(t, b, i)));
    return static_cast<float>(sum / n);
}

}  // namespace

TEST(Assets, DataFileHoldsThreeFontsOfTheLayoutHeightsWithEveryPrintableGlyph) {
    Datafile data = loadData("data/data.dat");
    ASSERT_NE(data, nullptr);
    const int heights[3][2] = {{28, 32}, {14, 16}, {18, 22}};  // menu, text, warning
    Bitmap canvas(create_bitmap(64, 64), destroy_bitmap);
    const int white = makecol(255, 255, 255);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(data.get()[i].type, DAT_FONT) << "object " << i;
        FONT* f = fontAt(data, i);
        EXPECT_TRUE(text_height(f) >= heights[i][0] && text_height(f) <= heights[i][1])
            << "font " << i << " is " << text_height(f) << " pixels tall";
        for (int ch = 32; ch <= 126; ++ch) {
            char s[2] = {static_cast<char>(ch), 0};
            EXPECT_GT(text_length(f, s), 0) << "font " << i << " char " << ch;
            clear_to_color(canvas.get(), 0);
            textout_ex(canvas.get(), f, s, 0, 0, white, -1);
            const int ink = countWhere(canvas.get(), [white](int c, int, int) { return c == white; });
            EXPECT_EQ(ink > 0, ch != ' ') << "font " << i << " char '" << s << "'";
        }
    }
}

TEST(Assets, IntroDataFileHasBackgroundLogoSoundAndEmblemInOrder) {
    Datafile intro = loadData("data/intro.dat");
    ASSERT_NE(intro, nullptr);
    const DATAFILE* d = intro.get();
    const int types[] = {DAT_BITMAP, DAT_BITMAP, DAT_SAMPLE, DAT_BITMAP, DAT_END};
    for (int i = 0; i < 5; ++i) ASSERT_EQ(d[i].type, types[i]) << "object " << i;

    BITMAP* bg = static_cast<BITMAP*>(d[0].dat);
    EXPECT_TRUE(bg->w == 800 && bg->h == 600) << bg->w << "x" << bg->h;
    // White credit and web address sit around y = 430..500; black version lines bottom right.
    EXPECT_LT(meanLuma(bg, 200, 420, 600, 500), 0.35f);
    EXPECT_GT(meanLuma(bg, 560, 560, 800, 600), 0.6f);

    BITMAP* logo = static_cast<BITMAP*>(d[1].dat);
    EXPECT_TRUE(logo->w <= 800 && logo->h <= 600);
    EXPECT_GT(countMagenta(logo), 0) << "the logo is drawn masked";
    EXPECT_LT(countMagenta(logo), logo->w * logo->h) << "the logo is not empty";

    SAMPLE* step = static_cast<SAMPLE*>(d[2].dat);
    const float seconds = static_cast<float>(step->len) / step->freq;
    EXPECT_GT(seconds, 0.05f);
    EXPECT_LT(seconds, 0.6f) << "four steps play a half second apart";

    BITMAP* emblem = static_cast<BITMAP*>(d[3].dat);
    EXPECT_LE(std::max(emblem->w, emblem->h), 128);
    EXPECT_GT(emblem->w, 16);
    EXPECT_EQ(countMagenta(emblem), 0) << "the emblem is copied, not masked";
}

TEST(Assets, MainMenuBackgroundIsScreenSizedAndCarriesTheTextDrawnOnIt) {
    Bitmap bg = load("gfx/mainmenu.tga");
    ASSERT_NE(bg, nullptr);
    EXPECT_TRUE(bg->w == 800 && bg->h == 600) << bg->w << "x" << bg->h;
    // Two white text lines are stamped into the bottom-right corner at start-up.
    EXPECT_LT(meanLuma(bg.get(), 560, 556, 800, 600), 0.25f);
    // The options and key screens print black and white rows and grey values straight onto the
    // background: one ground must be light enough for black and dark enough for white, and even,
    // so that no spot swallows part of a letter. The areas are where those rows are drawn.
    const struct {
        const char* name;
        int x0, y0, x1, y1;
    } areas[] = {{"options rows", 120, 140, 680, 460}, {"key rows", 150, 76, 650, 530}};
    for (const auto& a : areas) {
        const float mean = meanLuma(bg.get(), a.x0, a.y0, a.x1, a.y1);
        EXPECT_GT(mean, 0.55f) << a.name << ": black text needs a lighter ground";
        EXPECT_LT(mean, 0.72f) << a.name << ": white text needs a darker ground";
        float lo = 1, hi = 0;
        for (int y = a.y0; y < a.y1; ++y)
            for (int x = a.x0; x < a.x1; ++x) {
                const float l = luma(rgb(getpixel(bg.get(), x, y)));
                lo = std::min(lo, l);
                hi = std::max(hi, l);
            }
        EXPECT_GT(lo, 0.4f) << a.name << ": a dark spot hides black letters";
        EXPECT_LT(hi, 0.8f) << a.name << ": a bright spot hides white letters";
    }
}

TEST(Assets, CrosshairAndButtonsFitTheirPlacesAndLabels) {
    Bitmap c = load("gfx/crosshair.tga");
    ASSERT_NE(c, nullptr);
    EXPECT_LE(std::max(c->w, c->h), 32);
    EXPECT_GT(countMagenta(c.get()), c->w * c->h / 2) << "mostly see-through";
    EXPECT_NE(getpixel(c.get(), c->w / 2, c->h / 2), magenta()) << "the centre is marked";
    // Odd sides put the marked centre pixel exactly on the screen's centre column.
    EXPECT_TRUE(c->w % 2 == 1 && c->h % 2 == 1) << c->w << "x" << c->h;

    Datafile data = loadData("data/data.dat");
    ASSERT_NE(data, nullptr);
    // Main menu: four entries in slots of 125, black label on the selected one, grey 153 and
    // white on the others; the longest label fits. In game: slots of 25, white label on the
    // selected one, grey 170 on the others.
    const struct {
        const char *selected, *other;
        int minH, maxH, labelFont;
        const char* label;
        float selectedMin, selectedMax;
    } buttons[] = {{"gfx/button.tga", "gfx/buttonpressed.tga", 40, 125, 0, "New Game", 0.5f, 1.0f},
                   {"gfx/ingamebutton.tga", "gfx/ingamebuttonpressed.tga", 1, 25, 1, nullptr, 0.0f, 0.45f}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.selected);
        Bitmap sel = load(b.selected), other = load(b.other);
        ASSERT_TRUE(sel && other);
        EXPECT_TRUE(sel->w == other->w && sel->h == other->h) << "the two pictures swap in place";
        EXPECT_TRUE(sel->h >= b.minH && sel->h <= b.maxH && sel->w <= 800) << sel->w << "x" << sel->h;
        const int x0 = sel->w / 4, x1 = sel->w * 3 / 4, y0 = sel->h / 3, y1 = sel->h * 2 / 3;
        const float selLuma = meanLuma(sel.get(), x0, y0, x1, y1);
        EXPECT_GT(selLuma, b.selectedMin);
        EXPECT_LT(selLuma, b.selectedMax);
        EXPECT_LT(meanLuma(other.get(), x0, y0, x1, y1), 0.3f);
        FONT* f = fontAt(data, b.labelFont);
        EXPECT_LE(text_height(f), sel->h);
        if (b.label) {
            EXPECT_LT(text_length(f, b.label), sel->w - 40);
        }
    }
}

TEST(Assets, TexturesArePowerOfTwoOpaqueTilingAndDistinct) {
    const char* textures[] = {
        "gfx/walls/stone.bmp",      "gfx/walls/brick.bmp",    "gfx/walls/redbrick.bmp",  "gfx/walls/mossy.bmp",
        "gfx/walls/metal.bmp",      "gfx/walls/tech.bmp",     "gfx/walls/wood.bmp",      "gfx/walls/crate.bmp",
        "gfx/walls/door.bmp",       "gfx/walls/panel.bmp",    "gfx/walls/marble.bmp",    "gfx/walls/window.bmp",
        "gfx/floors/tiles.bmp",     "gfx/floors/grass.bmp",   "gfx/floors/planks.bmp",   "gfx/floors/dirt.bmp",
        "gfx/floors/flagstone.bmp", "gfx/ceilings/beams.bmp", "gfx/ceilings/plaster.bmp", "gfx/ceilings/metalgrid.bmp"};
    std::vector<Colour> means;
    for (const char* path : textures) {
        SCOPED_TRACE(path);
        Bitmap t = load(path);
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(t->w > 0 && (t->w & (t->w - 1)) == 0) << "width is a power of two";
        EXPECT_TRUE(t->h > 0 && (t->h & (t->h - 1)) == 0) << "height is a power of two";
        EXPECT_EQ(countMagenta(t.get()), 0) << "walls and floors are never masked";
        // A seam is a jump across the wrap larger than any jump between neighbouring columns or
        // rows inside the picture (joints between blocks make such jumps legitimately).
        for (bool rows : {false, true}) {
            const int size = rows ? t->h : t->w;
            float widest = 0;
            for (int i = 0; i + 1 < size; ++i) widest = std::fmax(widest, lineDifference(t.get(), i, i + 1, rows));
            EXPECT_LE(lineDifference(t.get(), size - 1, 0, rows), widest * 1.1f + 5) << (rows ? "wraps in y" : "wraps in x");
        }
        means.push_back(meanColour(t.get()));
    }
    for (size_t i = 0; i < means.size(); ++i)
        for (size_t j = i + 1; j < means.size(); ++j)
            EXPECT_GT(distance(means[i], means[j]), 3.0f) << textures[i] << " and " << textures[j] << " look alike";
}

TEST(Assets, SpritesAreMaskedSquaresStandingWhereTheyBelongAndMonstersDiffer) {
    std::vector<Colour> hue;
    for (const std::string name : {"monster0", "monster1", "monster2", "lamp", "barrel", "pillar", "plant"}) {
        const std::string path = "gfx/sprites/" + name + ".bmp";
        SCOPED_TRACE(path);
        Bitmap s = load(path);
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(s->w == 64 && s->h == 64) << s->w << "x" << s->h;
        const int clear = countMagenta(s.get());
        EXPECT_GT(clear, 0);
        EXPECT_GT(64 * 64 - clear, 64 * 64 / 10) << "big enough to read from afar";
        const int solidTop = 64 - countMagenta(s.get(), 0, 0, 64, 1);
        const int solidBottom = 64 * 2 - countMagenta(s.get(), 0, 62, 64, 64);
        if (name == "lamp") {
            EXPECT_GT(solidTop, 0) << "the lamp hangs from the ceiling";
            EXPECT_EQ(solidBottom, 0);
        } else {
            EXPECT_GT(solidBottom, 0) << "stands on the floor";
        }
        if (name.rfind("monster", 0) == 0) {
            Colour c = meanColour(s.get());
            const float sum = c[0] + c[1] + c[2];
            for (float& v : c) v /= sum;
            hue.push_back(c);
        }
    }
    for (size_t i = 0; i < hue.size(); ++i)
        for (size_t j = i + 1; j < hue.size(); ++j)
            EXPECT_GT(distance(hue[i], hue[j]), 0.15f) << "monster" << i << " and monster" << j << " share a colour scheme";
}

TEST(Assets, WeaponFramesAreMaskedSquaresStandingOnTheBottomCentre) {
    auto glowing = [](const Bitmap& b) {
        return countWhere(b.get(), [](int c, int, int) {
            return getr(c) > 230 && getg(c) > 120 && getb(c) < 200 && c != magenta();
        });
    };
    for (const std::string weapon : {"Hunter", "Impactcannon", "Buzzsaw"}) {
        std::vector<Bitmap> frames;
        for (int i = 1; i <= 6; ++i) {
            const std::string path = "gfx/" + weapon + std::to_string(i) + ".bmp";
            SCOPED_TRACE(path);
            Bitmap f = load(path);
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->w, f->h) << "stretched to a square in the game";
            EXPECT_GT(countMagenta(f.get()), f->w * f->h / 3);
            // Solid pixels on the bottom row, centred.
            long sumX = 0;
            int n = 0;
            for (int x = 0; x < f->w; ++x)
                if (getpixel(f.get(), x, f->h - 1) != magenta()) sumX += x, ++n;
            ASSERT_GT(n, 0) << "stands on the bottom edge";
            EXPECT_NEAR(static_cast<float>(sumX) / n, f->w / 2.0f, f->w * 0.08f);
            frames.push_back(std::move(f));
        }
        // Frame 4 is on screen when the shot fires: it carries the flash or the sparks.
        EXPECT_GT(glowing(frames[3]), glowing(frames[0]) + 100) << weapon << "4 shows the shot";
        // Every frame has the size of the first, and each step of the fire cycle shows a change.
        for (int i = 0; i < 6; ++i) {
            BITMAP* a = frames[i].get();
            BITMAP* b = frames[(i + 1) % 6].get();
            ASSERT_EQ(a->w, frames[0]->w) << weapon << i + 1;
            ASSERT_EQ(a->h, frames[0]->h) << weapon << i + 1;
            const int changed = countWhere(a, [b](int c, int x, int y) { return c != getpixel(b, x, y); });
            EXPECT_GT(changed, 100) << weapon << " frames " << i + 1 << " and " << (i + 1) % 6 + 1;
        }
    }
}

TEST(Assets, ShotSoundsLoadAreShortLoudAndDistinct) {
    float seconds[3], crossingsPerSecond[3];
    for (int i = 0; i < 3; ++i) {
        const std::string path = "sfx/shoot" + std::to_string(i + 1) + ".wav";
        SCOPED_TRACE(path);
        SAMPLE* s = load_sample(path.c_str());
        ASSERT_NE(s, nullptr);
        ASSERT_TRUE(s->bits == 16 && !s->stereo) << "the generator writes 16-bit mono";
        const auto* data = static_cast<const unsigned short*>(s->data);
        const unsigned long attack = static_cast<unsigned long>(s->freq * 0.05f);
        float peak = 0, attackPeak = 0;
        long crossings = 0;
        for (unsigned long k = 0; k < s->len; ++k) {
            const float v = (data[k] - 32768) / 32768.0f;
            peak = std::fmax(peak, std::fabs(v));
            if (k < attack) attackPeak = std::fmax(attackPeak, std::fabs(v));
            if (k > 0 && (data[k] >= 32768) != (data[k - 1] >= 32768)) ++crossings;
        }
        seconds[i] = static_cast<float>(s->len) / s->freq;
        crossingsPerSecond[i] = crossings / seconds[i];
        destroy_sample(s);
        EXPECT_GT(seconds[i], 0.1f);
        EXPECT_LT(seconds[i], 1.5f);
        EXPECT_GT(peak, 0.5f) << "loud enough";
        EXPECT_GT(attackPeak, 0.5f) << "hits at once, with the flash frame";
    }
    // The cannon booms low; the Hunter cracks and the Buzzsaw whirrs much higher.
    EXPECT_LT(crossingsPerSecond[1] * 2, crossingsPerSecond[0]);
    EXPECT_LT(crossingsPerSecond[1] * 2, crossingsPerSecond[2]);
    // The Buzzsaw fires every 5 ticks while held: its sound is the shortest of the three.
    EXPECT_LT(seconds[2], seconds[0]);
    EXPECT_LT(seconds[2], seconds[1]);
}
