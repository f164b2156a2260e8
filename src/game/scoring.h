#pragma once
// Points for kills and what they grant at the thresholds.
#include "game/levelState.h"

extern const int pointsPerMonster[3];
const int POINTS_PER_MONSTER_COUNT = 3;

// What a monster of the given type is worth; types beyond the table are worth 1.
int pointsForType(int type);
// One point, with the extra ammunition and extra life it may bring.
void earnPoint(LevelState& s);
// All points of a killed monster of the given type, paid one at a time.
void payKill(LevelState& s, int type);
