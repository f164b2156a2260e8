// The fight: aim, fire, the weapon for the moment, and backing off in time.
#include "game/bot/pilot.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "game/bot/pace.h"

namespace bot {

bool Pilot::inDanger(const LevelState& s, const std::vector<int>& threats, int weapon) const {
    float heading = facing();
    float busy = static_cast<float>(s.fireCounter) / TICKS_PER_SECOND;  // a cycle under way finishes first
    for (int i : threats) {
        const Kelda_sprite& m = e.sprites[i];
        const float bearing = std::atan2(m.y - e.posY, m.x - e.posX);
        busy += std::fabs(wrap(bearing - heading)) / TURN_SPEED;
        heading = bearing;
        busy += (6.0f + (m.health - 1) * SHOT_PERIOD[weapon]) / TICKS_PER_SECOND;
        const float contact = (distance(e.posX, e.posY, m.x, m.y) - CONTACT) / MONSTER_SPEED;
        if (busy > contact - 0.25f) return true;
    }
    return false;
}

void Pilot::chooseWeapon(Controls& c, const LevelState& s, bool urgent) {
    int want = WEAPON_HUNTER;
    // Bullets are for monsters that would otherwise arrive first.
    if (urgent) {
        if (s.buzzsawBullets > 0)
            want = WEAPON_BUZZSAW;
        else if (s.impactBullets > 0)
            want = WEAPON_IMPACT_CANNON;
    }
    if (want != s.weapon) c.weaponKey = want + 1;
}

void Pilot::bestMove(Controls& c, const std::function<float(float, float)>& safety) const {
    const float fx = e.dirX, fy = e.dirY;
    const float lx = -e.dirY, ly = e.dirX;  // strafing left moves this way
    float best = -1e9f;
    int bestFb = 0, bestLr = 0;
    for (int fb = -1; fb <= 1; ++fb) {
        for (int lr = -1; lr <= 1; ++lr) {
            // The same keys held for a third of a second, sliding along walls as the player does.
            float x = e.posX, y = e.posY;
            auto step = [&](float dx, float dy) {
                if (grid.openAt(x + dx, y)) x += dx;
                if (grid.openAt(x, y + dy)) y += dy;
            };
            for (int k = 0; k < 10; ++k) {
                if (fb) step(fx * walkStep * fb, fy * walkStep * fb);
                if (lr) step(lx * walkStep * lr, ly * walkStep * lr);
            }
            // Straight back keeps the target where the crosshair is.
            const float score = safety(x, y) - (lr ? 0.05f : 0.0f);
            if (score > best) {
                best = score;
                bestFb = fb;
                bestLr = lr;
            }
        }
    }
    c.forward = bestFb > 0;
    c.backward = bestFb < 0;
    c.strafeLeft = bestLr > 0;
    c.strafeRight = bestLr < 0;
}

void Pilot::retreat(Controls& c, const std::vector<int>& threats) {
    bestMove(c, [&](float x, float y) {
        float nearest = 1e9f;
        for (int i : threats) nearest = std::min(nearest, distance(x, y, e.sprites[i].x, e.sprites[i].y));
        return nearest;
    });
}

void Pilot::retreatAround(Controls& c, int threat) {
    const Kelda_sprite& m = e.sprites[threat];
    const std::vector<int> away = grid.stepsTo(cellOf(m.x, m.y));
    // Round corners the way it has to run counts, not the distance through the wall.
    bestMove(c, [&](float x, float y) {
        const Cell at = cellOf(x, y);
        return away[at.y * grid.width() + at.x] + 0.1f * distance(x, y, m.x, m.y);
    });
}

void Pilot::engage(Controls& c, const LevelState& s, int target, double now) {
    const Kelda_sprite& m = e.sprites[target];
    face(c, m.x, m.y);
    const int aimed = e.crosshairSprite;
    c.shoot = alive(aimed);

    std::vector<int> threats;
    for (int i = 0; i < e.spriteCount; ++i) {
        if (!alive(i) || !e.visible[i]) continue;
        const float d = distance(e.posX, e.posY, e.sprites[i].x, e.sprites[i].y);
        if (d < 3.0f || grid.clear(e.posX, e.posY, e.sprites[i].x, e.sprites[i].y)) threats.push_back(i);
    }
    std::sort(threats.begin(), threats.end(), [&](int a, int b) {
        return distance(e.posX, e.posY, e.sprites[a].x, e.sprites[a].y) <
               distance(e.posX, e.posY, e.sprites[b].x, e.sprites[b].y);
    });
    const bool urgent = inDanger(s, threats, WEAPON_HUNTER);
    chooseWeapon(c, s, urgent);
    int weapon = c.weaponKey ? c.weaponKey - 1 : s.weapon;
    if (inDanger(s, threats, weapon)) {
        retreat(c, threats);
        return;
    }
    const float err = wrap(std::atan2(m.y - e.posY, m.x - e.posX) - facing());
    const bool aligned = std::fabs(err) < 2.0f * turnStep;
    if (aligned && aimed >= 0 && !alive(aimed)) {
        // Scenery in the line of fire: step aside until the monster is in the clear.
        const float lx = -e.dirY, ly = e.dirX;
        if (grid.run(e.posX, e.posY, lx, ly, 2.0f) >= grid.run(e.posX, e.posY, -lx, -ly, 2.0f))
            c.strafeLeft = true;
        else
            c.strafeRight = true;
    } else if (aligned && !alive(aimed) && stuck(target, now)) {
        // Too far for the crosshair to settle on it and it does not come: go to it.
        c.forward = distance(e.posX, e.posY, m.x, m.y) > 2.0f;
    }
}

}  // namespace bot
