// Aiming and the seen flags as a player meets them; the pixels themselves are checked against the
// reference renderer.
#include <gtest/gtest.h>

#include "engine/engine_fixtures.h"

namespace {
struct View {
    TempDir dir;
    Kelda_engine e;
    ViewBuffers b{64, 48};
    explicit View(const std::vector<levelfile::Sprite>& sprites) {
        levelfile::Level level = makeLevel(dir.path(), {"#######", "#,,,,,#", "#,,,,,#", "#,,,,,#", "#######"}, 5.5f, 2.5f);
        level.sprites = sprites;
        EXPECT_EQ(loadBytes(e, levelfile::write(level)), "");
        e.setBuffers(b.columns.data(), b.depth.data(), 64, 48);
    }
};
}  // namespace

TEST(RenderBehaviour, CrosshairPicksTheNearestSpriteAndWhatWasSeenStaysSeen) {
    View v({{2.5f, 2.5f, 1, 0}, {3.5f, 2.5f, 1, 0}, {4.5f, 2.0f, 1, 0}});
    v.e.render();
    EXPECT_EQ(v.e.getSpriteInCrosshair(), 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(v.e.getVisibleList()[i], 1) << i;  // 0 through sprite 1's holes
    v.e.dirX = 1.0f;  // turned round: nothing in view
    v.e.planeY = -0.66f;
    v.e.render();
    EXPECT_EQ(v.e.getSpriteInCrosshair(), -1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(v.e.getVisibleList()[i], 1) << i;
}

TEST(RenderBehaviour, TransparentSpriteIsAimedAtButNeitherDrawnNorSeen) {
    View v({{0.0f, 0.0f, 1, 0}});
    v.e.render();
    const std::vector<int> background = v.b.pixels;
    BITMAP* clear = create_bitmap(64, 64);
    clear_to_color(clear, makecol(255, 0, 255));
    Kelda_sprite& s = v.e.getSpriteList()[0];
    s.x = 3.5f, s.y = 2.5f, s.bitmap = clear;
    v.e.render();
    EXPECT_EQ(v.b.pixels, background);
    EXPECT_EQ(v.e.getVisibleList()[0], 0);
    EXPECT_EQ(v.e.getSpriteInCrosshair(), 0);  // aiming works on the sprite's square, holes included
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
