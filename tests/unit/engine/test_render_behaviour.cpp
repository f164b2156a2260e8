// What the picture shows in the cases a player would notice: stripe heights, texture rows, sky,
// the crosshair and the seen flags.
#include <gtest/gtest.h>

#include "engine/engine_fixtures.h"

namespace {

struct View {
    TempDir dir;
    Kelda_engine e;
    ViewBuffers b;
    View(const std::vector<std::string>& rows, float x, float y, const std::vector<levelfile::Sprite>& sprites = {},
         int w = 64, int h = 48)
        : b(w, h) {
        levelfile::Level level = makeLevel(dir.path(), rows, x, y);
        level.sprites = sprites;
        EXPECT_EQ(loadBytes(e, levelfile::write(level)), "");
        e.setBuffers(b.columns.data(), b.depth.data(), w, h);
    }
    int pixel(int x, int y) { return b.columns[x][y]; }
};

const std::vector<std::string> ROOM = {"#######", "#.....#", "#.....#", "#.....#", "#######"};
const std::vector<std::string> SKY_ROOM = {"#######", "#,,,,,#", "#,,,,,#", "#,,,,,#", "#######"};

}  // namespace

TEST(RenderBehaviour, NearWallFillsTheColumnAndSetsTheDepth) {
    View v(ROOM, 1.5f, 2.5f);
    v.e.render();
    EXPECT_FLOAT_EQ(v.b.depth[32], 0.5f);  // the centre ray hits the face x = 1 half a unit ahead
    const int wallTexel = getpixel(v.e.textures[1], 32, 32);
    EXPECT_EQ(v.pixel(32, 24), wallTexel);
}

TEST(RenderBehaviour, WallOneUnitAwayShowsEveryTextureRowInTurn) {
    View v(ROOM, 2.0f, 2.5f, {}, 64, 48);
    v.e.render();
    EXPECT_FLOAT_EQ(v.b.depth[32], 1.0f);
    BITMAP* wall = v.e.textures[1];
    // Row 0 belongs to the ceiling (written last), row H - 1 to the floor.
    for (int y = 1; y < 47; ++y) EXPECT_EQ(v.pixel(32, y), getpixel(wall, 32, y * 64 / 48)) << "row " << y;
}

TEST(RenderBehaviour, OpenSkyIsTheFlatSkyColour) {
    View v(SKY_ROOM, 3.5f, 2.5f);
    v.e.render();
    EXPECT_EQ(v.e.skyColor, makecol(10, 20, 30));
    for (int x = 0; x < 64; x += 7) EXPECT_EQ(v.pixel(x, 0), v.e.skyColor);
}

TEST(RenderBehaviour, CrosshairPicksTheNearestSpriteInFrontOfTheWall) {
    View v(ROOM, 5.5f, 2.5f, {{2.5f, 2.5f, 1, 0}, {3.5f, 2.5f, 1, 0}, {4.5f, 2.0f, 1, 0}});
    v.e.render();
    EXPECT_EQ(v.e.getSpriteInCrosshair(), 1);
    EXPECT_EQ(v.e.getVisibleList()[0], 1);  // through the transparent texels of sprite 1
    EXPECT_EQ(v.e.getVisibleList()[1], 1);
    EXPECT_EQ(v.e.getVisibleList()[2], 1);
    // Turned round, nothing is in view, but what was seen stays seen.
    v.e.dirX = 1.0f;
    v.e.planeY = -0.66f;
    v.e.render();
    EXPECT_EQ(v.e.getSpriteInCrosshair(), -1);
    EXPECT_EQ(v.e.getVisibleList()[1], 1);
    EXPECT_EQ(v.e.getVisibleList()[2], 1);
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

TEST(RenderBehaviour, LevelWithoutSpritesHasNoCrosshairSprite) {
    View v(ROOM, 3.5f, 2.5f);
    v.e.render();
    EXPECT_EQ(v.e.getSprites(), 0);
    EXPECT_EQ(v.e.getSpriteInCrosshair(), -1);
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
