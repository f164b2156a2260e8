// The shipped fonts have the heights the layout counts on and draw every printable character.
#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

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
