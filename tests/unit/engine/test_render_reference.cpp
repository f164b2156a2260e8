// The renderer against the plain step-by-step algorithm: every pixel, the depth buffer, the sprite
// order, the seen flags and the crosshair must agree, over random and chosen levels and poses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <tuple>

#include "engine/engine_fixtures.h"
#include "reference_render.h"

namespace {
struct Pose { float x, y, dirX, dirY, planeX, planeY; };

void place(Kelda_engine& e, const Pose& p) {
    std::tie(e.posX, e.posY, e.dirX, e.dirY, e.planeX, e.planeY) = std::tie(p.x, p.y, p.dirX, p.dirY, p.planeX, p.planeY);
}

void expectSameFrame(Kelda_engine& e, int w, int h, const std::string& label) {
    SCOPED_TRACE(label + " size " + std::to_string(w) + "x" + std::to_string(h));
    ViewBuffers mine(w, h), ref(w, h);
    const int n = e.spriteCount;
    std::vector<unsigned char> refVisible(e.visible, e.visible + n);
    std::vector<int> order(n);
    std::vector<float> distance(n);
    e.setBuffers(mine.columns.data(), mine.depth.data(), w, h);
    ReferenceOutput out{ref.columns.data(), ref.depth.data(), refVisible.data(), order.data(), distance.data(), -1};
    referenceRender(e, out);
    e.render();
    for (int x = 0; x < w; ++x) {
        ASSERT_EQ(std::memcmp(&mine.depth[x], &ref.depth[x], sizeof(float)), 0) << "depth at column " << x;
        for (int y = 0; y < h; ++y) ASSERT_EQ(mine.columns[x][y], ref.columns[x][y]) << "pixel (" << x << ", " << y << ")";
    }
    EXPECT_EQ(e.crosshairSprite, out.crosshair);
    EXPECT_EQ(std::vector<unsigned char>(e.visible, e.visible + n), refVisible) << "seen flags";
    EXPECT_EQ(std::vector<int>(e.spriteOrder, e.spriteOrder + n), order);
    EXPECT_TRUE(n == 0 || std::memcmp(e.spriteDistance, distance.data(), n * sizeof(float)) == 0) << "sprite distances";
}

// A random closed level of every kind of cell, with sprites; every third has textures of one size,
// as the game's art has: floors take another path then.
levelfile::Level randomLevel(const std::string& dir, std::mt19937& rng, int serial) {
    std::uniform_int_distribution<int> side(3, 14), pct(0, 99);
    const int w = side(rng), h = side(rng), uniform[] = {64, 32, 1, 128};
    std::vector<std::string> rows(h, std::string(w, '#'));
    for (int j = 1; j < h - 1; ++j)
        for (int i = 1; i < w - 1; ++i) rows[j][i] = "#B.,*.,*.,"[pct(rng) % 10];
    rows[1][1] = '.';
    levelfile::Level level = makeLevel(dir, rows, 1.5f, 1.5f, serial % 3 == 0 ? uniform[serial / 3 % 4] : 0);
    std::uniform_real_distribution<float> ux(0.0f, w), uy(0.0f, h);
    for (int s = pct(rng) % 13; s > 0; --s) level.sprites.push_back({ux(rng), uy(rng), 1, static_cast<unsigned short>(s % 2)});
    return level;
}

// In a free cell, often on a cell boundary or the cell's middle, sometimes along an axis or with
// an odd field of view.
Pose randomPose(const Kelda_engine& e, std::mt19937& rng) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f), angle(-3.2f, 3.2f);
    std::uniform_int_distribution<int> cell(0, e.mapWidth * e.mapHeight - 1), pick(0, 9);
    int c = cell(rng);
    while (e.walls[c] != 0xFFFF) c = cell(rng);
    const int kind = pick(rng);
    const float x = c % e.mapWidth + (kind == 0 ? 0.0f : kind == 1 ? 0.5f : unit(rng));
    const float y = c / e.mapWidth + (kind == 2 ? 0.0f : kind == 3 ? 0.5f : unit(rng));
    const float a = pick(rng) < 3 ? static_cast<float>(pick(rng) % 4) * 1.5707964f : angle(rng);
    const float plane = pick(rng) == 0 ? 0.3f + unit(rng) : 0.66f, cs = std::cos(a), sn = std::sin(a);
    return {x, y, -cs, -sn, -plane * sn, plane * cs};
}
}  // namespace

TEST(RenderReference, RandomLevelsAndPoses) {
    const int runs[][3] = {{32, 60, 12}, {16, 40, 10}, {15, 12, 6}, {24, 12, 6}};  // depth, levels, poses each
    const int sizes[][2] = {{64, 48}, {63, 47}, {81, 60}, {7, 5}, {2, 3}, {1, 1}};
    TempDir dir;
    for (const auto& run : runs) {
        set_color_depth(run[0]);
        std::mt19937 rng(1234 + run[0]);
        for (int l = 0; l < run[1] && !HasFatalFailure(); ++l) {
            Kelda_engine e;
            ASSERT_EQ(loadBytes(e, levelfile::write(randomLevel(dir.path(), rng, l))), "");
            for (int p = 0; p < run[2] && !HasFatalFailure(); ++p) {
                place(e, randomPose(e, rng));
                e.floorShade = e.ceilingShade = (p % 5 == 4) ? 1 : 0;
                expectSameFrame(e, sizes[(l + p) % 6][0], sizes[(l + p) % 6][1],
                                std::to_string(run[0]) + "-bit level " + std::to_string(l) + " pose " + std::to_string(p));
            }
        }
    }
    set_color_depth(32);
}

