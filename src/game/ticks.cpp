#include "game/ticks.h"

#include "core/constants.h"

void processTicks(LevelState& s, int shootKey, const ShotTarget& target) {
    while (timerCounter.load() > 0) {
        if (s.messageTimer > 0) --s.messageTimer;
        weaponTick(s, shootKey, target);
        --timerCounter;
    }
}
