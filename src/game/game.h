#pragma once
// Level play: one campaign, one level at a time.
#include <allegro.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "game/levelState.h"
#include "platform/platform.h"

// Plays a campaign from the given level with the given counters, then restores the menu screen.
void game(int level, int points, int impactBullets, int buzzsawBullets, int lives);

// Plays one attempt at a level. 0 won (next level exists), 1 died, 2 last level won, 3 quit.
int doMap(int level, float* depthBuffer, int** columns, int& points, int& impactBullets, int& buzzsawBullets,
          int& lives);

// Someone other than the player at the keys (the playtest bot): made for the level as loaded, it
// changes what is held in each frame's input; false gives the level up (the result is then a quit).
using Steering = std::function<bool(platform::Input& in, const LevelState& state)>;
using SteeringFor = std::function<Steering(const Kelda_engine& engine)>;

// doMap for the level file at `path`; `level` is its number in the campaign, `counters` go in and
// come out. A file that cannot be loaded ends the program with Error010 or Error006.
int playLevelFile(const std::string& path, int level, float* depthBuffer, int** columns, LevelState& counters,
                  const SteeringFor& steering = nullptr);

// The screen of a campaign for as long as the object lives: the mode of resolution.txt, its back
// buffer and view buffers, the weapon pictures and the shot sounds. The menus' screen comes back after.
class GameScreen {
public:
    GameScreen();
    ~GameScreen();
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    std::vector<float> depth;
    std::vector<int*> columns;

private:
    BITMAP* menuBuffer;
    std::vector<int> pixels;
};
