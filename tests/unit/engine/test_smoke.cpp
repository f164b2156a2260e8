#include <gtest/gtest.h>

#include "engine/engine_fixtures.h"

TEST(EngineSmoke, LoadsAndRenders) {
    TempDir dir;
    levelfile::Level level = makeLevel(dir.path(), {"#####", "#..,#", "#.*.#", "#####"}, 2.5f, 1.5f);
    level.sprites.push_back({1.5f, 2.5f, 3, 0});
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, levelfile::write(level)), "");
    ViewBuffers b(80, 60);
    e.setBuffers(b.columns.data(), b.depth.data(), b.w, b.h);
    e.inRange();
    e.render();
    for (int p : b.pixels) EXPECT_NE(p, 0x12345678);
}
