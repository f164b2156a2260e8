// The rules of play on plain state: weapon choice, the fire cycle tick by tick, shots, bullets, points and
// what the thresholds grant, and the monster pass.
#include <gtest/gtest.h>

#include <cmath>

#include "game/monsters.h"
#include "game/scoring.h"
#include "game/ticks.h"

static const int H = WEAPON_HUNTER, I = WEAPON_IMPACT_CANNON, B = WEAPON_BUZZSAW;
using Ints = std::vector<int>;
static Ints shots;  // the weapon of every shot, in order
static void recordShot(int weapon) { shots.push_back(weapon); }

// Counter/frame after every tick, "*" where it fired; one tick a frame, the key held for the first ticks.
TEST(FireCycle, FiresAtSixAndHeldAutomaticWeaponsCycleOn) {
    const std::string toShot = "12 11/0 10/1 9/1 8/2 7/2 6/3*", rest = " 5/3 4/4 3/4 2/5 1/5 0/0";
    const std::string buzz = " 10/3 9/3 8/2 7/2 6/3*", impact = " 5/3 4/4 11/4 10/1 9/1 8/2 7/2 6/3*";
    const std::pair<Ints, std::string> cases[] = {  // weapon, ticks, held for
        {{H, 14, 14}, toShot + rest + " 11/0 10/1"},  // a new cycle only once one ended
        {{B, 22, 12}, toShot + buzz + buzz + rest},
        {{I, 17, 17}, toShot + impact + " 5/3 4/4 11/4"},
    };
    for (const auto& [c, expected] : cases) {
        LevelState s;
        s.weapon = c[0], s.impactBullets = s.buzzsawBullets = 9;
        startFire(s, true);
        std::string cycle = std::to_string(s.fireCounter);
        for (int t = 0; t < c[1]; ++t) {
            const size_t before = shots.size();
            startFire(s, t < c[2]);
            processTicks(s, 1, t < c[2], ShotTarget{nullptr, 0, -1, recordShot});
            cycle += " " + std::to_string(s.fireCounter) + "/" + std::to_string(s.weaponFrame);
            cycle += shots.size() > before ? "*" : "";
        }
        EXPECT_EQ(cycle, expected) << "weapon " << c[0];
    }
}

TEST(WeaponChoice, OnlyWeaponsWithBulletsAndTheLastTestedWins) {
    const int cases[][7] = {  // keys 1, 2, 3 held; impact, buzzsaw bullets; weapon before, after
        {0, 1, 0, 0, 5, B, B}, {0, 0, 1, 5, 0, H, H}, {1, 1, 1, 5, 5, H, B},
        {1, 1, 0, 5, 5, B, I}, {1, 0, 0, 5, 5, B, H}, {0, 0, 0, 5, 5, I, I},
    };
    for (const auto& c : cases) {
        const Controls k{false, false, false, false, false, false, false, c[0] == 1, c[1] == 1, c[2] == 1};
        LevelState s;
        s.impactBullets = c[3], s.buzzsawBullets = c[4], s.weapon = c[5];
        s.fireCounter = 7, s.weaponFrame = 2;  // a cycle under way goes on with the new weapon's pictures
        chooseWeapon(s, k);
        EXPECT_EQ(Ints({s.weapon, s.fireCounter, s.weaponFrame}), Ints({c[6], 7, 2})) << c[0] << c[1] << c[2] << c[3];
    }
    EXPECT_EQ(Ints({startingWeapon(0, 0), startingWeapon(3, 0), startingWeapon(0, 3), startingWeapon(3, 3)}),
              Ints({H, I, B, B}));
}

