// Checks the shipped pictures, fonts and sounds the way the game uses them: they must load with
// the library, have the sizes the screens lay out, keep magenta where things are see-through,
// and keep the contrast that the text drawn over them relies on.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct BitmapDeleter {
    void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapDeleter>;

struct DatafileDeleter {
    void operator()(DATAFILE* d) const { unload_datafile(d); }
};
using Datafile = std::unique_ptr<DATAFILE, DatafileDeleter>;

Bitmap load(const std::string& path) { return Bitmap(load_bitmap(path.c_str(), nullptr)); }

int magenta() { return makecol(255, 0, 255); }

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

float luma(int c) { return (0.3f * getr(c) + 0.59f * getg(c) + 0.11f * getb(c)) / 255.0f; }

// Mean brightness of a rectangle, skipping magenta.
float meanLuma(BITMAP* b, int x0, int y0, int x1, int y1) {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int c = getpixel(b, x, y);
            if (c == magenta()) continue;
            sum += luma(c);
            ++n;
        }
    return n ? static_cast<float>(sum / n) : 0.0f;
}

int countColour(BITMAP* b, int colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += getpixel(b, x, y) == colour;
    return n;
}

int countMagenta(BITMAP* b) { return countColour(b, magenta(), 0, 0, b->w, b->h); }

// Mean colour difference between two columns of a texture.
float columnDifference(BITMAP* b, int xa, int xb) {
    double sum = 0;
    for (int y = 0; y < b->h; ++y) {
        int p = getpixel(b, xa, y), q = getpixel(b, xb, y);
        sum += std::abs(getr(p) - getr(q)) + std::abs(getg(p) - getg(q)) + std::abs(getb(p) - getb(q));
    }
    return static_cast<float>(sum / b->h);
}

float rowDifference(BITMAP* b, int ya, int yb) {
    double sum = 0;
    for (int x = 0; x < b->w; ++x) {
        int p = getpixel(b, x, ya), q = getpixel(b, x, yb);
        sum += std::abs(getr(p) - getr(q)) + std::abs(getg(p) - getg(q)) + std::abs(getb(p) - getb(q));
    }
    return static_cast<float>(sum / b->w);
}

const std::vector<std::string> kTextures = {
    "gfx/walls/stone.bmp",     "gfx/walls/brick.bmp",     "gfx/walls/redbrick.bmp",  "gfx/walls/mossy.bmp",
    "gfx/walls/metal.bmp",     "gfx/walls/tech.bmp",      "gfx/walls/wood.bmp",      "gfx/walls/crate.bmp",
    "gfx/walls/door.bmp",      "gfx/walls/panel.bmp",     "gfx/walls/marble.bmp",    "gfx/walls/window.bmp",
    "gfx/floors/tiles.bmp",    "gfx/floors/grass.bmp",    "gfx/floors/planks.bmp",   "gfx/floors/dirt.bmp",
    "gfx/floors/flagstone.bmp", "gfx/ceilings/beams.bmp", "gfx/ceilings/plaster.bmp", "gfx/ceilings/metalgrid.bmp"};

const std::vector<std::string> kSprites = {"monster0", "monster1", "monster2", "lamp", "barrel", "pillar", "plant"};

}  // namespace

TEST(Assets, DataFileHoldsThreeFontsOfTheLayoutHeights) {
    Datafile data(load_datafile("data/data.dat"));
    ASSERT_NE(data, nullptr);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(data.get()[i].type, DAT_FONT) << "object " << i;
    FONT* menuFont = static_cast<FONT*>(data.get()[0].dat);
    FONT* textFont = static_cast<FONT*>(data.get()[1].dat);
    FONT* warningFont = static_cast<FONT*>(data.get()[2].dat);
    EXPECT_GE(text_height(menuFont), 28);
    EXPECT_LE(text_height(menuFont), 32);
    EXPECT_GE(text_height(textFont), 14);
    EXPECT_LE(text_height(textFont), 16);
    EXPECT_GE(text_height(warningFont), 18);
    EXPECT_LE(text_height(warningFont), 22);
    // The in-game buttons are 22 pixels tall and carry labels in the text font.
    Bitmap button = load("gfx/ingamebutton.tga");
    ASSERT_NE(button, nullptr);
    EXPECT_LE(text_height(textFont), button->h);
}

