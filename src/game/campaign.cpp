#include "game/campaign.h"

#include "game/levelLoop.h"

const char* const NEXT_LEVEL_MESSAGE = "Loading next level...";
const char* const RESTART_MESSAGE = "You died. Restarting level...";

CampaignEnd runCampaign(CampaignState& state, const CampaignHooks& hooks) {
    const char* message = NEXT_LEVEL_MESSAGE;
    for (;;) {
        // A campaign from level 0 starts without a message; every later level and restart is announced.
        if (state.level != 0 || message == RESTART_MESSAGE) hooks.announce(message, ANNOUNCE_TICKS);
        int result = hooks.playLevel(state);
        ++state.level;
        switch (result) {
            case LEVEL_WON:
                message = NEXT_LEVEL_MESSAGE;
                break;
            case LEVEL_DIED:
                --state.lives;
                if (state.lives <= 0) return CampaignEnd::outOfLives;
                --state.level;
                message = RESTART_MESSAGE;
                break;
            case LEVEL_LAST_WON:
                hooks.congrats(state.points);
                return CampaignEnd::won;
            default:
                return CampaignEnd::quit;
        }
    }
}
