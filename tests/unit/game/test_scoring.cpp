// Points and what the 16, 32 and 64 thresholds grant.
#include <gtest/gtest.h>

#include "game/scoring.h"

TEST(Scoring, PointsTableAndTypesBeyondIt) {
    EXPECT_EQ(pointsForType(0), 1);
    EXPECT_EQ(pointsForType(1), 2);
    EXPECT_EQ(pointsForType(2), 4);
    EXPECT_EQ(pointsForType(3), 1);
    EXPECT_EQ(pointsForType(65535), 1);
    EXPECT_EQ(pointsForType(-1), 1);
}

TEST(Scoring, SixteenGrantsImpactAmmoAndLeavesAChosenBulletWeapon) {
    LevelState s;
    s.points = 15;
    earnPoint(s);
    EXPECT_EQ(s.impactBullets, 15);
    EXPECT_EQ(s.buzzsawBullets, 0);
    EXPECT_EQ(s.message, "Extra ammo");
    EXPECT_EQ(s.messageTimer, 32);
    EXPECT_EQ(s.weapon, WEAPON_IMPACT_CANNON);

    LevelState b;
    b.points = 47;
    b.weapon = WEAPON_BUZZSAW;
    earnPoint(b);
    EXPECT_EQ(b.points, 48);
    EXPECT_EQ(b.impactBullets, 15);
    EXPECT_EQ(b.weapon, WEAPON_BUZZSAW);
}

TEST(Scoring, ThirtyTwoGrantsBothAmmunitionsAndTheBuzzsaw) {
    LevelState s;
    s.points = 31;
    s.health = 1;
    earnPoint(s);
    EXPECT_EQ(s.impactBullets, 15);
    EXPECT_EQ(s.buzzsawBullets, 30);
    EXPECT_EQ(s.weapon, WEAPON_BUZZSAW);
    EXPECT_EQ(s.message, "Extra ammo");
    EXPECT_EQ(s.health, 1);
    EXPECT_EQ(s.lives, 0);
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

TEST(Scoring, OneKillCanCrossSeveralThresholds) {
    // 14 -> 18 crosses 16; then 30 -> 34 crosses 32.
    LevelState s;
    s.points = 14;
    payKill(s, 2);
    EXPECT_EQ(s.impactBullets, 15);
    s.points = 30;
    payKill(s, 2);
    EXPECT_EQ(s.impactBullets, 30);
    EXPECT_EQ(s.buzzsawBullets, 30);
    // From 0 to 128 by worth-4 kills: 8 ammo grants, 4 Buzzsaw grants, 2 lives.
    LevelState t;
    for (int i = 0; i < 32; ++i) payKill(t, 2);
    EXPECT_EQ(t.points, 128);
    EXPECT_EQ(t.impactBullets, 8 * 15);
    EXPECT_EQ(t.buzzsawBullets, 4 * 30);
    EXPECT_EQ(t.lives, 2);
}
