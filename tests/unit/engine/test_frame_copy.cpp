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
            // A roomy bitmap, the same clipped, and one smaller than the view (cut at its edge).
            for (int target = 0; target < 3; ++target) {
                SCOPED_TRACE("depth " + std::to_string(depth) + " size " + std::to_string(w) + "x" +
                             std::to_string(h) + " target " + std::to_string(target));
                BITMAP* fast = target == 2 ? create_bitmap_ex(depth, 3, 2) : create_bitmap_ex(depth, w + 3, h + 2);
                BITMAP* slow = create_bitmap_ex(depth, fast->w, fast->h);
                clear_to_color(fast, 5);
                clear_to_color(slow, 5);
                if (target == 1) {
                    set_clip_rect(fast, 2, 1, w - 3, h - 2);
                    set_clip_rect(slow, 2, 1, w - 3, h - 2);
                }
                copyColumnsToBitmap(b.columns.data(), w, h, fast);
                for (int x = 0; x < w; ++x)
                    for (int y = 0; y < h; ++y) putpixel(slow, x, y, b.columns[x][y]);
                set_clip_rect(fast, 0, 0, fast->w - 1, fast->h - 1);
                for (int i = 0; i < fast->w * fast->h; ++i) {
                    const int x = i % fast->w, y = i / fast->w;
                    if (getpixel(fast, x, y) != getpixel(slow, x, y)) {
                        ADD_FAILURE() << "first difference at " << x << "," << y;
                        break;
                    }
                }
                destroy_bitmap(fast);
                destroy_bitmap(slow);
            }
        }
    }
}
