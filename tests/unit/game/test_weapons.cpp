// The fire cycle tick by tick, weapon choice, shots, bullets and the automatic switch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/test_support.h"
#include "game/weapons.h"

namespace {
std::vector<int> shotsFired;  // the weapon of every shot, in order
void recordShot(int weapon) { shotsFired.push_back(weapon); }

const int SHOOT = KEY_SPACE;

struct TickStep {
    int counter;
    int frame;
    bool shot;
};

class FireCycle : public ::testing::Test {
protected:
    void SetUp() override {
        releaseAllKeys();
        shotsFired.clear();
        target.playShot = recordShot;
    }
    void TearDown() override { releaseAllKeys(); }

    // Arms the weapon with bullets to spare and starts a cycle with the shoot key held.
    void pullTrigger(int weapon) {
        s = LevelState();
        s.weapon = weapon;
        s.impactBullets = s.buzzsawBullets = 100;
        key[SHOOT] = 1;
        startFire(s, SHOOT);
        EXPECT_EQ(s.fireCounter, 12);
    }
    // Ticks once per step, checking the counter, the picture and whether that tick fired.
    void run(const std::vector<TickStep>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            size_t before = shotsFired.size();
            weaponTick(s, SHOOT, target);
            SCOPED_TRACE("tick " + std::to_string(i + 1));
            EXPECT_EQ(s.fireCounter, steps[i].counter);
            EXPECT_EQ(s.weaponFrame, steps[i].frame);
            EXPECT_EQ(shotsFired.size() != before, steps[i].shot);
        }
    }

    LevelState s;
    ShotTarget target;
};

// Every cycle starts the same way up to its shot.
const std::vector<TickStep> TO_FIRST_SHOT = {{11, 0, false}, {10, 1, false}, {9, 1, false},
                                             {8, 2, false},  {7, 2, false},  {6, 3, true}};

class Shots : public ::testing::Test {
protected:
    void SetUp() override {
        shotsFired.clear();
        // A worth-2 monster with two health, scenery, and a type beyond the points table.
        sprites = {{3, 3, nullptr, 2, 1}, {4, 4, nullptr, 0, 0}, {5, 5, nullptr, 1, 7}};
        target.sprites = sprites.data();
        target.spriteCount = static_cast<int>(sprites.size());
        target.playShot = recordShot;
    }
    std::vector<Kelda_sprite> sprites;
    ShotTarget target;
    LevelState s;
};
}  // namespace

TEST_F(FireCycle, HunterFiresOnceAtSixEvenWhenHeldAndWaitsForTheNextFireStart) {
    pullTrigger(WEAPON_HUNTER);
    run(TO_FIRST_SHOT);
    startFire(s, SHOOT);  // a cycle under way is not restarted by the held key
    // At rest, no new cycle without a fire start.
    run({{5, 3, false}, {4, 4, false}, {3, 4, false}, {2, 5, false}, {1, 5, false}, {0, 0, false}, {0, 0, false}});
    EXPECT_EQ(shotsFired, std::vector<int>{WEAPON_HUNTER});
}

TEST_F(FireCycle, BuzzsawHeldLoopsFromFiveToTenAndAlternatesFramesTwoAndThree) {
    pullTrigger(WEAPON_BUZZSAW);
    run(TO_FIRST_SHOT);
    run({{10, 3, false}, {9, 3, false}, {8, 2, false}, {7, 2, false}, {6, 3, true}, {10, 3, false}});
    key[SHOOT] = 0;  // released: the cycle runs out
    run({{9, 3, false}, {8, 2, false}, {7, 2, false}, {6, 3, true}, {5, 3, false}, {4, 4, false}, {3, 4, false},
         {2, 5, false}, {1, 5, false}, {0, 0, false}});
    EXPECT_EQ(s.buzzsawBullets, 97);
}

TEST_F(FireCycle, ImpactCannonHeldLoopsFromThreeToElevenThroughFramesThreeFourOneTwo) {
    pullTrigger(WEAPON_IMPACT_CANNON);
    run(TO_FIRST_SHOT);
    run({{5, 3, false}, {4, 4, false}, {11, 4, false}, {10, 1, false}, {9, 1, false}, {8, 2, false},
         {7, 2, false}, {6, 3, true}, {5, 3, false}, {4, 4, false}, {11, 4, false}});
    EXPECT_EQ(s.impactBullets, 98);
}

