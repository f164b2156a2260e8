#pragma once
// One level played by the bot from its file to its end, and what came of it.
#include <string>

#include "game/levelState.h"

namespace playtest {

// Beyond this much game time the bot is going round in circles.
const double GAME_SECONDS_ALLOWED = 600.0;

struct PlayReport {
    enum Outcome { won, died, unreachable, outOfTime, notLoaded } outcome = notLoaded;
    std::string problem;  // why the file could not be loaded
    double seconds = 0.0;  // game time
    int hits = 0;          // monsters that reached the player
    int shots = 0;
    int monster = -1;  // the one the bot could not reach, and where it stood
    float monsterX = 0.0f, monsterY = 0.0f;
    LevelState end;  // the counters as the level left them
};

// Plays the level file with the counters a campaign brings to it; `level` is its number in the row.
// A human-like bot reacts, sees and learns the level as a player does (see Pilot).
PlayReport playLevel(const std::string& path, int level, const LevelState& counters, bool human);

// "won in 41.2 s game time, 2 hits taken, 37 shots fired", "not won: died after ...", ...
std::string describe(const PlayReport& r);

}  // namespace playtest
