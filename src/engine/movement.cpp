// Keyboard walking and turning with a point-sized collision test, one axis after the other.
#include <cmath>

#include "core/constants.h"
#include "engine/engine.h"

namespace {

bool held(int code) { return code >= 0 && code < KEY_MAX && key[code]; }

// Outside the grid counts as wall, so no step can leave the map whatever its length.
bool freeCell(const Kelda_engine& e, float x, float y) {
    if (!e.walls || !(x >= 0.0f && x < static_cast<float>(e.mapWidth) && y >= 0.0f &&
                      y < static_cast<float>(e.mapHeight)))
        return false;
    const int cx = static_cast<int>(x), cy = static_cast<int>(y);
    return e.walls[cy * e.mapWidth + cx] == 0xFFFF;
}

void collisionStep(Kelda_engine& e, float ddx, float ddy) {
    const float newX = e.posX + ddx;
    if (freeCell(e, newX, e.posY)) e.posX = newX;
    const float newY = e.posY + ddy;
    if (freeCell(e, e.posX, newY)) e.posY = newY;
}

void rotate(float& x, float& y, float c, float s) {
    const float oldX = x;
    x = x * c - y * s;
    y = oldX * s + y * c;
}

}  // namespace

void Kelda_engine::setupDefaultMove(int forward, int backward, int turnLeft, int turnRight, int strafeLeft,
                                    int strafeRight, float (*moveSpeed)(), float (*turnSpeed)()) {
    keyForward = forward;
    keyBackward = backward;
    keyTurnLeft = turnLeft;
    keyTurnRight = turnRight;
    keyStrafeLeft = strafeLeft;
    keyStrafeRight = strafeRight;
    moveSpeedFunc = moveSpeed;
    turnSpeedFunc = turnSpeed;
}

void Kelda_engine::defaultMove() {
    if (moveSpeedFunc) {
        if (held(keyForward)) {
            const float s = moveSpeedFunc();
            collisionStep(*this, dirX * s, dirY * s);
        }
        if (held(keyBackward)) {
            const float s = moveSpeedFunc();
            collisionStep(*this, -dirX * s, -dirY * s);
        }
        const float quarter = static_cast<float>(PI / 2.0);
        const float c = std::cos(quarter), sn = std::sin(quarter);
        if (held(keyStrafeLeft)) {
            const float s = moveSpeedFunc();
            const float rx = dirX * c - dirY * sn, ry = dirX * sn + dirY * c;
            collisionStep(*this, rx * s, ry * s);
        }
        if (held(keyStrafeRight)) {
            const float s = moveSpeedFunc();
            const float rx = dirX * c - dirY * sn, ry = dirX * sn + dirY * c;
            collisionStep(*this, -rx * s, -ry * s);
        }
    }
    if (turnSpeedFunc) {
        if (held(keyTurnRight)) {
            const float a = -turnSpeedFunc();
            const float c = std::cos(a), s = std::sin(a);
            rotate(dirX, dirY, c, s);
            rotate(planeX, planeY, c, s);
        }
        if (held(keyTurnLeft)) {
            const float a = turnSpeedFunc();
            const float c = std::cos(a), s = std::sin(a);
            rotate(dirX, dirY, c, s);
            rotate(planeX, planeY, c, s);
        }
    }
}
