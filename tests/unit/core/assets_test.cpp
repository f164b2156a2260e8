// The shipped fonts, pictures and sounds have the shapes the code that draws and plays them counts on.
#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {
using Bitmap = std::unique_ptr<BITMAP, void (*)(BITMAP*)>;
using Datafile = std::unique_ptr<DATAFILE, void (*)(DATAFILE*)>;

Bitmap load(const std::string& path) { return Bitmap(load_bitmap(path.c_str(), nullptr), destroy_bitmap); }
bool powerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }
int countColour(BITMAP* b, int colour) {
    int n = 0;
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) n += getpixel(b, x, y) == colour;
    return n;
}
int countMagenta(BITMAP* b) { return countColour(b, makecol(255, 0, 255)); }
}  // namespace

TEST(Assets, DataFileHoldsThreeFontsOfTheLayoutHeightsWithEveryPrintableGlyph) {
    Datafile data(load_datafile("data/data.dat"), unload_datafile);
    ASSERT_NE(data, nullptr);
    const int heights[3][2] = {{28, 32}, {14, 16}, {18, 22}};  // menu, text, warning
    Bitmap canvas(create_bitmap(64, 64), destroy_bitmap);
    const int white = makecol(255, 255, 255);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(data.get()[i].type, DAT_FONT) << "object " << i;
        FONT* f = static_cast<FONT*>(data.get()[i].dat);
        EXPECT_TRUE(text_height(f) >= heights[i][0] && text_height(f) <= heights[i][1]) << "font " << i;
        for (int ch = 32; ch <= 126; ++ch) {
            const char s[2] = {static_cast<char>(ch), 0};
            clear_to_color(canvas.get(), 0);
            textout_ex(canvas.get(), f, s, 0, 0, white, -1);
            EXPECT_GT(text_length(f, s), 0) << "font " << i << " char " << ch;
            EXPECT_EQ(countColour(canvas.get(), white) > 0, ch != ' ') << "font " << i << " char '" << s << "'";
        }
    }
}

TEST(Assets, IntroDataFileHasBackgroundLogoSoundAndEmblemInOrder) {
    Datafile intro(load_datafile("data/intro.dat"), unload_datafile);
    ASSERT_NE(intro, nullptr);
    const DATAFILE* d = intro.get();
    const int types[] = {DAT_BITMAP, DAT_BITMAP, DAT_SAMPLE, DAT_BITMAP, DAT_END};
    for (int i = 0; i < 5; ++i) ASSERT_EQ(d[i].type, types[i]) << "object " << i;
    const BITMAP* bg = static_cast<BITMAP*>(d[0].dat);
    EXPECT_TRUE(bg->w == 800 && bg->h == 600) << bg->w << "x" << bg->h;
    EXPECT_GT(countMagenta(static_cast<BITMAP*>(d[1].dat)), 0) << "the logo is drawn masked";
    const SAMPLE* step = static_cast<SAMPLE*>(d[2].dat);
    EXPECT_LT(static_cast<float>(step->len) / step->freq, 0.6f) << "four steps play a half second apart";
}

TEST(Assets, PicturesHaveTheShapesTheirDrawingCodeCountsOn) {
    Bitmap menu = load("gfx/mainmenu.tga"), cross = load("gfx/crosshair.tga");
    ASSERT_TRUE(menu && cross);
    EXPECT_TRUE(menu->w == 800 && menu->h == 600);
    // Odd sides put the marked centre pixel exactly on the screen's centre column.
    EXPECT_TRUE(cross->w % 2 == 1 && cross->h % 2 == 1) << cross->w << "x" << cross->h;
    EXPECT_NE(getpixel(cross.get(), cross->w / 2, cross->h / 2), makecol(255, 0, 255));
    for (const char* base : {"gfx/button", "gfx/ingamebutton"}) {
        Bitmap sel = load(std::string(base) + ".tga"), other = load(std::string(base) + "pressed.tga");
        ASSERT_TRUE(sel && other) << base;
        EXPECT_TRUE(sel->w == other->w && sel->h == other->h) << base << ": the two pictures swap in place";
    }
    // The renderer masks texture coordinates, so sides must be powers of two; walls are never masked.
    for (const char* dir : {"gfx/walls", "gfx/floors", "gfx/ceilings", "gfx/sprites"}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string path = entry.path().string();
            Bitmap t = load(path);
            ASSERT_NE(t, nullptr) << path;
            EXPECT_TRUE(powerOfTwo(t->w) && powerOfTwo(t->h)) << path << " is " << t->w << "x" << t->h;
            EXPECT_EQ(countMagenta(t.get()) > 0, std::string(dir) == "gfx/sprites") << path;
        }
    }
    // Weapon frames are stretched to a square of any size but always drawn masked.
    for (const std::string weapon : {"Hunter", "Impactcannon", "Buzzsaw"})
        for (int i = 1; i <= 6; ++i) {
            Bitmap f = load("gfx/" + weapon + std::to_string(i) + ".bmp");
            ASSERT_NE(f, nullptr) << weapon << i;
            EXPECT_GT(countMagenta(f.get()), 0) << weapon << i;
        }
}
