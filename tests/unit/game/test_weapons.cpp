// The fire cycle tick by tick, weapon choice, shots, bullets and the automatic switch.
#include <gtest/gtest.h>

#include <vector>

#include "common/test_support.h"
#include "game/weapons.h"

namespace {
std::vector<int> shotsFired;  // the weapon of every shot, in order
void recordShot(int weapon) { shotsFired.push_back(weapon); }

const int SHOOT = KEY_SPACE;

class FireCycle : public ::testing::Test {
protected:
    void SetUp() override {
        releaseAllKeys();
        shotsFired.clear();
        target.playShot = recordShot;
    }
    void TearDown() override { releaseAllKeys(); }

    // One tick; returns whether it fired.
    bool tick() {
        size_t before = shotsFired.size();
        weaponTick(s, SHOOT, target);
        return shotsFired.size() != before;
    }

    LevelState s;
    ShotTarget target;
};

struct TickStep {
    int counter;
    int frame;
    bool shot;
};

}  // namespace

// The fixture's tick is protected; expose it to the step helper.
class FireCycleSteps : public FireCycle {
public:
    bool publicTick() { return tick(); }
    void run(const std::vector<TickStep>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            bool shot = tick();
            SCOPED_TRACE("tick " + std::to_string(i + 1));
            EXPECT_EQ(s.fireCounter, steps[i].counter);
            EXPECT_EQ(s.weaponFrame, steps[i].frame);
            EXPECT_EQ(shot, steps[i].shot);
        }
    }
};

TEST_F(FireCycleSteps, HunterTapFiresOnceAtSixAndReturnsToRest) {
    key[SHOOT] = 1;
    startFire(s, SHOOT);
    EXPECT_EQ(s.fireCounter, 12);
    key[SHOOT] = 0;
    run({{11, 0, false}, {10, 1, false}, {9, 1, false}, {8, 2, false}, {7, 2, false}, {6, 3, true},
         {5, 3, false}, {4, 4, false}, {3, 4, false}, {2, 5, false}, {1, 5, false}, {0, 0, false}});
    EXPECT_FALSE(publicTick());
    EXPECT_EQ(s.fireCounter, 0);
    EXPECT_EQ(shotsFired, std::vector<int>{WEAPON_HUNTER});
}

TEST_F(FireCycleSteps, HunterHeldFinishesItsCycleAndWaitsForTheNextFireStart) {
    key[SHOOT] = 1;
    startFire(s, SHOOT);
    for (int i = 0; i < 12; ++i) tick();
    EXPECT_EQ(s.fireCounter, 0);
    EXPECT_FALSE(tick());  // no new cycle without a fire start
    startFire(s, SHOOT);
    EXPECT_EQ(s.fireCounter, 12);
    // A cycle under way is not restarted by the held key.
    tick();
    startFire(s, SHOOT);
    EXPECT_EQ(s.fireCounter, 11);
}

TEST_F(FireCycleSteps, BuzzsawHeldLoopsFromFiveToTenAndAlternatesFramesTwoAndThree) {
    s.weapon = WEAPON_BUZZSAW;
    s.buzzsawBullets = 100;
    key[SHOOT] = 1;
    startFire(s, SHOOT);
    run({{11, 0, false}, {10, 1, false}, {9, 1, false}, {8, 2, false}, {7, 2, false}, {6, 3, true},
         {10, 3, false}, {9, 3, false}, {8, 2, false}, {7, 2, false}, {6, 3, true}, {10, 3, false}});
    key[SHOOT] = 0;  // released: the cycle runs out
    run({{9, 3, false}, {8, 2, false}, {7, 2, false}, {6, 3, true}, {5, 3, false}, {4, 4, false}, {3, 4, false},
         {2, 5, false}, {1, 5, false}, {0, 0, false}});
    EXPECT_EQ(s.buzzsawBullets, 97);
}

TEST_F(FireCycleSteps, ImpactCannonHeldLoopsFromThreeToElevenThroughFramesThreeFourOneTwo) {
    s.weapon = WEAPON_IMPACT_CANNON;
    s.impactBullets = 100;
    key[SHOOT] = 1;
    startFire(s, SHOOT);
    run({{11, 0, false}, {10, 1, false}, {9, 1, false}, {8, 2, false}, {7, 2, false}, {6, 3, true},
         {5, 3, false}, {4, 4, false}, {11, 4, false}, {10, 1, false}, {9, 1, false}, {8, 2, false},
         {7, 2, false}, {6, 3, true}, {5, 3, false}, {4, 4, false}, {11, 4, false}});
    EXPECT_EQ(s.impactBullets, 98);
}

