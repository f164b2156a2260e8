// The monster pass over a hand-built world.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/monsters.h"

namespace {
const unsigned short EMPTY = 0xFFFF;

// A 8 x 6 grid with a closed border and the player at (1.5, 1.5).
class MonsterPass : public ::testing::Test {
protected:
    void SetUp() override {
        walls.assign(W * H, EMPTY);
        for (int x = 0; x < W; ++x) walls[x] = walls[(H - 1) * W + x] = 0;
        for (int y = 0; y < H; ++y) walls[y * W] = walls[y * W + W - 1] = 0;
        sprites.clear();
        visible.clear();
        s = LevelState();
    }
    void wall(int x, int y) { walls[y * W + x] = 1; }
    void add(float x, float y, int health, bool seen) {
        Kelda_sprite m{};
        m.x = x;
        m.y = y;
        m.health = health;
        sprites.push_back(m);
        visible.push_back(seen ? 1 : 0);
    }
    MonsterWorld world() {
        return {sprites.data(), visible.data(), static_cast<int>(sprites.size()), camX, camY, walls.data(), W, H};
    }
    void pass(float step, bool invulnerable = false) { monsterPass(s, world(), step, invulnerable); }

    static const int W = 8;
    static const int H = 6;
    std::vector<unsigned short> walls;
    std::vector<Kelda_sprite> sprites;
    std::vector<unsigned char> visible;
    float camX = 1.5f;
    float camY = 1.5f;
    LevelState s;
};
}  // namespace

TEST_F(MonsterPass, UnseenMonstersWaitSeenOnesChase) {
    add(5.5f, 1.5f, 1, false);
    add(5.5f, 3.5f, 1, true);
    pass(0.5f);
    EXPECT_EQ(sprites[0].x, 5.5f);
    EXPECT_EQ(sprites[0].y, 1.5f);
    // The seen one moves half a cell straight at the player.
    float dx = 1.5f - 5.5f, dy = 1.5f - 3.5f, d = std::sqrt(dx * dx + dy * dy);
    EXPECT_NEAR(sprites[1].x, 5.5f + 0.5f * dx / d, 1e-5);
    EXPECT_NEAR(sprites[1].y, 3.5f + 0.5f * dy / d, 1e-5);
}

TEST_F(MonsterPass, ContactBelowThreeQuartersButNotAtExactly) {
    add(1.5f + 0.75f, 1.5f, 1, true);
    add(1.5f, 1.5f + 0.74f, 1, false);  // never seen, still touches
    pass(0.1f);
    EXPECT_EQ(sprites[0].health, 1) << "exactly 0.75 does not touch";
    EXPECT_NEAR(sprites[0].x, 2.15f, 1e-5) << "it moves instead";
    EXPECT_EQ(sprites[1].health, 0);
    EXPECT_EQ(sprites[1].x, 0.0f);
    EXPECT_EQ(sprites[1].y, 0.0f);
    EXPECT_EQ(s.health, MAX_HEALTH - 1);
    EXPECT_EQ(s.points, 0) << "contact pays nothing";
}

TEST_F(MonsterPass, SceneryNeitherMovesNorCountsAsAMonsterLeft) {
    add(4.0f, 4.0f, 0, true);
    s.monstersLeft = true;
    pass(0.1f);
    EXPECT_FALSE(s.monstersLeft);
    EXPECT_EQ(sprites[0].x, 4.0f);
    s.monstersLeft = true;
    monsterPass(s, MonsterWorld(), 1.0f, false);
    EXPECT_FALSE(s.monstersLeft) << "a world without sprites";
}

TEST_F(MonsterPass, DiagonalChaseIntoAWallSlidesAlongIt) {
    // From (4.5, 3.5) towards the player the x move goes first, so the y test is made from x = 3.67.
    const struct {
        int wallX, wallY;
        bool xMoves, yMoves;
    } cases[] = {{3, 3, false, true}, {3, 2, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "wall at " << c.wallX << "," << c.wallY);
        SetUp();
        wall(c.wallX, c.wallY);
        add(4.5f, 3.5f, 1, true);
        pass(1.0f);
        EXPECT_EQ(sprites[0].x < 4.5f, c.xMoves);
        EXPECT_EQ(sprites[0].y < 3.5f, c.yMoves);
        EXPECT_GT(sprites[0].y, 2.9f);
    }
}

TEST_F(MonsterPass, LongStepJumpsUpToItsLengthAndCanPassAThinWall) {
    wall(3, 1);
    add(4.5f, 1.5f, 1, true);
    pass(3.4f);
    // Only the destination cell is tested: 4.5 - 3.4 = 1.1 lies in the free cell 1.
    EXPECT_NEAR(sprites[0].x, 1.1f, 1e-5);
}

TEST_F(MonsterPass, StepsOutOfTheGridAreRefused) {
    // A map without border walls must not make the pass read outside the grid.
    std::fill(walls.begin(), walls.end(), EMPTY);
    camX = -30.0f;
    camY = 2.5f;
    add(0.5f, 2.5f, 1, true);
    add(7.5f, 2.5f, 1, true);
    pass(5.0f);
    EXPECT_EQ(sprites[0].x, 0.5f);
    EXPECT_EQ(sprites[1].x, 2.5f);
    camX = 1e30f;
    pass(1e20f);
    EXPECT_EQ(sprites[0].x, 0.5f);
    EXPECT_FALSE(cellFree(world(), -1, 2));
    EXPECT_FALSE(cellFree(world(), W, 2));
    EXPECT_FALSE(cellFree(world(), 2, H));
    EXPECT_TRUE(cellFree(world(), 2, 2));
}
