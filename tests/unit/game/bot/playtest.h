#pragma once
// Plays levels with the bot through the real level loop: a frame at a time, keys held in the
// library's key array, a game clock of fixed frames and the timer ticks that go with it.
#include <string>
#include <vector>

#include "game/campaign.h"
#include "game/levelState.h"

namespace bot {

struct LevelOutcome {
    bool won = false;       // no monster left with health to spare
    int result = -1;        // the level loop's result when it ended by itself, else -1
    std::string failure;    // why the bot did not win
    double gameSeconds = 0.0;
    LevelState end;         // the level state at the end (counters, health)
};

// One attempt at the level file `path`; `level` is its number in the campaign.
LevelOutcome playLevel(const std::string& path, int level, const LevelState& counters,
                       double budgetSeconds = 600.0);

struct CampaignOutcome {
    CampaignEnd end = CampaignEnd::quit;
    CampaignState state;
    std::vector<LevelOutcome> attempts;  // in order, restarts included
    int congratulatedPoints = -1;
};

// The shipped campaign from level 0 on, counters carried from level to level.
CampaignOutcome playCampaign();

}  // namespace bot