TEST_F(FireCycleSteps, HeldRatesOverTenSeconds) {
    const int ticks = 320;
    struct Case {
        int weapon;
        int expectedShots;
    } cases[] = {{WEAPON_BUZZSAW, 63}, {WEAPON_IMPACT_CANNON, 40}};
    for (const Case& c : cases) {
        s = LevelState();
        s.weapon = c.weapon;
        s.impactBullets = s.buzzsawBullets = 1000;
        shotsFired.clear();
        key[SHOOT] = 1;
        startFire(s, SHOOT);
        for (int i = 0; i < ticks; ++i) tick();
        // First shot at tick 6, then every 5 (6.4/s) or every 8 ticks (4/s).
        EXPECT_EQ(static_cast<int>(shotsFired.size()), c.expectedShots) << "weapon " << c.weapon;
    }
    // The Hunter, one tick per frame with the fire start before the tick: a shot every 12 ticks.
    s = LevelState();
    shotsFired.clear();
    for (int i = 0; i < ticks; ++i) {
        startFire(s, SHOOT);
        tick();
    }
    EXPECT_EQ(static_cast<int>(shotsFired.size()), 27);
}

TEST(WeaponChoice, KeysSelectOnlyWeaponsWithBulletsAndTheLastHeldWins) {
    releaseAllKeys();
    LevelState s;
    key[KEY_2] = 1;
    chooseWeapon(s);
    EXPECT_EQ(s.weapon, WEAPON_HUNTER) << "no Impact Cannon bullets";
    key[KEY_2] = 0;
    key[KEY_3] = 1;
    chooseWeapon(s);
    EXPECT_EQ(s.weapon, WEAPON_HUNTER) << "no Buzzsaw bullets";

    s.impactBullets = 5;
    s.buzzsawBullets = 5;
    key[KEY_2] = 1;
    key[KEY_3] = 1;
    chooseWeapon(s);
    EXPECT_EQ(s.weapon, WEAPON_BUZZSAW);
    key[KEY_1] = 1;
    chooseWeapon(s);
    EXPECT_EQ(s.weapon, WEAPON_BUZZSAW) << "1, 2 and 3 held: the Buzzsaw is tested last";
    releaseAllKeys();
    key[KEY_1] = 1;
    chooseWeapon(s);
    EXPECT_EQ(s.weapon, WEAPON_HUNTER);
    releaseAllKeys();
    key[KEY_2] = 1;
    chooseWeapon(s);
    EXPECT_EQ(s.weapon, WEAPON_IMPACT_CANNON);

    // A cycle under way goes on with the new weapon's pictures.
    s.fireCounter = 7;
    s.weaponFrame = 2;
    releaseAllKeys();
    key[KEY_3] = 1;
    chooseWeapon(s);
    EXPECT_EQ(s.weapon, WEAPON_BUZZSAW);
    EXPECT_EQ(s.fireCounter, 7);
    EXPECT_EQ(s.weaponFrame, 2);
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

namespace {
Kelda_sprite monster(float x, float y, int health, int type) {
    Kelda_sprite m{};
    m.x = x;
    m.y = y;
    m.health = health;
    m.textureIndex = type;
    return m;
}

class Shots : public ::testing::Test {
protected:
    void SetUp() override {
        shotsFired.clear();
        sprites = {monster(3, 3, 2, 1), monster(4, 4, 0, 0), monster(5, 5, 1, 7), monster(6, 6, 1, 2)};
        target.sprites = sprites.data();
        target.spriteCount = static_cast<int>(sprites.size());
        target.playShot = recordShot;
    }
    std::vector<Kelda_sprite> sprites;
    ShotTarget target;
    LevelState s;
};
}  // namespace

TEST_F(Shots, HitsCostOneHealthAndTheKillMovesTheMonsterAndPays) {
    target.crosshair = 0;
    fireShot(s, target);
    EXPECT_EQ(sprites[0].health, 1);
    EXPECT_EQ(sprites[0].x, 3.0f);
    EXPECT_EQ(s.points, 0);
    fireShot(s, target);
    EXPECT_EQ(sprites[0].health, 0);
    EXPECT_EQ(sprites[0].x, 0.0f);
    EXPECT_EQ(sprites[0].y, 0.0f);
    EXPECT_EQ(s.points, 2);
    // A removed sprite under the crosshair sinks below 0 and pays nothing.
    fireShot(s, target);
    EXPECT_EQ(sprites[0].health, -1);
    EXPECT_EQ(s.points, 2);
    EXPECT_EQ(shotsFired, (std::vector<int>{0, 0, 0}));
}

TEST_F(Shots, SceneryAndMissesPayNothing) {
    target.crosshair = 1;
    fireShot(s, target);
    EXPECT_EQ(sprites[1].health, -1);
    EXPECT_EQ(sprites[1].x, 4.0f);
    target.crosshair = -1;
    fireShot(s, target);
    EXPECT_EQ(s.points, 0);
    // An index the engine could never give is ignored rather than read.
    target.crosshair = 4;
    fireShot(s, target);
    target.crosshair = 1 << 30;
    fireShot(s, target);
    EXPECT_EQ(s.points, 0);
    EXPECT_EQ(shotsFired.size(), 4u);
}

TEST_F(Shots, UnknownMonsterTypeIsWorthOnePoint) {
    target.crosshair = 2;
    fireShot(s, target);
    EXPECT_EQ(s.points, 1);
}

TEST_F(Shots, BulletsAreSpentByTheWeaponThatFiredEvenOnAMiss) {
    target.crosshair = -1;
    s.impactBullets = 5;
    s.buzzsawBullets = 7;
    fireShot(s, target);
    EXPECT_EQ(s.impactBullets, 5);
    EXPECT_EQ(s.buzzsawBullets, 7);
    s.weapon = WEAPON_IMPACT_CANNON;
    fireShot(s, target);
    EXPECT_EQ(s.impactBullets, 4);
    EXPECT_EQ(s.buzzsawBullets, 7);
    s.weapon = WEAPON_BUZZSAW;
    fireShot(s, target);
    EXPECT_EQ(s.impactBullets, 4);
    EXPECT_EQ(s.buzzsawBullets, 6);
    EXPECT_EQ(shotsFired, (std::vector<int>{0, 1, 2}));
}

TEST_F(Shots, RunningDrySwitchesToTheOtherBulletWeaponOrTheHunter) {
    target.crosshair = -1;
    s.weapon = WEAPON_IMPACT_CANNON;
    s.impactBullets = 1;
    s.buzzsawBullets = 4;
    fireShot(s, target);
    EXPECT_EQ(s.impactBullets, 0);
    EXPECT_EQ(s.buzzsawBullets, 4) << "the Buzzsaw count does not change through that shot";
    EXPECT_EQ(s.weapon, WEAPON_BUZZSAW);

    s.buzzsawBullets = 1;
    fireShot(s, target);
    EXPECT_EQ(s.weapon, WEAPON_HUNTER) << "no Impact Cannon bullets left either";

    s.weapon = WEAPON_BUZZSAW;
    s.buzzsawBullets = 1;
    s.impactBullets = 2;
    fireShot(s, target);
    EXPECT_EQ(s.weapon, WEAPON_IMPACT_CANNON);

    s.impactBullets = 1;
    fireShot(s, target);
    EXPECT_EQ(s.weapon, WEAPON_HUNTER);
    EXPECT_EQ(s.impactBullets, 0);
}

TEST_F(Shots, HunterKillReachingSixteenSelectsTheImpactCannonWithAllFifteenBullets) {
    s.points = 15;
    target.crosshair = 2;  // worth 1
    fireShot(s, target);
    EXPECT_EQ(s.points, 16);
    EXPECT_EQ(s.weapon, WEAPON_IMPACT_CANNON);
    EXPECT_EQ(s.impactBullets, 15);
}

TEST_F(Shots, LastImpactBulletKillThatGrantsAmmoKeepsTheCannon) {
    s.weapon = WEAPON_IMPACT_CANNON;
    s.impactBullets = 1;
    s.points = 15;
    target.crosshair = 2;
    fireShot(s, target);
    EXPECT_EQ(s.impactBullets, 15);
    EXPECT_EQ(s.weapon, WEAPON_IMPACT_CANNON);
}

