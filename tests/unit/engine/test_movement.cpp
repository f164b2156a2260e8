// Walking and turning by the held keys, with the point-sized collision test.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine_fixtures.h"

namespace {

float step = 0.25f;
float turn = 0.0f;
int moveCalls = 0;
float moveSpeed() {
    ++moveCalls;
    return step;
}
float turnSpeed() { return turn; }

struct Walker : ::testing::Test {
    TempDir dir;
    Kelda_engine e;
    void SetUp() override {
        levelfile::Level level =
            makeLevel(dir.path(), {"######", "#....#", "#.#..#", "#....#", "######"}, 1.5f, 1.5f);
        ASSERT_EQ(loadBytes(e, levelfile::write(level)), "");
        e.setupDefaultMove(KEY_W, KEY_S, KEY_A, KEY_D, KEY_Q, KEY_E, moveSpeed, turnSpeed);
        releaseAllKeys();
        step = 0.25f;
        turn = 0.0f;
        moveCalls = 0;
    }
    void TearDown() override { releaseAllKeys(); }
    void hold(std::initializer_list<int> keys) {
        releaseAllKeys();
        for (int k : keys) key[k] = 1;
        e.defaultMove();
    }
};

}  // namespace

TEST_F(Walker, NothingHappensWithoutSetupOrKeys) {
    Kelda_engine fresh;
    key[KEY_UP] = 1;
    fresh.defaultMove();
    EXPECT_EQ(fresh.posX, 0.0f);
    hold({});
    EXPECT_EQ(e.posX, 1.5f);
    EXPECT_EQ(moveCalls, 0);
}

TEST_F(Walker, ForwardIntoAWallIsRefusedAndBackwardCancelsForward) {
    hold({KEY_W});  // looking along -x from x 1.5: 1.25 is still the free cell 1
    EXPECT_EQ(e.posX, 1.25f);
    hold({KEY_W});
    EXPECT_EQ(e.posX, 1.0f);  // right on the wall face: no margin
    hold({KEY_W});            // 0.75 lies in the border wall
    EXPECT_EQ(e.posX, 1.0f);
    e.posX = 3.5f;
    hold({KEY_W, KEY_S});
    EXPECT_EQ(e.posX, 3.5f);
    EXPECT_EQ(moveCalls, 5);
}

TEST_F(Walker, SlidesAlongAWallWhenWalkingIntoItAtAnAngle) {
    e.posX = 3.5f;
    e.posY = 1.5f;
    e.dirX = -0.6f;
    e.dirY = 0.8f;
    step = 1.0f;
    hold({KEY_W});
    EXPECT_FLOAT_EQ(e.posX, 2.9f);
    EXPECT_FLOAT_EQ(e.posY, 1.5f);  // cell (2, 2) is the wall block
}

TEST_F(Walker, LongStepsJumpOverCellsButNeverLeaveTheMap) {
    e.posX = 4.5f;
    e.posY = 3.5f;
    step = 3.0f;
    hold({KEY_W});  // 1.5 is free, across nothing
    EXPECT_EQ(e.posX, 1.5f);
    hold({KEY_W});  // -1.5 is outside the map
    EXPECT_EQ(e.posX, 1.5f);
    step = NAN;
    hold({KEY_S});
    EXPECT_EQ(e.posX, 1.5f);
    step = -1e10f;  // far beyond the map the other way
    hold({KEY_W});
    EXPECT_EQ(e.posX, 1.5f);
}

TEST_F(Walker, StrafingAndDiagonalSpeed) {
    e.posX = 3.5f;
    e.posY = 2.5f;
    hold({KEY_Q});  // looking along -x with the view's right edge toward +y, left is -y
    EXPECT_NEAR(e.posX, 3.5f, 1e-6);
    EXPECT_FLOAT_EQ(e.posY, 2.25f);
    hold({KEY_E});
    EXPECT_FLOAT_EQ(e.posY, 2.5f);
    hold({KEY_W, KEY_Q});
    EXPECT_FLOAT_EQ(e.posX, 3.25f);
    EXPECT_FLOAT_EQ(e.posY, 2.25f);
}

TEST_F(Walker, TurningKeepsTheFieldOfView) {
    turn = static_cast<float>(M_PI / 2);
    hold({KEY_A});
    EXPECT_NEAR(e.dirX, 0.0f, 1e-6);
    EXPECT_NEAR(e.dirY, -1.0f, 1e-6);
    EXPECT_NEAR(e.planeX, -0.66f, 1e-6);
    EXPECT_NEAR(e.planeY, 0.0f, 1e-6);
    hold({KEY_D});
    EXPECT_NEAR(e.dirX, -1.0f, 1e-6);
    EXPECT_NEAR(e.planeY, 0.66f, 1e-6);
    hold({KEY_A, KEY_D});
    EXPECT_NEAR(e.dirX, -1.0f, 1e-6);
}

TEST_F(Walker, KeyCodesOutsideTheKeyArrayAreIgnored) {
    e.setupDefaultMove(-1, 5000, -7, KEY_MAX, -1, -1, moveSpeed, turnSpeed);
    e.defaultMove();
    EXPECT_EQ(moveCalls, 0);
    EXPECT_EQ(e.posX, 1.5f);
}