TEST(Assets, EveryPrintableCharacterHasAGlyphInEachFont) {
    Datafile data(load_datafile("data/data.dat"));
    ASSERT_NE(data, nullptr);
    Bitmap canvas(create_bitmap(64, 64));
    for (int i = 0; i < 3; ++i) {
        FONT* f = static_cast<FONT*>(data.get()[i].dat);
        for (int ch = 32; ch <= 126; ++ch) {
            char s[2] = {static_cast<char>(ch), 0};
            EXPECT_GT(text_length(f, s), 0) << "font " << i << " char " << ch;
            clear_to_color(canvas.get(), 0);
            textout_ex(canvas.get(), f, s, 0, 0, makecol(255, 255, 255), -1);
            const int ink = countColour(canvas.get(), makecol(255, 255, 255), 0, 0, 64, 64);
            if (ch == ' ')
                EXPECT_EQ(ink, 0) << "font " << i;
            else
                EXPECT_GT(ink, 0) << "font " << i << " char '" << s << "'";
        }
    }
}

TEST(Assets, IntroDataFileHasBackgroundLogoSoundAndEmblemInOrder) {
    Datafile intro(load_datafile("data/intro.dat"));
    ASSERT_NE(intro, nullptr);
    const DATAFILE* d = intro.get();
    ASSERT_EQ(d[0].type, DAT_BITMAP);
    ASSERT_EQ(d[1].type, DAT_BITMAP);
    ASSERT_EQ(d[2].type, DAT_SAMPLE);
    ASSERT_EQ(d[3].type, DAT_BITMAP);
    EXPECT_EQ(d[4].type, DAT_END);

    BITMAP* bg = static_cast<BITMAP*>(d[0].dat);
    EXPECT_EQ(bg->w, 800);
    EXPECT_EQ(bg->h, 600);
    // White credit and web address sit around y = 430..500; black version lines bottom right.
    EXPECT_LT(meanLuma(bg, 200, 420, 600, 500), 0.35f);
    EXPECT_GT(meanLuma(bg, 560, 560, 800, 600), 0.6f);

    BITMAP* logo = static_cast<BITMAP*>(d[1].dat);
    EXPECT_LE(logo->w, 800);
    EXPECT_LE(logo->h, 600);
    const int logoMagenta = countMagenta(logo);
    EXPECT_GT(logoMagenta, 0) << "the logo is drawn masked";
    EXPECT_LT(logoMagenta, logo->w * logo->h) << "the logo is not empty";

    SAMPLE* step = static_cast<SAMPLE*>(d[2].dat);
    const float seconds = static_cast<float>(step->len) / step->freq;
    EXPECT_GT(seconds, 0.05f);
    EXPECT_LT(seconds, 0.6f) << "four steps play a half second apart";

    BITMAP* emblem = static_cast<BITMAP*>(d[3].dat);
    EXPECT_LE(emblem->w, 128);
    EXPECT_LE(emblem->h, 128);
    EXPECT_GT(emblem->w, 16);
    EXPECT_EQ(countMagenta(emblem), 0) << "the emblem is copied, not masked";
}

TEST(Assets, MainMenuBackgroundIsScreenSizedAndDarkUnderTheStampedLines) {
    Bitmap bg = load("gfx/mainmenu.tga");
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->w, 800);
    EXPECT_EQ(bg->h, 600);
    // Two white text lines are stamped into the bottom-right corner at start-up.
    EXPECT_LT(meanLuma(bg.get(), 560, 556, 800, 600), 0.25f);
}

TEST(Assets, MainMenuBackgroundIsMidToneWhereTheOptionsAndKeyRowsGo) {
    Bitmap bg = load("gfx/mainmenu.tga");
    ASSERT_NE(bg, nullptr);
    // The options and key screens print black and white rows and grey values straight onto the
    // background: one ground must be light enough for black and dark enough for white, and even,
    // so that no spot swallows part of a letter. The areas are where those rows are drawn.
    struct Area {
        const char* name;
        int x0, y0, x1, y1;
    };
    const Area areas[] = {{"options rows", 120, 140, 680, 460}, {"key rows", 150, 76, 650, 530}};
    for (const Area& a : areas) {
        const float mean = meanLuma(bg.get(), a.x0, a.y0, a.x1, a.y1);
        EXPECT_GT(mean, 0.55f) << a.name << ": black text needs a lighter ground";
        EXPECT_LT(mean, 0.72f) << a.name << ": white text needs a darker ground";
        float lo = 1, hi = 0;
        for (int y = a.y0; y < a.y1; ++y)
            for (int x = a.x0; x < a.x1; ++x) {
                const float l = luma(getpixel(bg.get(), x, y));
                lo = std::min(lo, l);
                hi = std::max(hi, l);
            }
        EXPECT_GT(lo, 0.4f) << a.name << ": a dark spot hides black letters";
        EXPECT_LT(hi, 0.8f) << a.name << ": a bright spot hides white letters";
    }
}

