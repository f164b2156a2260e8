#pragma once
// One attempt at a level: set-up, the frame loop and the result.
#include "engine/engine.h"
#include "game/frameClock.h"
#include "game/hud.h"
#include "engine/levelLoad.h"
#include "game/levelState.h"
#include "platform/platform.h"

const int LEVEL_WON = 0;
const int LEVEL_DIED = 1;
const int LEVEL_LAST_WON = 2;
const int LEVEL_QUIT = 3;
const int LAST_LEVEL_BONUS = 50;

// Ends the program with the matching message (Error010 or Error006).
[[noreturn]] void reportLevelLoad(const LevelLoad& load, const std::string& path);

// Speeds for this frame, from global.speedFactor.
float moveSpeed();
float turnSpeed();
float enemyMoveSpeed();

// A loaded level being played. The view is global.buffer's size; columns and depth must match.
class LevelRun {
public:
    LevelRun(Kelda_engine& engine, int level, float* depthBuffer, int** columns, const LevelState& counters);
    // The view, its copy into global.buffer and the heads-up display.
    void draw();
    // Everything after the frame was shown, with what the player holds and the waiting ticks;
    // false once the level is over.
    bool step(const platform::Input& in);
    // The result once step() returned false; adds the bonus for the last level.
    int finish();

    LevelState state;

private:
    void controlKeys(const platform::Input& in);

    Kelda_engine& engine;
    int level;
    int** columns;
    int width;
    int height;
    FrameClock clock;
    HudArt art;
    bool escArmed = true;
};
