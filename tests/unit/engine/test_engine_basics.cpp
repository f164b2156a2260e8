// The bounds, the sort and the colour correction.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>

#include "engine/engine_fixtures.h"

TEST(EngineObject, PowersOfTwo) {
    const int powers[][2] = {{1, 0}, {2, 1}, {256, 8}, {1 << 30, 30}, {0, -1}, {-4, -1}, {12, -1}, {48, -1},
                             {INT_MIN, 31}, {INT_MAX, -1}};
    for (const auto& p : powers) EXPECT_EQ(isPowerOfTwo(p[0]), p[1]) << p[0];
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
                              {4.0f, 10.5f, 4.0f, 9.0f}, {20.0f, 10.0f, 20.0f, 10.0f}, {-1e30f, 1e30f, 1.0f, 9.0f}};
    for (const auto& c : cases) {
        float x = c[0], y = c[1];
        e.inRange(x, y);
        EXPECT_EQ(x, c[2]) << c[0];
        EXPECT_EQ(y, c[3]) << c[1];
    }
    float x = NAN, y = 2.0f;
    e.inRange(x, y);
    EXPECT_TRUE(std::isnan(x));
    // The camera moves without any wall test; inRange brings it and the sprites back.
    e.setCamera(-2.0f, 12.5f);
    e.inRange();
    EXPECT_EQ(std::make_pair(e.getCameraX(), e.getCameraY()), std::make_pair(1.0f, 9.0f));
    EXPECT_EQ(std::make_pair(e.getSpriteList()[0].x, e.getSpriteList()[0].y), std::make_pair(1.0f, 1.0f))
        << "a removed sprite comes back at (1, 1)";
    EXPECT_EQ(e.getSpriteList()[1].x, 19.5f);
}

TEST(Sprites, BubbleSortIsStableAndDescending) {
    int order[] = {0, 1, 2, 3};
    float keys[] = {1.0f, 3.0f, 2.0f, 3.0f};
    bubbleSort(order, keys, 4);
    EXPECT_EQ(std::vector<int>(order, order + 4), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(std::vector<float>(keys, keys + 4), (std::vector<float>{3.0f, 3.0f, 2.0f, 1.0f}));
    bubbleSort(order, keys, 0);
    bubbleSort(order, keys, -3);
}

TEST(Colours, CorrectionTintsTexturesAndSkyButKeepsTransparency) {
    TempDir dir;
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, levelfile::write(makeLevel(dir.path(), {"###", "#.#", "###"}, 1.5f, 1.5f))), "");
    BITMAP* sprite = e.textures[0];
    const int before = getpixel(sprite, 1, 1);
    ASSERT_EQ(getpixel(sprite, 0, 0), makecol(255, 0, 255));
    e.applyColorCorrection(1.0f, 1.0f, 1.0f);
    EXPECT_EQ(getpixel(sprite, 1, 1), before);
    EXPECT_EQ(e.skyColor, makecol(10, 20, 30));
    e.applyColorCorrection(2.0f, 1.0f, 0.5f);
    EXPECT_EQ(getpixel(sprite, 0, 0), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(sprite, 1, 1), makecol(getr(before) / 2, getg(before), std::min(255, getb(before) * 2)));
    EXPECT_EQ(e.skyColor, makecol(5, 20, 60));
    int c = makecol(200, 100, 40);
    darkenColor(c, 0.5f, 0.0f, NAN);  // brightening stops at 255; a factor of 0 or NaN changes nothing
    EXPECT_EQ(c, makecol(255, 100, 40));
    darkenColor(c, 1);  // the floor and ceiling shade
    EXPECT_EQ(c, makecol(127, 50, 20));
    darkenColor(c, INFINITY, 1.0f, 1.0f);  // trunc(r / inf) is 0
    EXPECT_EQ(c, makecol(0, 50, 20));
}
