// The engine object, its tables, the bounds, the sort and the colour operations.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "engine/engine_fixtures.h"

TEST(EngineObject, FreshEngine) {
    Kelda_engine e;
    EXPECT_EQ(e.getCameraX(), 0.0f);
    EXPECT_EQ(e.getCameraY(), 0.0f);
    EXPECT_EQ(e.dirX, -1.0f);
    EXPECT_EQ(e.planeY, 0.66f);
    EXPECT_EQ(e.getSpriteInCrosshair(), -1);
    EXPECT_EQ(e.skyColor, makecol(153, 153, 255));
    EXPECT_EQ(e.maskColor, makecol(255, 0, 255));
    EXPECT_EQ(e.keyForward, -1);
    EXPECT_EQ(e.textures, nullptr);
}

TEST(EngineObject, BufferTables) {
    Kelda_engine e;
    ViewBuffers b(640, 480);
    e.setBuffers(b.columns.data(), b.depth.data(), 640, 480);
    EXPECT_EQ(e.cameraColumn[0], -1.0f);
    EXPECT_EQ(e.cameraColumn[320], 0.0f);
    EXPECT_FLOAT_EQ(e.cameraColumn[639], 1.0f - 2.0f / 640.0f);
    EXPECT_EQ(e.rowDistance[480], 1.0f);
    EXPECT_EQ(e.rowDistance[360], 2.0f);
    EXPECT_EQ(e.rowDistance[479], 480.0f / 478.0f);
    EXPECT_TRUE(std::isinf(e.rowDistance[240]));
    e.setBuffers(b.columns.data(), b.depth.data(), 320, 200);  // replaces the tables without leaking
    EXPECT_EQ(e.rowDistance[200], 1.0f);
}

TEST(EngineObject, CameraMovesWithoutMapTests) {
    Kelda_engine e;
    e.setCamera(2.0f, 3.0f);
    e.moveCamera(0.5f, -0.25f);
    EXPECT_EQ(e.getCameraX(), 2.5f);
    EXPECT_EQ(e.getCameraY(), 2.75f);
}

TEST(EngineObject, PowersOfTwo) {
    EXPECT_EQ(isPowerOfTwo(1), 0);
    EXPECT_EQ(isPowerOfTwo(2), 1);
    EXPECT_EQ(isPowerOfTwo(256), 8);
    EXPECT_EQ(isPowerOfTwo(1024), 10);
    EXPECT_EQ(isPowerOfTwo(1 << 30), 30);
    for (int n : {0, -4, 12, 48, INT_MIN, INT_MAX}) EXPECT_EQ(isPowerOfTwo(n), -1) << n;
}

TEST(Sprites, InRangeLimitsPointsToTheMap) {
    TempDir dir;
    std::vector<std::string> rows(10, "#" + std::string(18, '.') + "#");
    rows.front() = rows.back() = std::string(20, '#');
    levelfile::Level level = makeLevel(dir.path(), rows, 0.5f + 1, 3.0f);
    level.sprites = {{0.0f, 0.0f, 1, 0}, {19.5f, 3.0f, 1, 0}};
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, levelfile::write(level)), "");
    const float cases[][4] = {{0.5f, 3.0f, 1.0f, 3.0f}, {25.0f, 3.0f, 19.0f, 3.0f}, {19.5f, 3.0f, 19.5f, 3.0f},
                              {4.0f, 10.5f, 4.0f, 9.0f}, {20.0f, 10.0f, 20.0f, 10.0f}, {-1e30f, 1e30f, 1.0f, 9.0f}};
    for (const auto& c : cases) {
        float x = c[0], y = c[1];
        e.inRange(x, y);
        EXPECT_EQ(x, c[2]);
        EXPECT_EQ(y, c[3]);
    }
    float x = NAN, y = 2.0f;
    e.inRange(x, y);
    EXPECT_TRUE(std::isnan(x));
    e.setCamera(-3.0f, 12.0f);
    e.inRange();
    EXPECT_EQ(e.getCameraX(), 1.0f);
    EXPECT_EQ(e.getCameraY(), 9.0f);
    EXPECT_EQ(e.getSpriteList()[0].x, 1.0f);  // a removed sprite comes back at (1, 1)
    EXPECT_EQ(e.getSpriteList()[0].y, 1.0f);
    EXPECT_EQ(e.getSpriteList()[1].x, 19.5f);
}

TEST(Sprites, BubbleSortIsStableAndDescending) {
    int order[] = {0, 1, 2};
    float keys[] = {1.0f, 3.0f, 2.0f};
    bubbleSort(order, keys, 3);
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(std::vector<float>(keys, keys + 3), (std::vector<float>{3.0f, 2.0f, 1.0f}));
    int same[] = {0, 1};
    float equal[] = {5.0f, 5.0f};
    bubbleSort(same, equal, 2);
    EXPECT_EQ(same[0], 0);
    bubbleSort(same, equal, 0);
    bubbleSort(same, equal, -3);
}

TEST(Colours, Operations) {
    int c = makecol(200, 100, 51);
    darkenColor(c, 1);
    EXPECT_EQ(c, makecol(100, 50, 25));
    darkenColor(c, 0);
    EXPECT_EQ(c, makecol(100, 50, 25));
    c = makecol(255, 255, 255);
    darkenColor(c, 2.0f, 2.0f, 2.0f);
    EXPECT_EQ(c, makecol(127, 127, 127));
    c = makecol(200, 100, 40);
    darkenColor(c, 0.5f, 0.0f, NAN);  // brightening stops at 255; a factor of 0 or NaN changes nothing
    EXPECT_EQ(c, makecol(255, 100, 40));
    EXPECT_EQ(mergeColor(makecol(255, 255, 255), makecol(1, 1, 1)), makecol(127, 127, 127));
    EXPECT_EQ(negateColor(makecol(255, 0, 255)), makecol(0, 255, 0));
    BITMAP* bmp = create_bitmap(4, 3);
    clear_to_color(bmp, makecol(1, 2, 3));
    putpixel(bmp, 2, 1, makecol(9, 9, 9));
    replaceColor(bmp, makecol(1, 2, 3), makecol(4, 5, 6));
    EXPECT_EQ(getpixel(bmp, 0, 0), makecol(4, 5, 6));
    EXPECT_EQ(getpixel(bmp, 2, 1), makecol(9, 9, 9));
    destroy_bitmap(bmp);
}

TEST(Colours, CorrectionTintsTexturesAndSkyButKeepsTransparency) {
    TempDir dir;
    levelfile::Level level = makeLevel(dir.path(), {"###", "#.#", "###"}, 1.5f, 1.5f);
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, levelfile::write(level)), "");
    BITMAP* sprite = e.textures[0];
    const int before = getpixel(sprite, 1, 1);
    ASSERT_EQ(getpixel(sprite, 0, 0), e.maskColor);
    e.applyColorCorrection(1.0f, 1.0f, 1.0f);
    EXPECT_EQ(getpixel(sprite, 1, 1), before);
    EXPECT_EQ(e.skyColor, makecol(10, 20, 30));
    e.applyColorCorrection(2.0f, 1.0f, 0.5f);
    EXPECT_EQ(getpixel(sprite, 0, 0), e.maskColor);
    EXPECT_EQ(getpixel(sprite, 1, 1), makecol(getr(before) / 2, getg(before), std::min(255, getb(before) * 2)));
    EXPECT_EQ(e.skyColor, makecol(5, 20, 60));
}