TEST(Assets, CrosshairIsSmallCentredAndMasked) {
    Bitmap c = load("gfx/crosshair.tga");
    ASSERT_NE(c, nullptr);
    EXPECT_LE(c->w, 32);
    EXPECT_LE(c->h, 32);
    EXPECT_GT(countMagenta(c.get()), c->w * c->h / 2) << "mostly see-through";
    EXPECT_NE(getpixel(c.get(), c->w / 2, c->h / 2), magenta()) << "the centre is marked";
    // Odd sides put the marked centre pixel exactly on the screen's centre column.
    EXPECT_EQ(c->w % 2, 1);
    EXPECT_EQ(c->h % 2, 1);
}

TEST(Assets, MenuButtonsMatchAndContrastWithTheirLabelColours) {
    Bitmap sel = load("gfx/button.tga"), other = load("gfx/buttonpressed.tga");
    ASSERT_NE(sel, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(sel->w, other->w);
    EXPECT_EQ(sel->h, other->h);
    // Four entries share 500 pixels in slots of 125; the buttons fit their slots.
    EXPECT_LE(sel->h, 125);
    EXPECT_GE(sel->h, 40);
    EXPECT_LE(sel->w, 800);
    const int x0 = sel->w / 4, x1 = sel->w * 3 / 4, y0 = sel->h / 3, y1 = sel->h * 2 / 3;
    EXPECT_GT(meanLuma(sel.get(), x0, y0, x1, y1), 0.5f) << "black label on the selected entry";
    EXPECT_LT(meanLuma(other.get(), x0, y0, x1, y1), 0.3f) << "grey 153 and white labels on the others";
    // The longest label in the menu font fits on the button.
    Datafile data(load_datafile("data/data.dat"));
    ASSERT_NE(data, nullptr);
    FONT* menuFont = static_cast<FONT*>(data.get()[0].dat);
    EXPECT_LT(text_height(menuFont), sel->h);
    EXPECT_LT(text_length(menuFont, "New Game"), sel->w - 40);
}

TEST(Assets, InGameButtonsMatchAndContrastWithTheirLabelColours) {
    Bitmap sel = load("gfx/ingamebutton.tga"), other = load("gfx/ingamebuttonpressed.tga");
    ASSERT_NE(sel, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(sel->w, other->w);
    EXPECT_EQ(sel->h, other->h);
    EXPECT_LE(sel->h, 25) << "slots of 25 pixels";
    const int x0 = sel->w / 4, x1 = sel->w * 3 / 4, y0 = sel->h / 3, y1 = sel->h * 2 / 3;
    EXPECT_LT(meanLuma(sel.get(), x0, y0, x1, y1), 0.45f) << "white label on the selected entry";
    EXPECT_LT(meanLuma(other.get(), x0, y0, x1, y1), 0.3f) << "grey 170 labels on the others";
}

TEST(Assets, TexturesArePowerOfTwoOpaqueAndTile) {
    for (const std::string& path : kTextures) {
        Bitmap t = load(path);
        ASSERT_NE(t, nullptr) << path;
        EXPECT_TRUE(isPowerOfTwo(t->w)) << path;
        EXPECT_TRUE(isPowerOfTwo(t->h)) << path;
        EXPECT_EQ(countMagenta(t.get()), 0) << path << ": walls and floors are never masked";
        // A seam is a jump across the wrap larger than any jump between neighbouring columns or
        // rows inside the picture (joints between blocks make such jumps legitimately).
        float widestColumnJump = 0, widestRowJump = 0;
        for (int x = 0; x + 1 < t->w; ++x) widestColumnJump = std::fmax(widestColumnJump, columnDifference(t.get(), x, x + 1));
        for (int y = 0; y + 1 < t->h; ++y) widestRowJump = std::fmax(widestRowJump, rowDifference(t.get(), y, y + 1));
        EXPECT_LE(columnDifference(t.get(), t->w - 1, 0), widestColumnJump * 1.1f + 5) << path << " wraps in x";
        EXPECT_LE(rowDifference(t.get(), t->h - 1, 0), widestRowJump * 1.1f + 5) << path << " wraps in y";
    }
}

TEST(Assets, TexturesDifferFromEachOther) {
    std::vector<float> means;
    for (const std::string& path : kTextures) {
        Bitmap t = load(path);
        ASSERT_NE(t, nullptr) << path;
        float r = 0, g = 0, b = 0;
        for (int y = 0; y < t->h; ++y)
            for (int x = 0; x < t->w; ++x) {
                int c = getpixel(t.get(), x, y);
                r += getr(c), g += getg(c), b += getb(c);
            }
        const float n = static_cast<float>(t->w * t->h);
        means.push_back(r / n), means.push_back(g / n), means.push_back(b / n);
    }
    for (size_t i = 0; i < kTextures.size(); ++i)
        for (size_t j = i + 1; j < kTextures.size(); ++j) {
            float d = std::fabs(means[3 * i] - means[3 * j]) + std::fabs(means[3 * i + 1] - means[3 * j + 1]) +
                      std::fabs(means[3 * i + 2] - means[3 * j + 2]);
            EXPECT_GT(d, 3.0f) << kTextures[i] << " and " << kTextures[j] << " look alike";
        }
}

TEST(Assets, SpritesAreMaskedSquaresStandingWhereTheyBelong) {
    for (const std::string& name : kSprites) {
        const std::string path = "gfx/sprites/" + name + ".bmp";
        Bitmap s = load(path);
        ASSERT_NE(s, nullptr) << path;
        EXPECT_EQ(s->w, 64) << path;
        EXPECT_EQ(s->h, 64) << path;
        const int clear = countMagenta(s.get());
        EXPECT_GT(clear, 0) << path;
        EXPECT_GT(64 * 64 - clear, 64 * 64 / 10) << path << " is big enough to read from afar";
        const int solidTop = 64 - countColour(s.get(), magenta(), 0, 0, 64, 1);
        const int solidBottom = 64 * 2 - countColour(s.get(), magenta(), 0, 62, 64, 64);
        if (name == "lamp") {
            EXPECT_GT(solidTop, 0) << "the lamp hangs from the ceiling";
            EXPECT_EQ(solidBottom, 0);
        } else {
            EXPECT_GT(solidBottom, 0) << path << " stands on the floor";
        }
    }
}

TEST(Assets, MonstersLookDifferentFromEachOther) {
    std::vector<float> hue;
    for (int i = 0; i < 3; ++i) {
        Bitmap s = load("gfx/sprites/monster" + std::to_string(i) + ".bmp");
        ASSERT_NE(s, nullptr);
        float r = 0, g = 0, b = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                int c = getpixel(s.get(), x, y);
                if (c == magenta()) continue;
                r += getr(c), g += getg(c), b += getb(c);
            }
        float sum = r + g + b;
        hue.push_back(r / sum), hue.push_back(g / sum), hue.push_back(b / sum);
    }
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            float d = std::fabs(hue[3 * i] - hue[3 * j]) + std::fabs(hue[3 * i + 1] - hue[3 * j + 1]) +
                      std::fabs(hue[3 * i + 2] - hue[3 * j + 2]);
            EXPECT_GT(d, 0.15f) << "monster" << i << " and monster" << j << " share a colour scheme";
        }
}

