// What the picture shows in the cases a player would notice: stripe heights, texture rows, sky,
// the crosshair and the seen flags.
#include <gtest/gtest.h>

#include "engine/engine_fixtures.h"

namespace {

struct View {
    TempDir dir;
    Kelda_engine e;
    ViewBuffers b{64, 48};
    View(const std::vector<std::string>& rows, float x, float y, const std::vector<levelfile::Sprite>& sprites = {}) {
        levelfile::Level level = makeLevel(dir.path(), rows, x, y);
        level.sprites = sprites;
        EXPECT_EQ(loadBytes(e, levelfile::write(level)), "");
        e.setBuffers(b.columns.data(), b.depth.data(), 64, 48);
    }
    int pixel(int x, int y) { return b.columns[x][y]; }
};

const std::vector<std::string> ROOM = {"#######", "#,,,,,#", "#,,,,,#", "#,,,,,#", "#######"};  // open sky

}  // namespace

TEST(RenderBehaviour, WallStripesShowTheirTextureRowsUnderOpenSky) {
    View v(ROOM, 1.5f, 2.5f);
    v.e.render();
    EXPECT_FLOAT_EQ(v.b.depth[32], 0.5f);  // the centre ray hits the face x = 1 half a unit ahead
    EXPECT_EQ(v.pixel(32, 24), getpixel(v.e.textures[1], 32, 32));
    // One unit away, every texture row in turn; row 0 belongs to the ceiling, row H - 1 to the floor.
    v.e.posX = 2.0f;
    v.e.render();
    EXPECT_FLOAT_EQ(v.b.depth[32], 1.0f);
    for (int y = 1; y < 47; ++y) EXPECT_EQ(v.pixel(32, y), getpixel(v.e.textures[1], 32, y * 64 / 48)) << "row " << y;
    for (int x = 0; x < 64; x += 7) EXPECT_EQ(v.pixel(x, 0), makecol(10, 20, 30)) << "flat sky colour at " << x;
}

TEST(RenderBehaviour, CrosshairPicksTheNearestSpriteInFrontOfTheWall) {
    View v(ROOM, 5.5f, 2.5f, {{2.5f, 2.5f, 1, 0}, {3.5f, 2.5f, 1, 0}, {4.5f, 2.0f, 1, 0}});
    v.e.render();
    EXPECT_EQ(v.e.getSpriteInCrosshair(), 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(v.e.getVisibleList()[i], 1) << i;  // 0 through sprite 1's holes
    // Turned round, nothing is in view, but what was seen stays seen.
    v.e.dirX = 1.0f;
    v.e.planeY = -0.66f;
    v.e.render();
    EXPECT_EQ(v.e.getSpriteInCrosshair(), -1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(v.e.getVisibleList()[i], 1) << i;
}

TEST(RenderBehaviour, SpritesBehindWallsOrTheCameraOrRemovedNeverShow) {
    View v({"#######", "#.....#", "#.#...#", "#.....#", "#######"}, 4.5f, 2.5f,
           {{1.5f, 2.5f, 1, 0}, {5.5f, 2.5f, 1, 0}, {0.0f, 0.0f, 1, 0}, {4.5f, 2.5f, 1, 0}});
    v.e.render();
    EXPECT_EQ(v.e.getSpriteInCrosshair(), -1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(v.e.getVisibleList()[i], 0) << i;
}

TEST(RenderBehaviour, TransparentTexelsLeaveTheBackgroundAndDoNotCountAsSeen) {
    View v(ROOM, 5.5f, 2.5f, {{3.5f, 2.5f, 1, 0}});
    Kelda_sprite& s = v.e.getSpriteList()[0];
    s.x = s.y = 0.0f;
    v.e.render();
    std::vector<int> background = v.b.pixels;
    BITMAP* clear = create_bitmap(64, 64);
    clear_to_color(clear, makecol(255, 0, 255));
    s.x = 3.5f;
    s.y = 2.5f;
    s.bitmap = clear;
    v.e.render();
    EXPECT_EQ(v.b.pixels, background);
    EXPECT_EQ(v.e.getVisibleList()[0], 0);
    EXPECT_EQ(v.e.getSpriteInCrosshair(), 0);  // aiming works on the sprite's square, holes included
    s.bitmap = v.e.textures[0];
    v.e.render();
    EXPECT_NE(v.b.pixels, background);
    EXPECT_EQ(v.e.getVisibleList()[0], 1);
    destroy_bitmap(clear);
}

TEST(RenderBehaviour, NothingIsDrawnWithoutBuffersOrLevel) {
    Kelda_engine e;
    e.render();
    EXPECT_EQ(e.getSpriteInCrosshair(), -1);
    ViewBuffers b(8, 6);
    e.setBuffers(b.columns.data(), b.depth.data(), 8, 6);
    e.render();
    for (int p : b.pixels) EXPECT_EQ(p, 0x12345678);
}
