// The bounds, the sort, the colour correction and the fast frame copy.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <utility>

#include "engine/engine_fixtures.h"

TEST(EngineObject, PowersOfTwoAndTheStableDescendingSort) {
    const int powers[][2] = {{1, 0}, {2, 1}, {256, 8}, {1 << 30, 30}, {0, -1}, {-4, -1}, {12, -1}, {48, -1},
                             {INT_MIN, 31}, {INT_MAX, -1}};
    for (const auto& p : powers) EXPECT_EQ(isPowerOfTwo(p[0]), p[1]) << p[0];
    int order[] = {0, 1, 2, 3};
    float keys[] = {1.0f, 3.0f, 2.0f, 3.0f};
    bubbleSort(order, keys, 4);
    EXPECT_EQ(std::vector<int>(order, order + 4), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(std::vector<float>(keys, keys + 4), (std::vector<float>{3.0f, 3.0f, 2.0f, 1.0f}));
    bubbleSort(order, keys, -3);
}

TEST(Sprites, InRangeLimitsPointsToTheMap) {
    TempDir dir;
    std::vector<std::string> rows(10, "#" + std::string(18, '.') + "#");
    rows.front() = rows.back() = std::string(20, '#');
    levelfile::Level level = makeLevel(dir.path(), rows, 1.5f, 3.0f);
    level.sprites = {{0.0f, 0.0f, 1, 0}, {19.5f, 3.0f, 1, 0}};
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, levelfile::write(level)), "");
    const float cases[][4] = {{0.5f, 3.0f, 1.0f, 3.0f}, {25.0f, 3.0f, 19.0f, 3.0f}, {19.5f, 3.0f, 19.5f, 3.0f},
                              {4.0f, 10.5f, 4.0f, 9.0f}, {20.0f, 10.0f, 20.0f, 10.0f}, {-1e30f, 1e30f, 1.0f, 9.0f},
                              {NAN, 2.0f, NAN, 2.0f}};
    for (const auto& c : cases) {
        float x = c[0], y = c[1];
        e.inRange(x, y);
        EXPECT_TRUE((x == c[2] || (std::isnan(x) && std::isnan(c[2]))) && y == c[3]) << c[0] << "," << c[1];
    }
    e.setCamera(-2.0f, 12.5f);  // no wall test here: inRange brings the camera and the sprites back
    e.inRange();
    const Kelda_sprite* s = e.getSpriteList();
    EXPECT_EQ(std::vector<float>({e.getCameraX(), e.getCameraY(), s[0].x, s[0].y, s[1].x}), std::vector<float>({1, 9, 1, 1, 19.5f}))
        << "a removed sprite comes back at (1, 1)";
}

TEST(Colours, CorrectionTintsTexturesAndSkyButKeepsTransparency) {
    TempDir dir;
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, levelfile::write(makeLevel(dir.path(), {"###", "#.#", "###"}, 1.5f, 1.5f))), "");
    BITMAP* sprite = e.textures[0];
    const int before = getpixel(sprite, 1, 1);
    e.applyColorCorrection(2.0f, 1.0f, 0.5f);
    EXPECT_EQ(getpixel(sprite, 0, 0), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(sprite, 1, 1), makecol(getr(before) / 2, getg(before), std::min(255, getb(before) * 2)));
    EXPECT_EQ(e.skyColor, makecol(5, 20, 60));
    auto darkened = [](int c, float r, float g, float b) { return darkenColor(c, r, g, b), c; };
    EXPECT_EQ(darkened(makecol(200, 100, 40), 0.5f, 0.0f, NAN), makecol(255, 100, 40));  // stops at 255; 0 or NaN: no change
    EXPECT_EQ(darkened(makecol(9, 254, 20), INFINITY, 1.0f, 1.0f), makecol(0, 254, 20));  // trunc(9 / inf) is 0
    int c = makecol(255, 100, 40);
    darkenColor(c, 1);  // the floor and ceiling shade
    EXPECT_EQ(c, makecol(127, 50, 20));
    EXPECT_EQ(mergeColor(makecol(200, 101, 7), makecol(100, 51, 255)), makecol(150, 75, 130));
    EXPECT_EQ(negateColor(makecol(0, 100, 255)), makecol(255, 155, 0));
}

// Against one putpixel per pixel, in every depth the game runs in: into a roomy bitmap, the same
// clipped, and one smaller than the view.
TEST(FrameCopy, SameBitmapAsPutpixel) {
    std::mt19937 rng(7);
    for (int depth : {15, 16, 24, 32})
        for (const auto& size : {std::pair<int, int>{74, 23}, {1, 1}, {64, 17}})
            for (int target = 0; target < 3; ++target) {
                const int w = size.first, h = size.second;
                ViewBuffers b(w, h);
                for (int& p : b.pixels) p = static_cast<int>(rng());  // high bits too: both must drop them alike
                BITMAP* fast = target == 2 ? create_bitmap_ex(depth, 3, 2) : create_bitmap_ex(depth, w + 3, h + 2);
                BITMAP* slow = create_bitmap_ex(depth, fast->w, fast->h);
                for (BITMAP* bmp : {fast, slow}) {
                    clear_to_color(bmp, 5);
                    if (target == 1) set_clip_rect(bmp, 2, 1, w - 3, h - 2);
                }
                copyColumnsToBitmap(b.columns.data(), w, h, fast);
                for (int x = 0; x < w; ++x)
                    for (int y = 0; y < h; ++y) putpixel(slow, x, y, b.columns[x][y]);
                int i = 0;
                while (i < fast->w * fast->h && getpixel(fast, i % fast->w, i / fast->w) == getpixel(slow, i % fast->w, i / fast->w)) ++i;
                EXPECT_EQ(i, fast->w * fast->h) << "first difference; " << depth << " bits " << w << "x" << h << " target " << target;
                destroy_bitmap(fast), destroy_bitmap(slow);
            }
}
