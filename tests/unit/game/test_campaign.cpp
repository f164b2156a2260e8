// Level sequencing: announcements, restarts, lives, the final screen and the counters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/campaign.h"
#include "game/levelLoop.h"

namespace {
struct Script {
    std::vector<int> results;        // what each attempt returns
    std::vector<int> levelsPlayed;
    std::vector<std::string> events;  // announcements, plays and the final screen in order
    int pointsPerAttempt = 0;
    int congratsPoints = -1;

    CampaignHooks hooks() {
        CampaignHooks h;
        h.playLevel = [this](CampaignState& s) {
            levelsPlayed.push_back(s.level);
            events.push_back("play " + std::to_string(s.level));
            s.points += pointsPerAttempt;
            s.impactBullets += 1;
            size_t i = levelsPlayed.size() - 1;
            int r = i < results.size() ? results[i] : LEVEL_QUIT;
            if (r == LEVEL_LAST_WON) s.points += LAST_LEVEL_BONUS;  // as the level loop does
            return r;
        };
        h.announce = [this](const char* m, int ticks) {
            events.push_back(std::string(m) + " " + std::to_string(ticks));
        };
        h.congrats = [this](int p) {
            congratsPoints = p;
            events.push_back("congrats");
        };
        return h;
    }
};
}  // namespace

TEST(Campaign, WinningEveryLevelAnnouncesAllButTheFirstAndCongratulates) {
    Script sc;
    sc.results = {LEVEL_WON, LEVEL_WON, LEVEL_LAST_WON};
    sc.pointsPerAttempt = 4;
    CampaignState s;
    EXPECT_EQ(runCampaign(s, sc.hooks()), CampaignEnd::won);
    EXPECT_EQ(sc.events, (std::vector<std::string>{"play 0", "Loading next level... 32", "play 1",
                                                   "Loading next level... 32", "play 2", "congrats"}));
    EXPECT_EQ(sc.congratsPoints, 12 + 50);
    EXPECT_EQ(s.impactBullets, 3) << "bullets carry over";
}

TEST(Campaign, DeathRestartsTheSameLevelWithItsMessageEvenOnLevelZero) {
    Script sc;
    sc.results = {LEVEL_DIED, LEVEL_WON, LEVEL_DIED, LEVEL_LAST_WON};
    sc.pointsPerAttempt = 1;
    CampaignState s;
    s.lives = 3;
    EXPECT_EQ(runCampaign(s, sc.hooks()), CampaignEnd::won);
    EXPECT_EQ(sc.levelsPlayed, (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(sc.events[1], "You died. Restarting level... 32");
    EXPECT_EQ(sc.events[3], "Loading next level... 32");
    EXPECT_EQ(sc.events[5], "You died. Restarting level... 32");
    EXPECT_EQ(s.lives, 1);
    EXPECT_EQ(sc.congratsPoints, 4 + 50) << "points of failed attempts are kept";
}

TEST(Campaign, LosingTheLastLifeEndsWithoutAnotherScreen) {
    Script sc;
    sc.results = {LEVEL_WON, LEVEL_DIED, LEVEL_DIED};
    CampaignState s;
    s.lives = 2;
    EXPECT_EQ(runCampaign(s, sc.hooks()), CampaignEnd::outOfLives);
    EXPECT_EQ(sc.events.back(), "play 1");
    EXPECT_EQ(sc.congratsPoints, -1);
    EXPECT_EQ(s.lives, 0);
}

TEST(Campaign, QuitEndsAtOnceAndALaterStartIsAnnounced) {
    Script sc;
    sc.results = {LEVEL_WON, LEVEL_QUIT};
    CampaignState s;
    s.level = 1;
    EXPECT_EQ(runCampaign(s, sc.hooks()), CampaignEnd::quit);
    EXPECT_EQ(sc.events, (std::vector<std::string>{"Loading next level... 32", "play 1", "Loading next level... 32",
                                                   "play 2"}));
    EXPECT_EQ(sc.congratsPoints, -1);
}
