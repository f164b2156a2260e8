#include "game/ticks.h"

void processTicks(LevelState& s, int ticks, bool shootHeld, const ShotTarget& target) {
    for (int t = 0; t < ticks; ++t) {
        if (s.messageTimer > 0) --s.messageTimer;
        weaponTick(s, shootHeld, target);
    }
}
