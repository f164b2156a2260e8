// Keyboard walking and turning with a point-sized collision test, one axis after the other.
#include <cmath>

#include "core/constants.h"
#include "engine/engine.h"
#include "input/controls.h"

namespace {

bool freeCell(const Kelda_engine& e, float x, float y) {
    // Positions are checked before truncating, so no step far outside the grid converts badly.
    if (!(x >= 0.0f && x < static_cast<float>(e.mapWidth) && y >= 0.0f && y < static_cast<float>(e.mapHeight)))
        return false;
    return cellIsFree(e.walls, e.mapWidth, e.mapHeight, static_cast<int>(x), static_cast<int>(y));
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

bool cellIsFree(const unsigned short* walls, int mapWidth, int mapHeight, int cx, int cy) {
    // Outside the grid counts as wall, so no step can leave the map whatever its length.
    if (!walls || cx < 0 || cy < 0 || cx >= mapWidth || cy >= mapHeight) return false;
    return walls[static_cast<long>(cy) * mapWidth + cx] == 0xFFFF;
}

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
    const PlayKeys keys{keyForward, keyBackward, keyTurnLeft, keyTurnRight, keyStrafeLeft, keyStrafeRight, -1};
    move(readControls(platform::current(), keys));
}

void Kelda_engine::move(const Controls& controls) {
    if (moveSpeedFunc) {
        if (controls.forward) {
            const float s = moveSpeedFunc();
            collisionStep(*this, dirX * s, dirY * s);
        }
        if (controls.backward) {
            const float s = moveSpeedFunc();
            collisionStep(*this, -dirX * s, -dirY * s);
        }
        const float quarter = static_cast<float>(PI / 2.0);
        const float c = std::cos(quarter), sn = std::sin(quarter);
        if (controls.strafeLeft) {
            const float s = moveSpeedFunc();
            const float rx = dirX * c - dirY * sn, ry = dirX * sn + dirY * c;
            collisionStep(*this, rx * s, ry * s);
        }
        if (controls.strafeRight) {
            const float s = moveSpeedFunc();
            const float rx = dirX * c - dirY * sn, ry = dirX * sn + dirY * c;
            collisionStep(*this, -rx * s, -ry * s);
        }
    }
    if (turnSpeedFunc) {
        if (controls.turnRight) {
            const float a = -turnSpeedFunc();
            const float c = std::cos(a), s = std::sin(a);
            rotate(dirX, dirY, c, s);
            rotate(planeX, planeY, c, s);
        }
        if (controls.turnLeft) {
            const float a = turnSpeedFunc();
            const float c = std::cos(a), s = std::sin(a);
            rotate(dirX, dirY, c, s);
            rotate(planeX, planeY, c, s);
        }
    }
}
