// Points and what the 16, 32 and 64 thresholds grant.
#include <gtest/gtest.h>

#include "game/scoring.h"

TEST(Scoring, PointsTableAndTypesBeyondIt) {
    const int types[] = {0, 1, 2, 3, 65535, -1}, worth[] = {1, 2, 4, 1, 1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pointsForType(types[i]), worth[i]) << "type " << types[i];
}

TEST(Scoring, AmmoThresholdsGrantBulletsAndArmTheStrongerWeapon) {
    const struct {
        int pointsBefore, weaponBefore;
        int impact, buzzsaw, weaponAfter;
    } cases[] = {
        {15, WEAPON_HUNTER, 15, 0, WEAPON_IMPACT_CANNON},
        {47, WEAPON_BUZZSAW, 15, 0, WEAPON_BUZZSAW},  // a chosen bullet weapon stays
        {31, WEAPON_HUNTER, 15, 30, WEAPON_BUZZSAW},
        {95, WEAPON_IMPACT_CANNON, 15, 30, WEAPON_BUZZSAW},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.pointsBefore << " points");
        LevelState s;
        s.points = c.pointsBefore;
        s.weapon = c.weaponBefore;
        s.health = 1;
        earnPoint(s);
        EXPECT_EQ(s.impactBullets, c.impact);
        EXPECT_EQ(s.buzzsawBullets, c.buzzsaw);
        EXPECT_EQ(s.weapon, c.weaponAfter);
        EXPECT_EQ(s.message, "Extra ammo");
        EXPECT_EQ(s.messageTimer, 32);
        EXPECT_EQ(s.health, 1);
        EXPECT_EQ(s.lives, 0);
    }
}

TEST(Scoring, KillFromSixtyTwoToSixtySixCrossesSixtyFourOnce) {
    LevelState s;
    s.points = 62;
    s.health = 2;
    s.lives = 1;
    s.impactBullets = 3;
    s.buzzsawBullets = 4;
    payKill(s, 2);
    EXPECT_EQ(s.points, 66);
    EXPECT_EQ(s.impactBullets, 18);
    EXPECT_EQ(s.buzzsawBullets, 34);
    EXPECT_EQ(s.health, MAX_HEALTH);
    EXPECT_EQ(s.lives, 2);
    EXPECT_EQ(s.message, "Extra life");
    EXPECT_EQ(s.messageTimer, 32);
    EXPECT_EQ(s.weapon, WEAPON_BUZZSAW);
}

TEST(Scoring, FromZeroToOneHundredTwentyEightEveryThresholdPaysOnce) {
    LevelState s;
    for (int i = 0; i < 32; ++i) payKill(s, 2);
    EXPECT_EQ(s.points, 128);
    EXPECT_EQ(s.impactBullets, 8 * 15);
    EXPECT_EQ(s.buzzsawBullets, 4 * 30);
    EXPECT_EQ(s.lives, 2);
}