// One sprite at (3, 3); a kill moves it to (0, 0). Scenery and the removed sink below 0 and pay nothing.
TEST(Shots, DamageKillPointsBulletsAndTheAutomaticSwitch) {
    const int cases[][13] = {  // weapon, impact, buzzsaw, points, crosshair, health, type; then what they became
        {H, 5, 7, 0, 0, 2, 1, H, 5, 7, 0, 1, 6},  {H, 5, 7, 0, 0, 1, 1, H, 5, 7, 2, 0, 0},  // hurt; killed, paid
        {H, 5, 7, 0, 0, 0, 0, H, 5, 7, 0, -1, 6}, {H, 5, 7, 0, 0, -1, 1, H, 5, 7, 0, -2, 6},
        {H, 5, 7, 0, -1, 1, 1, H, 5, 7, 0, 1, 6}, {H, 5, 7, 0, 1, 1, 1, H, 5, 7, 0, 1, 6},  // a miss; no such sprite
        {H, 5, 7, 0, 1 << 30, 1, 1, H, 5, 7, 0, 1, 6}, {H, 5, 7, 0, 0, 1, 7, H, 5, 7, 1, 0, 0},
        {I, 1, 0, 15, 0, 1, 0, I, 15, 0, 16, 0, 0},  // the kill pays before the last bullet is spent
        {I, 5, 7, 0, -1, 1, 1, I, 4, 7, 0, 1, 6}, {B, 5, 7, 0, -1, 1, 1, B, 5, 6, 0, 1, 6},
        {I, 1, 4, 0, -1, 1, 1, B, 0, 4, 0, 1, 6}, {I, 1, 0, 0, -1, 1, 1, H, 0, 0, 0, 1, 6},
        {B, 2, 1, 0, -1, 1, 1, I, 2, 0, 0, 1, 6}, {B, 0, 1, 0, -1, 1, 1, H, 0, 0, 0, 1, 6},
        {I, 0, 3, 0, -1, 1, 1, B, 0, 3, 0, 1, 6},  // fired empty: never below 0
    };
    for (const auto& c : cases) {
        Kelda_sprite sprite[2] = {{3, 3, nullptr, c[5], c[6]}, {3, 3, nullptr, 1, 1}};  // the second is not counted
        LevelState s;
        s.weapon = c[0], s.impactBullets = c[1], s.buzzsawBullets = c[2], s.points = c[3];
        shots.clear();
        fireShot(s, ShotTarget{sprite, 1, c[4], recordShot});
        EXPECT_EQ(Ints({s.weapon, s.impactBullets, s.buzzsawBullets, s.points, sprite[0].health,
                        static_cast<int>(sprite[0].x + sprite[0].y), sprite[1].health}),
                  Ints({c[7], c[8], c[9], c[10], c[11], c[12], 1})) << c[0] << c[1] << c[2] << c[4];
        EXPECT_EQ(shots, Ints{c[0]});
    }
}

TEST(Scoring, ThresholdsOfSixteenThirtyTwoAndSixtyFour) {
    const char* const messages[] = {"0", "Extra ammo32", "Extra life32"};
    const int cases[][10] = {  // points, weapon, type killed; weapon, impact, buzzsaw, points, health, lives, message
        {14, H, 0, H, 0, 0, 15, 1, 0, 0}, {15, H, 0, I, 15, 0, 16, 1, 0, 1}, {47, B, 0, B, 15, 0, 48, 1, 0, 1},
        {31, H, 0, B, 15, 30, 32, 1, 0, 1}, {95, I, 0, B, 15, 30, 96, 1, 0, 1}, {62, H, 2, B, 15, 30, 66, 5, 1, 2},
    };  // a chosen bullet weapon stays; 64 is crossed once on the way to 66
    for (const auto& c : cases) {
        LevelState s;
        s.points = c[0], s.weapon = c[1], s.health = 1;
        payKill(s, c[2]);
        EXPECT_EQ(Ints({s.weapon, s.impactBullets, s.buzzsawBullets, s.points, s.health, s.lives}), Ints(c + 3, c + 9));
        EXPECT_EQ(s.message + std::to_string(s.messageTimer), messages[c[9]]) << "from " << c[0];
    }
    LevelState s;
    for (int i = 0; i < 32; ++i) payKill(s, 2);
    EXPECT_EQ(Ints({s.weapon, s.impactBullets, s.buzzsawBullets, s.points, s.lives}), Ints({B, 120, 120, 128, 2}));
}

