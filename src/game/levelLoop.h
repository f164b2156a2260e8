#pragma once
// One attempt at a level: set-up, the frame loop and the result.
#include <string>

#include "engine/engine.h"
#include "game/frameClock.h"
#include "game/hud.h"
#include "game/levelState.h"
#include "game/ticks.h"

// Everything the loop does to the world outside the program, replaceable for tests.
struct LevelIO {
    void (*present)();        // show the back buffer
    bool (*askQuit)();        // the quit question; true for "Yes"
    double (*now)();          // monotonic seconds
    void (*playShot)(int weapon);
};
LevelIO defaultLevelIO();
// After the quit question: the click, and on "Yes" the key that answered, are used up.
void settleQuitAnswer(bool quit);
// The hooks doMap uses; defaults to the real screen, alert, clock and sound.
extern LevelIO levelIO;

const int LEVEL_WON = 0;
const int LEVEL_DIED = 1;
const int LEVEL_LAST_WON = 2;
const int LEVEL_QUIT = 3;
const int LAST_LEVEL_BONUS = 50;

std::string levelPath(int level);

// Why a level file could not be used; ok when it loaded.
struct LevelLoad {
    enum Kind { ok, notFound, badTexture, malformed } kind = ok;
    std::string detail;  // the texture path or the reason
};
LevelLoad loadLevel(Kelda_engine& engine, const std::string& path);
// Ends the program with the matching message (Error010 or Error006).
[[noreturn]] void reportLevelLoad(const LevelLoad& load, const std::string& path);

// Speeds for this frame, from global.speedFactor.
float moveSpeed();
float turnSpeed();
float enemyMoveSpeed();


// A loaded level being played. The view is global.buffer's size; columns and depth must match.
class LevelRun {
public:
    LevelRun(Kelda_engine& engine, int level, float* depthBuffer, int** columns, const LevelState& counters,
             const LevelIO& io);
    // One frame; false once the level is over.
    bool frame();
    // The result once frame() returned false; adds the bonus for the last level.
    int finish();

    LevelState state;

private:
    void controlKeys();

    Kelda_engine& engine;
    int level;
    int** columns;
    int width;
    int height;
    LevelIO io;
    FrameClock clock;
    HudArt art;
    bool escArmed = true;
};
