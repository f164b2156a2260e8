// The fast frame copy against one putpixel per pixel, in every depth the game can run in.
#include <gtest/gtest.h>

#include <random>

#include "engine/engine_fixtures.h"

TEST(FrameCopy, SameBitmapAsPutpixel) {
    std::mt19937 rng(7);
    for (int depth : {15, 16, 24, 32}) {
        for (const auto& size : {std::pair<int, int>{37, 23}, {1, 1}, {64, 17}}) {
            const int w = size.first, h = size.second;
            ViewBuffers b(w, h);
            for (int& p : b.pixels) p = static_cast<int>(rng());  // high bits too: both must drop them alike
            BITMAP* fast = create_bitmap_ex(depth, w + 3, h + 2);
            BITMAP* slow = create_bitmap_ex(depth, w + 3, h + 2);
            for (int clipped = 0; clipped < 2; ++clipped) {
                clear_to_color(fast, 5);
                clear_to_color(slow, 5);
                if (clipped) {
                    set_clip_rect(fast, 2, 1, w - 3, h - 2);
                    set_clip_rect(slow, 2, 1, w - 3, h - 2);
                }
                copyColumnsToBitmap(b.columns.data(), w, h, fast);
                for (int x = 0; x < w; ++x)
                    for (int y = 0; y < h; ++y) putpixel(slow, x, y, b.columns[x][y]);
                set_clip_rect(fast, 0, 0, fast->w - 1, fast->h - 1);
                for (int y = 0; y < fast->h; ++y)
                    for (int x = 0; x < fast->w; ++x)
                        ASSERT_EQ(getpixel(fast, x, y), getpixel(slow, x, y))
                            << "depth " << depth << " clipped " << clipped << " at " << x << "," << y;
            }
            // A view larger than the bitmap is cut at its edge, as putpixel's clipping does.
            BITMAP* small = create_bitmap_ex(depth, 3, 2);
            BITMAP* smallSlow = create_bitmap_ex(depth, 3, 2);
            clear_to_color(small, 5);
            clear_to_color(smallSlow, 5);
            copyColumnsToBitmap(b.columns.data(), w, h, small);
            for (int x = 0; x < w; ++x)
                for (int y = 0; y < h; ++y) putpixel(smallSlow, x, y, b.columns[x][y]);
            for (int y = 0; y < small->h; ++y)
                for (int x = 0; x < small->w; ++x) EXPECT_EQ(getpixel(small, x, y), getpixel(smallSlow, x, y));
            destroy_bitmap(small);
            destroy_bitmap(smallSlow);
            destroy_bitmap(fast);
            destroy_bitmap(slow);
        }
    }
}
