#pragma once
// The plain state of one attempt at a level, shared by the fire cycle, scoring, the monster
// pass and the heads-up display so that each can be exercised on its own.
#include <string>

const int WEAPON_HUNTER = 0;
const int WEAPON_IMPACT_CANNON = 1;
const int WEAPON_BUZZSAW = 2;
const int WEAPON_COUNT = 3;
const int WEAPON_FRAMES = 6;

const int MAX_HEALTH = 5;

struct LevelState {
    // The campaign's counters, carried in and handed back by the level loop.
    int points = 0;
    int impactBullets = 0;
    int buzzsawBullets = 0;
    int lives = 0;

    int health = MAX_HEALTH;
    int weapon = WEAPON_HUNTER;
    int weaponFrame = 0;
    int fireCounter = 0;  // 0: no shot under way
    std::string message;
    int messageTimer = 0;  // ticks left to show the message
    int healthUnit = 0;    // pixels per point of health on the bar
    bool showFps = false;
    bool quit = false;
    bool monstersLeft = false;
};

// The weapon a level starts with: the strongest one that still has bullets.
int startingWeapon(int impactBullets, int buzzsawBullets);
