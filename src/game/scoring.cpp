#include "game/scoring.h"

const int pointsPerMonster[POINTS_PER_MONSTER_COUNT] = {1, 2, 4};

int pointsForType(int type) {
    if (type < 0 || type >= POINTS_PER_MONSTER_COUNT) return 1;
    return pointsPerMonster[type];
}

void earnPoint(LevelState& s) {
    ++s.points;
    if ((s.points & 15) == 0) {
        s.impactBullets += 15;
        s.message = "Extra ammo";
        s.messageTimer = 32;
        if (s.weapon == WEAPON_HUNTER) s.weapon = WEAPON_IMPACT_CANNON;
    }
    if ((s.points & 31) == 0) {
        s.buzzsawBullets += 30;
        if (s.weapon == WEAPON_HUNTER || s.weapon == WEAPON_IMPACT_CANNON) s.weapon = WEAPON_BUZZSAW;
    }
    if ((s.points & 63) == 0) {
        s.health = MAX_HEALTH;
        ++s.lives;
        s.message = "Extra life";
    }
}

void payKill(LevelState& s, int type) {
    for (int i = pointsForType(type); i > 0; --i) earnPoint(s);
}