TEST(WeaponChoice, HeldKeysSelectOnlyWeaponsWithBulletsAndTheLastTestedWins) {
    const struct {
        const char* name;
        std::vector<int> keys;
        int impact, buzzsaw, before, after;
    } cases[] = {
        {"2 without Impact Cannon bullets", {KEY_2}, 0, 5, WEAPON_BUZZSAW, WEAPON_BUZZSAW},
        {"3 without Buzzsaw bullets", {KEY_3}, 5, 0, WEAPON_HUNTER, WEAPON_HUNTER},
        {"1, 2 and 3: the Buzzsaw is tested last", {KEY_1, KEY_2, KEY_3}, 5, 5, WEAPON_HUNTER, WEAPON_BUZZSAW},
        {"1 and 2", {KEY_1, KEY_2}, 5, 5, WEAPON_BUZZSAW, WEAPON_IMPACT_CANNON},
        {"1", {KEY_1}, 5, 5, WEAPON_BUZZSAW, WEAPON_HUNTER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        releaseAllKeys();
        for (int k : c.keys) key[k] = 1;
        LevelState s;
        s.impactBullets = c.impact;
        s.buzzsawBullets = c.buzzsaw;
        s.weapon = c.before;
        s.fireCounter = 7;  // a cycle under way goes on with the new weapon's pictures
        s.weaponFrame = 2;
        chooseWeapon(s);
        EXPECT_EQ(s.weapon, c.after);
        EXPECT_EQ(s.fireCounter, 7);
        EXPECT_EQ(s.weaponFrame, 2);
    }
    releaseAllKeys();
}

TEST(WeaponChoice, StartingWeaponIsTheLastOneWithBullets) {
    EXPECT_EQ(startingWeapon(0, 0), WEAPON_HUNTER);
    EXPECT_EQ(startingWeapon(3, 0), WEAPON_IMPACT_CANNON);
    EXPECT_EQ(startingWeapon(0, 3), WEAPON_BUZZSAW);
    EXPECT_EQ(startingWeapon(3, 3), WEAPON_BUZZSAW);
}

TEST(WeaponChoice, ShootKeyOutsideTheKeyArrayIsNeverHeld) {
    releaseAllKeys();
    LevelState s;
    startFire(s, -1);
    startFire(s, KEY_MAX);
    startFire(s, 100000);
    EXPECT_EQ(s.fireCounter, 0);
}

TEST_F(Shots, OnlyALivingMonsterUnderTheCrosshairIsHurtAndOnlyItsKillPays) {
    target.crosshair = 0;
    fireShot(s, target);
    EXPECT_EQ(sprites[0].health, 1);
    EXPECT_EQ(s.points, 0);
    fireShot(s, target);
    EXPECT_EQ(sprites[0].health, 0);
    EXPECT_EQ(sprites[0].x, 0.0f);
    EXPECT_EQ(sprites[0].y, 0.0f);
    EXPECT_EQ(s.points, 2);
    // The removed monster and scenery sink below 0; a miss, or an index the engine could never
    // give, touches nothing.
    for (int crosshair : {0, 1, -1, 3, 1 << 30}) {
        target.crosshair = crosshair;
        fireShot(s, target);
    }
    EXPECT_EQ(sprites[0].health, -1);
    EXPECT_EQ(sprites[1].health, -1);
    EXPECT_EQ(sprites[1].x, 4.0f);
    EXPECT_EQ(s.points, 2);
    EXPECT_EQ(shotsFired, std::vector<int>(7, WEAPON_HUNTER));
}

TEST_F(Shots, EachShotSpendsABulletOfTheWeaponThatFiredAndRunningDrySwitches) {
    target.crosshair = -1;  // a miss costs a bullet too
    const struct {
        int weapon, impact, buzzsaw;
        int weaponAfter, impactAfter, buzzsawAfter;
    } cases[] = {
        {WEAPON_HUNTER, 5, 7, WEAPON_HUNTER, 5, 7},
        {WEAPON_IMPACT_CANNON, 5, 7, WEAPON_IMPACT_CANNON, 4, 7},
        {WEAPON_BUZZSAW, 5, 7, WEAPON_BUZZSAW, 5, 6},
        {WEAPON_IMPACT_CANNON, 1, 4, WEAPON_BUZZSAW, 0, 4},
        {WEAPON_IMPACT_CANNON, 1, 0, WEAPON_HUNTER, 0, 0},
        {WEAPON_BUZZSAW, 2, 1, WEAPON_IMPACT_CANNON, 2, 0},
        {WEAPON_BUZZSAW, 0, 1, WEAPON_HUNTER, 0, 0},
        {WEAPON_IMPACT_CANNON, 0, 3, WEAPON_BUZZSAW, 0, 3},  // fired empty: never below zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "weapon " << c.weapon << " with " << c.impact << "/" << c.buzzsaw);
        s.weapon = c.weapon;
        s.impactBullets = c.impact;
        s.buzzsawBullets = c.buzzsaw;
        shotsFired.clear();
        fireShot(s, target);
        EXPECT_EQ(shotsFired, std::vector<int>{c.weapon});
        EXPECT_EQ(s.weapon, c.weaponAfter);
        EXPECT_EQ(s.impactBullets, c.impactAfter);
        EXPECT_EQ(s.buzzsawBullets, c.buzzsawAfter);
    }
}

TEST_F(Shots, KillWithTheLastImpactBulletThatReachesSixteenKeepsTheCannon) {
    s.weapon = WEAPON_IMPACT_CANNON;
    s.impactBullets = 1;
    s.points = 15;
    target.crosshair = 2;  // worth 1
    fireShot(s, target);
    EXPECT_EQ(s.impactBullets, 15) << "the kill pays before the bullet is spent";
    EXPECT_EQ(s.weapon, WEAPON_IMPACT_CANNON);
}