TEST(Assets, WeaponFramesAreMaskedSquaresStandingOnTheBottomCentre) {
    for (const std::string weapon : {"Hunter", "Impactcannon", "Buzzsaw"}) {
        std::vector<Bitmap> frames;
        for (int i = 1; i <= 6; ++i) {
            const std::string path = "gfx/" + weapon + std::to_string(i) + ".bmp";
            Bitmap f = load(path);
            ASSERT_NE(f, nullptr) << path;
            EXPECT_EQ(f->w, f->h) << path << " is stretched to a square in the game";
            EXPECT_GT(countMagenta(f.get()), f->w * f->h / 3) << path;
            // Solid pixels on the bottom row, centred.
            long sumX = 0;
            int n = 0;
            for (int x = 0; x < f->w; ++x)
                if (getpixel(f.get(), x, f->h - 1) != magenta()) sumX += x, ++n;
            ASSERT_GT(n, 0) << path << " stands on the bottom edge";
            EXPECT_NEAR(static_cast<float>(sumX) / n, f->w / 2.0f, f->w * 0.08f) << path;
            frames.push_back(std::move(f));
        }
        for (const Bitmap& f : frames) {
            EXPECT_EQ(f->w, frames[0]->w) << weapon;
            EXPECT_EQ(f->h, frames[0]->h) << weapon;
        }
        // Frame 4 is on screen when the shot fires: it carries the flash or the sparks.
        auto glowing = [](BITMAP* b) {
            int n = 0;
            for (int y = 0; y < b->h; ++y)
                for (int x = 0; x < b->w; ++x) {
                    int c = getpixel(b, x, y);
                    n += getr(c) > 230 && getg(c) > 120 && getb(c) < 200 && c != magenta();
                }
            return n;
        };
        EXPECT_GT(glowing(frames[3].get()), glowing(frames[0].get()) + 100) << weapon << "4 shows the shot";
        // Each step of the fire cycle shows a change.
        for (int i = 0; i < 6; ++i) {
            BITMAP* a = frames[i].get();
            BITMAP* b = frames[(i + 1) % 6].get();
            ASSERT_EQ(a->w, b->w);
            int changed = 0;
            for (int y = 0; y < a->h; ++y)
                for (int x = 0; x < a->w; ++x) changed += getpixel(a, x, y) != getpixel(b, x, y);
            EXPECT_GT(changed, 100) << weapon << " frames " << i + 1 << " and " << (i + 1) % 6 + 1;
        }
    }
}