TEST(RenderReference, ChosenPoses) {
    const Pose poses[] = {
        {1.5f, 1.5f, -1, 0, 0, 0.66f}, {2.5f, 1.5f, -1, 0, 0, 0.66f},  // wall half a unit, one unit ahead
        {1.5f, 2.5f, 1, 0, 0, -0.66f}, {4.5f, 2.0f, 0, 1, 0.66f, 0},   // along +x; on a cell boundary along +y
        {4.0f, 2.0f, 0, -1, -0.66f, 0}, {1.0f, 2.5f, -1, 0, 0, 0.66f},  // on a cell corner; against a wall face
        {1.0f, 1.0f, -0.7071068f, -0.7071068f, 0.4666905f, -0.4666905f}, {8.999999f, 3.999999f, 1, 0, 0, -0.66f},
        {9.5f, 2.5f, -1, 0, 0, 0.66f}, {10.0f, 2.5f, -1, 0, 0, 0.66f},  // inside the border; on the map's edge
        {-3.0f, 2.5f, 1, 0, 0, -0.66f}, {NAN, 2.5f, 1, 0, 0, -0.66f},   // outside the map
        {3.5f, 2.5f, 0, 0, 0, 0}, {3.5f, 2.5f, 1, 0, 0.66f, 0},         // no direction; plane along it
        {3.5f, 2.5f, 1e-30f, 1, 0.66f, -1e-30f}, {6.5f, 1.5f, -1, 0, 0, 0.66f},  // a sprite at the camera
        {3.5f, 3.5f, 0, -1, -0.66f, 0}, {8.5f, 3.5f, -1, 0.001f, 0.00066f, 0.66f},
        {5.0f, 3.0f, -1, 0, 0, 0.66f}, {3.5f, 2.5f, 3e38f, 1, 3e38f, -3e38f},  // a block's corner; rays past float
        {3.5f, 2.5f, INFINITY, NAN, 0, 0.66f},
    };
    for (int variant = 0; variant < 4; ++variant) {
        const std::string name = "variant " + std::to_string(variant);
        set_color_depth(variant % 2 ? 16 : 32);
        TempDir dir;
        levelfile::Level level = makeLevel(dir.path(), {"##########", "#........#", "#.,,.**..#", "#....B...#", "##########"},
                                           1.5f, 1.5f, variant < 2 ? 0 : 64);
        level.sprites = {{3.5f, 1.5f, 1, 0}, {6.5f, 1.5f, 1, 1}, {5.5f, 3.5f, 1, 0},
                         {0.0f, 0.0f, 1, 0}, {1.5f, 1.5f, 1, 0}, {8.2f, 2.7f, 1, 1}};
        Kelda_engine e;
        ASSERT_EQ(loadBytes(e, levelfile::write(level)), "");
        for (size_t i = 0; i < sizeof poses / sizeof poses[0]; ++i) {
            place(e, poses[i]);
            for (int size : {64, 63, 200}) expectSameFrame(e, size, size * 3 / 4, name + " pose " + std::to_string(i));
        }
        // A sky colour that does not fit the pixel size, and shading: the slower ways must agree too.
        place(e, poses[2]), e.skyColor = 0x1ABCD;
        expectSameFrame(e, 64, 48, "odd sky, " + name);
        e.floorShade = 1, e.ceilingShade = 2;
        expectSameFrame(e, 64, 48, "shaded, " + name);
    }
    set_color_depth(32);
}

TEST(RenderReference, FarWallsNearSpritesAndForeignSpriteBitmaps) {
    TempDir dir;
    levelfile::Level level = makeLevel(dir.path(), {std::string(1000, '#'), "#" + std::string(998, '.') + "#",
                                                    std::string(1000, '#')}, 998.5f, 1.5f, 64);
    level.sprites = {{998.0f, 1.5f, 1, 0}, {998.4999f, 1.5f, 1, 1}, {997.5f, 1.49f, 1, 0}};
    Kelda_engine e;
    ViewBuffers b(8, 6);
    e.render(), e.setBuffers(b.columns.data(), b.depth.data(), 8, 6), e.render();  // no buffers, then no level
    EXPECT_TRUE(b.pixels == std::vector<int>(48, 0x12345678) && e.getSpriteInCrosshair() == -1);
    ASSERT_EQ(loadBytes(e, levelfile::write(level)), "");
    place(e, {998.5f, 1.5f, -1, 0, 0, 0.66f});  // a thousand cells on, the far wall's stripe has no height
    expectSameFrame(e, 64, 48, "long corridor");
    expectSameFrame(e, 64, 1, "one row");
    BITMAP* odd = create_bitmap_ex(32, 48, 20);  // bitmaps the game may point sprites at: any size and depth
    BITMAP* deep = create_bitmap_ex(24, 16, 16);
    clear_to_color(odd, makecol(1, 2, 3)), clear_to_color(deep, makecol24(9, 8, 7));
    e.sprites[0].bitmap = odd, e.sprites[2].bitmap = deep, e.sprites[1].bitmap = nullptr;
    expectSameFrame(e, 64, 48, "foreign bitmaps");
    destroy_bitmap(odd), destroy_bitmap(deep);
}
