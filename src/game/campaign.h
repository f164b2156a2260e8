#pragma once
// The order of levels in a campaign: announcements, restarts, lives and the final screen.
#include <functional>

struct CampaignState {
    int level = 0;
    int points = 0;
    int impactBullets = 0;
    int buzzsawBullets = 0;
    int lives = 3;
};

struct CampaignHooks {
    // Plays state.level once with the counters in state; returns the level result.
    std::function<int(CampaignState&)> playLevel;
    std::function<void(const char* message, int ticks)> announce;
    std::function<void(int points)> congrats;
};

enum class CampaignEnd { won, outOfLives, quit };

extern const char* const NEXT_LEVEL_MESSAGE;  // "Loading next level..."
extern const char* const RESTART_MESSAGE;     // "You died. Restarting level..."
const int ANNOUNCE_TICKS = 32;

CampaignEnd runCampaign(CampaignState& state, const CampaignHooks& hooks);
