// Walking and turning by the controls held, with the point-sized collision test.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine_fixtures.h"
#include "input/controls.h"

namespace {
float step = 0.25f, turn = 0.0f;
int speedCalls = 0;
float moveSpeed() { return ++speedCalls, step; }
float turnSpeed() { return ++speedCalls, turn; }
enum { F = 1, BK = 2, SL = 4, SR = 8, TL = 16, TR = 32 };  // the controls held
Controls held(int c) {
    Controls k;
    k.forward = c & F, k.backward = c & BK, k.strafeLeft = c & SL, k.strafeRight = c & SR, k.turnLeft = c & TL;
    return k.turnRight = c & TR, k;
}
}  // namespace

TEST(Walker, StepsStopAtWallsNeverLeaveTheMapAndTurnsKeepTheFieldOfView) {
    TempDir dir;
    Kelda_engine e, fresh;
    ASSERT_EQ(loadBytes(e, levelfile::write(makeLevel(dir.path(), {"######", "#....#", "#.#..#", "#....#", "######"},
                                                      1.5f, 1.5f))), "");
    fresh.move(held(F | TL));  // without setup nothing moves and no speed is asked
    platform::Input in;
    in.held[KEY_Q] = true;
    platform::use(in);
    e.setupDefaultMove(KEY_W, KEY_S, KEY_A, KEY_D, KEY_Q, KEY_E, moveSpeed, turnSpeed);
    e.defaultMove();  // the keys given, as the current input holds them: Q steps left
    EXPECT_EQ(std::vector<float>({fresh.posX, 1.0f * speedCalls, e.posX, e.posY}),
              std::vector<float>({0, 1, 1.5f, 1.25f}));
    platform::use(platform::Input());
    const float moves[][8] = {  // x, y, dirX, dirY, step, controls held; x, y after (left of -x is -y)
        {1.5f, 1.5f, -1, 0, 0.25f, F, 1.25f, 1.5f}, {1.25f, 1.5f, -1, 0, 0.25f, F, 1.0f, 1.5f},  // no margin
        {1.0f, 1.5f, -1, 0, 0.25f, F, 1.0f, 1.5f},  {3.5f, 1.5f, -1, 0, 0.25f, F | BK, 3.5f, 1.5f},
        {3.5f, 1.5f, -0.6f, 0.8f, 1, F, 2.9f, 1.5f}, {1.25f, 1.5f, -0.6f, 0.8f, 1, F, 1.25f, 2.3f},  // slides
        {4.5f, 3.5f, -1, 0, 3, F, 1.5f, 3.5f},      {1.5f, 3.5f, -1, 0, 3, F, 1.5f, 3.5f},  // jumps, not out
        {1.5f, 3.5f, -1, 0, NAN, BK, 1.5f, 3.5f},   {1.5f, 3.5f, -1, 0, -1e10f, F, 1.5f, 3.5f},
        {3.5f, 2.5f, -1, 0, 0.25f, SL, 3.5f, 2.25f}, {3.5f, 2.25f, -1, 0, 0.25f, SR, 3.5f, 2.5f},
        {3.5f, 2.5f, -1, 0, 0.25f, F | SL, 3.25f, 2.25f}, {3.5f, 2.5f, 0, 1, 0.25f, SR, 3.75f, 2.5f},
    };
    for (const auto& m : moves) {
        e.posX = m[0], e.posY = m[1], e.dirX = m[2], e.dirY = m[3], step = m[4], speedCalls = 0;
        e.move(held(static_cast<int>(m[5])));
        EXPECT_TRUE(std::fabs(e.posX - m[6]) < 1e-6 && std::fabs(e.posY - m[7]) < 1e-6)
            << m[0] << "," << m[1] << " by " << m[4] << " gave " << e.posX << "," << e.posY;
        EXPECT_EQ(speedCalls, __builtin_popcount(static_cast<int>(m[5])));  // once per control held
    }
    e.dirX = -1, e.dirY = 0, turn = static_cast<float>(M_PI / 2);
    const float turns[][5] = {{TL, 0, -1, -0.66f, 0}, {TR, -1, 0, 0, 0.66f}, {TL | TR, -1, 0, 0, 0.66f}};
    for (const auto& t : turns) {  // controls held; direction and camera plane after
        e.move(held(static_cast<int>(t[0])));
        const float got[] = {e.dirX, e.dirY, e.planeX, e.planeY};
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], t[i + 1], 1e-6) << t[0] << " " << i;
    }
}