// An 8 x 6 world, the player at (1.5, 1.5) unless a case moves them.
TEST(MonsterPass, ContactWaitingChaseSlidingAndTheGridsEdge) {
    const int W = 8, H = 6, NO_BORDER = -2;
    const float cases[][12] = {  // x, y, step; x, y after; health, seen, invulnerable, wall; health, yours; your x
        {5.5f, 3.5f, 0.5f, 5.5f, 3.5f, 1, 0, 0, -1, 1, 5, 1.5f},              // unseen: waits
        {5.5f, 3.5f, 0.5f, 5.0527864f, 3.2763932f, 1, 1, 0, -1, 1, 5, 1.5f},  // seen: chases
        {2.25f, 1.5f, 0.1f, 2.15f, 1.5f, 1, 1, 0, -1, 1, 5, 1.5f},            // 0.75 away is no contact
        {1.5f, 2.24f, 0.1f, 0.0f, 0.0f, 1, 0, 0, -1, 0, 4, 1.5f},             // unseen, touches
        {1.5f, 2.24f, 0.1f, 0.0f, 0.0f, 1, 1, 1, -1, 0, 5, 1.5f},             // invulnerable
        {1.5f, 2.0f, 0.1f, 1.5f, 2.0f, 0, 1, 0, -1, 0, 5, 1.5f},              // scenery
        {4.5f, 3.5f, 1.0f, 4.5f, 2.9452998f, 1, 1, 0, 3 * W + 3, 1, 5, 1.5f}, // x refused, y slides
        {4.5f, 3.5f, 1.0f, 3.6679497f, 3.5f, 1, 1, 0, 2 * W + 3, 1, 5, 1.5f}, // y refused, x slides
        {4.5f, 1.5f, 3.4f, 1.1f, 1.5f, 1, 1, 0, W + 3, 1, 5, 1.5f},           // only the cell reached counts
        {0.5f, 1.5f, 5.0f, 0.5f, 1.5f, 1, 1, 0, NO_BORDER, 1, 5, -30.0f},   // no step leaves the grid
        {7.5f, 1.5f, 5.0f, 2.5f, 1.5f, 1, 1, 0, NO_BORDER, 1, 5, -30.0f},
        {0.5f, 1.5f, 1e20f, 0.5f, 1.5f, 1, 1, 0, NO_BORDER, 1, 5, 1e30f},
    };
    for (const auto& c : cases) {
        const int wall = static_cast<int>(c[8]);
        std::vector<unsigned short> walls(W * H, 0xFFFF);
        for (int i = 0; i < W * H; ++i)
            if (i == wall || (wall != NO_BORDER && (i % W == 0 || i % W == W - 1 || i < W || i >= W * (H - 1))))
                walls[i] = 1;
        Kelda_sprite m{c[0], c[1], nullptr, static_cast<int>(c[5]), 0};
        const unsigned char seen = c[6] > 0;
        LevelState s;
        s.monstersLeft = true;  // until the pass finds otherwise
        const MonsterWorld w{&m, &seen, 1, c[11], 1.5f, walls.data(), W, H};
        monsterPass(s, w, c[2], c[7] > 0);
        EXPECT_TRUE(std::fabs(m.x - c[3]) < 1e-5f && std::fabs(m.y - c[4]) < 1e-5f) << c[0] << "," << c[1];
        EXPECT_EQ(Ints({m.health, s.health, s.points, s.monstersLeft}),  // a removed monster counts in its frame
                  Ints({static_cast<int>(c[9]), static_cast<int>(c[10]), 0, c[5] > 0}));
        EXPECT_FALSE(cellFree(w, -1, 2) || cellFree(w, W, 2) || cellFree(w, 2, H) || cellFree(w, 2, -1));
    }
}
