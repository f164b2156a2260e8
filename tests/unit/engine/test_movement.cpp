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
        step = 0.25f;
        turn = 0.0f;
        moveCalls = 0;
    }
    void TearDown() override { releaseAllKeys(); }
    void hold(const std::vector<int>& keys) {
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
    // Key codes outside the key array are never read.
    e.setupDefaultMove(-1, 5000, -7, KEY_MAX, -1, -1, moveSpeed, turnSpeed);
    e.defaultMove();
    EXPECT_EQ(e.posX, 1.5f);
    EXPECT_EQ(moveCalls, 0);
}

TEST_F(Walker, StepsStopAtWallsAndNeverLeaveTheMap) {
    // Looking along -x with the view's right edge toward +y: strafing left is toward -y.
    const struct {
        float x, y, dirX, dirY, step;
        std::vector<int> keys;
        float endX, endY;
    } moves[] = {
        {1.5f, 1.5f, -1.0f, 0.0f, 0.25f, {KEY_W}, 1.25f, 1.5f},
        {1.25f, 1.5f, -1.0f, 0.0f, 0.25f, {KEY_W}, 1.0f, 1.5f},  // right on the wall face: no margin
        {1.0f, 1.5f, -1.0f, 0.0f, 0.25f, {KEY_W}, 1.0f, 1.5f},   // 0.75 lies in the border wall
        {3.5f, 1.5f, -1.0f, 0.0f, 0.25f, {KEY_W, KEY_S}, 3.5f, 1.5f},
        {3.5f, 1.5f, -0.6f, 0.8f, 1.0f, {KEY_W}, 2.9f, 1.5f},  // slides along the wall block (2, 2)
        {1.25f, 1.5f, -0.6f, 0.8f, 1.0f, {KEY_W}, 1.25f, 2.3f},  // and along the border wall
        {4.5f, 3.5f, -1.0f, 0.0f, 3.0f, {KEY_W}, 1.5f, 3.5f},  // jumps over cells
        {1.5f, 3.5f, -1.0f, 0.0f, 3.0f, {KEY_W}, 1.5f, 3.5f},  // -1.5 is outside the map
        {1.5f, 3.5f, -1.0f, 0.0f, NAN, {KEY_S}, 1.5f, 3.5f},
        {1.5f, 3.5f, -1.0f, 0.0f, -1e10f, {KEY_W}, 1.5f, 3.5f},  // far beyond the map the other way
        {3.5f, 2.5f, -1.0f, 0.0f, 0.25f, {KEY_Q}, 3.5f, 2.25f},
        {3.5f, 2.25f, -1.0f, 0.0f, 0.25f, {KEY_E}, 3.5f, 2.5f},
        {3.5f, 2.5f, -1.0f, 0.0f, 0.25f, {KEY_W, KEY_Q}, 3.25f, 2.25f},  // diagonally, a full step each way
    };
    for (const auto& m : moves) {
        SCOPED_TRACE("from (" + std::to_string(m.x) + ", " + std::to_string(m.y) + ") step " + std::to_string(m.step));
        e.posX = m.x;
        e.posY = m.y;
        e.dirX = m.dirX;
        e.dirY = m.dirY;
        step = m.step;
        moveCalls = 0;
        hold(m.keys);
        EXPECT_NEAR(e.posX, m.endX, 1e-6);
        EXPECT_NEAR(e.posY, m.endY, 1e-6);
        EXPECT_EQ(moveCalls, static_cast<int>(m.keys.size()));  // the speed is asked once per held key
    }
}

TEST_F(Walker, TurningKeepsTheFieldOfView) {
    turn = static_cast<float>(M_PI / 2);
    const struct {
        std::vector<int> keys;
        float dirX, dirY, planeX, planeY;
    } turns[] = {{{KEY_A}, 0.0f, -1.0f, -0.66f, 0.0f}, {{KEY_D}, -1.0f, 0.0f, 0.0f, 0.66f}, {{KEY_A, KEY_D}, -1.0f, 0.0f, 0.0f, 0.66f}};
    for (const auto& t : turns) {
        hold(t.keys);
        EXPECT_NEAR(e.dirX, t.dirX, 1e-6);
        EXPECT_NEAR(e.dirY, t.dirY, 1e-6);
        EXPECT_NEAR(e.planeX, t.planeX, 1e-6);
        EXPECT_NEAR(e.planeY, t.planeY, 1e-6);
    }
    EXPECT_EQ(moveCalls, 0);
}
