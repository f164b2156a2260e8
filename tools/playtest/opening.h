#pragma once
// What a player meets at a level's start, judged by the engine's own renderer: a view ahead
// rather than a wall, and no monster in sight or within reach whichever way they turn.
#include <string>
#include <vector>

#include "engine/engine.h"

namespace playtest {

const float CLEAR_AHEAD = 4.0f;      // cells of open floor straight ahead of the start
const float NEAREST_MONSTER = 3.0f;  // cells between the start and any monster

// Warnings for the level maker, one sentence each; none for a fair start. Renders the level from
// its start into buffers of its own, which are gone when it returns: set others before the next render.
std::vector<std::string> openingWarnings(Kelda_engine& e);

}  // namespace playtest
