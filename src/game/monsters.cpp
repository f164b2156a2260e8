#include "game/monsters.h"

#include <cmath>

bool cellFree(const MonsterWorld& w, int cx, int cy) { return cellIsFree(w.walls, w.mapWidth, w.mapHeight, cx, cy); }

namespace {
// Truncation toward zero, but a position far outside any grid (or NaN) must not overflow int.
int cellOf(float v) {
    if (!(v > -1.0f && v < 1.0e9f)) return -1;
    return static_cast<int>(v);
}
}  // namespace

void monsterPass(LevelState& s, const MonsterWorld& w, float step, bool invulnerable) {
    s.monstersLeft = false;
    if (!w.sprites) return;
    for (int i = 0; i < w.spriteCount; ++i) {
        Kelda_sprite& m = w.sprites[i];
        if (m.health <= 0) continue;
        // A monster removed by contact still counts for this frame.
        s.monstersLeft = true;

        float dx = w.cameraX - m.x;
        float dy = w.cameraY - m.y;
        float d = std::sqrt(dx * dx + dy * dy);
        if (d < CONTACT_DISTANCE) {
            m.x = 0.0f;
            m.y = 0.0f;
            m.health = 0;
            if (!invulnerable) --s.health;
            continue;
        }
        if (!w.visible || w.visible[i] == 0) continue;

        float angle = std::atan2(dx, dy);
        float sx = std::sin(angle);
        float sy = std::cos(angle);
        // One axis after the other, so a monster slides along the wall it runs into.
        float nx = m.x + sx * step;
        if (cellFree(w, cellOf(nx), cellOf(m.y))) m.x = nx;
        float ny = m.y + sy * step;
        if (cellFree(w, cellOf(m.x), cellOf(ny))) m.y = ny;
    }
}
