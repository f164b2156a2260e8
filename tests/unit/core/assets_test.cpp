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
int count(BITMAP* b, int colour = makecol(255, 0, 255)) {  // magenta: see-through when drawn masked
    int n = 0;
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) n += getpixel(b, x, y) == colour;
    return n;
}
}  // namespace

TEST(Assets, FontsOfTheLayoutHeightsWithEveryPrintableGlyphAndTheIntroInOrder) {
    Datafile data(load_datafile("data/data.dat"), unload_datafile), intro(load_datafile("data/intro.dat"), unload_datafile);
    ASSERT_TRUE(data && intro);
    const int heights[3][2] = {{28, 32}, {14, 16}, {18, 22}};  // menu, text, warning
    Bitmap canvas(create_bitmap(64, 64), destroy_bitmap);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(data.get()[i].type, DAT_FONT) << i;
        FONT* f = static_cast<FONT*>(data.get()[i].dat);
        EXPECT_TRUE(text_height(f) >= heights[i][0] && text_height(f) <= heights[i][1]) << "font " << i;
        for (char s[2] = {' ', 0}; s[0] <= '~'; ++s[0]) {
            clear_to_color(canvas.get(), 0);
            textout_ex(canvas.get(), f, s, 0, 0, makecol(255, 255, 255), -1);
            EXPECT_TRUE(text_length(f, s) > 0 && (count(canvas.get(), makecol(255, 255, 255)) > 0) == (s[0] != ' '))
                << "font " << i << " char '" << s << "'";
        }
    }
    const int types[] = {DAT_BITMAP, DAT_BITMAP, DAT_SAMPLE, DAT_BITMAP, DAT_END};  // background, logo, step, emblem
    for (int i = 0; i < 5; ++i) ASSERT_EQ(intro.get()[i].type, types[i]) << "object " << i;
    EXPECT_GT(count(static_cast<BITMAP*>(intro.get()[1].dat)), 0) << "the logo is drawn masked";
    const SAMPLE* step = static_cast<SAMPLE*>(intro.get()[2].dat);
    EXPECT_LT(step->len, step->freq * 0.6) << "four steps play a half second apart";
}

TEST(Assets, TexturesHaveSidesOfPowersOfTwoAndOnlySpritesAreMasked) {
    // The renderer masks texture coordinates; walls are never drawn masked.
    for (const std::string dir : {"gfx/walls", "gfx/floors", "gfx/ceilings", "gfx/sprites"})
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            Bitmap t = load(entry.path().string());
            ASSERT_NE(t, nullptr) << entry.path();
            EXPECT_TRUE((t->w & (t->w - 1)) == 0 && (t->h & (t->h - 1)) == 0 && (count(t.get()) > 0) == (dir == "gfx/sprites"))
                << entry.path() << " is " << t->w << "x" << t->h;
        }
}
