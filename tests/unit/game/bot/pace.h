#pragma once
// What the playtest bot knows of the game's pace, and its small geometry helpers.
#include <cmath>

namespace bot {

const float PI_F = 3.14159265f;
const float WALK_SPEED = 3.0f;      // cells per second, as the level loop moves the player
const float TURN_SPEED = 2.0f;      // radians per second
const float MONSTER_SPEED = 3.4f;   // cells per second once a monster has been seen
const float CONTACT = 0.75f;
const float TICKS_PER_SECOND = 32.0f;
// Ticks between shots with the shoot key held; the Hunter waits for the next frame to start again.
const float SHOT_PERIOD[3] = {12.5f, 8.0f, 5.0f};
const double STUCK_SECONDS = 0.8;
const double PEEK_SECONDS = 2.0;

// An angle brought into [-pi, pi].
inline float wrap(float a) {
    while (a > PI_F) a -= 2.0f * PI_F;
    while (a < -PI_F) a += 2.0f * PI_F;
    return a;
}

inline float distance(float ax, float ay, float bx, float by) { return std::hypot(ax - bx, ay - by); }

}  // namespace bot