namespace {

struct SoundStats {
    float seconds, peak, crossingsPerSecond, attackPeak;
};

SoundStats analyse(SAMPLE* s) {
    const int channels = s->stereo ? 2 : 1;
    const long count = static_cast<long>(s->len) * channels;
    std::vector<float> v(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i) {
        if (s->bits == 16)
            v[i] = (static_cast<unsigned short*>(s->data)[i] - 32768) / 32768.0f;
        else
            v[i] = (static_cast<unsigned char*>(s->data)[i] - 128) / 128.0f;
    }
    float peak = 0, attackPeak = 0;
    long crossings = 0;
    const long attack = static_cast<long>(s->freq * 0.05f) * channels;
    for (long i = 0; i < count; ++i) {
        peak = std::fmax(peak, std::fabs(v[i]));
        if (i < attack) attackPeak = std::fmax(attackPeak, std::fabs(v[i]));
        if (i >= channels && (v[i] >= 0) != (v[i - channels] >= 0)) ++crossings;
    }
    const float seconds = static_cast<float>(s->len) / s->freq;
    return {seconds, peak, crossings / channels / seconds, attackPeak};
}

}  // namespace

TEST(Assets, ShotSoundsLoadAreShortLoudAndDistinct) {
    std::vector<SoundStats> stats;
    for (int i = 1; i <= 3; ++i) {
        const std::string path = "sfx/shoot" + std::to_string(i) + ".wav";
        SAMPLE* s = load_sample(path.c_str());
        ASSERT_NE(s, nullptr) << path;
        stats.push_back(analyse(s));
        destroy_sample(s);
        EXPECT_GT(stats.back().seconds, 0.1f) << path;
        EXPECT_LT(stats.back().seconds, 1.5f) << path;
        EXPECT_GT(stats.back().peak, 0.5f) << path << " is loud enough";
        EXPECT_GT(stats.back().attackPeak, 0.5f) << path << " hits at once, with the flash frame";
    }
    // The cannon booms low; the Hunter cracks and the Buzzsaw whirrs much higher.
    EXPECT_LT(stats[1].crossingsPerSecond * 2, stats[0].crossingsPerSecond);
    EXPECT_LT(stats[1].crossingsPerSecond * 2, stats[2].crossingsPerSecond);
    // The Buzzsaw fires every 5 ticks while held: its sound is the shortest of the three.
    EXPECT_LT(stats[2].seconds, stats[0].seconds);
    EXPECT_LT(stats[2].seconds, stats[1].seconds);
}
