#pragma once
// The timer-tick half of a frame.
#include "game/levelState.h"
#include "game/weapons.h"

// Works off every pending timer tick, however many: message timer and fire cycle.
void processTicks(LevelState& s, int shootKey, const ShotTarget& target);
