#pragma once
// The timer-tick half of a frame.
#include "game/levelState.h"
#include "game/weapons.h"

// Works off the given ticks: message timer and fire cycle, tick by tick.
void processTicks(LevelState& s, int ticks, bool shootHeld, const ShotTarget& target);
