#pragma once
// The playtest bot's mind: from what the last frame showed to the keys a player would hold next.
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "game/levelState.h"

namespace bot {

// The player's controls for one frame; weaponKey is 0 (none) or the number key 1, 2 or 3.
struct Controls {
    bool forward = false, backward = false, turnLeft = false, turnRight = false;
    bool strafeLeft = false, strafeRight = false, shoot = false;
    int weaponKey = 0;
};

struct Cell {
    int x = 0;
    int y = 0;
};

class Pilot {
public:
    // seconds per frame: the bot plans its turns and steps with the frame time it will be given.
    Pilot(const Kelda_engine& engine, float frameSeconds);

    // Called once per frame after the view was drawn; `now` is game time in seconds.
    Controls decide(const LevelState& state, double now);
    // Why the bot gave up (a monster it can neither reach nor see); empty while it plays on.
    const std::string& failure() const { return gaveUp; }

private:
    struct Memory {
        float x = 0.0f, y = 0.0f;  // where it was when last seen to make headway
        double movedAt = 0.0;      // last time the monster was seen to move
        bool fetched = false;      // the bot went to it where it was caught on a wall
    };

    // The level grid: open cells, steps on foot (four neighbours) from every cell to `to`, -1
    // where it cannot be reached, and whether a straight segment crosses open cells only.
    bool open(int x, int y) const;
    bool openAt(float x, float y) const;
    std::vector<int> stepsTo(Cell to) const;
    bool clear(float ax, float ay, float bx, float by) const;

    bool alive(int i) const;
    bool stuck(int i, double now) const;
    void remember(double now);
    void engage(Controls& c, const LevelState& s, int target, double now);
    void navigate(Controls& c, float tx, float ty);
    void face(Controls& c, float tx, float ty);
    // Holds the movement keys whose next third of a second ends where `safety` is highest.
    void bestMove(Controls& c, const std::function<float(float, float)>& safety) const;
    void retreatAround(Controls& c, int threat);
    bool inDanger(const LevelState& s, const std::vector<int>& threats, int weapon) const;
    float facing() const;
    void unreachable(int monster);

    const Kelda_engine& e;
    float turnStep;
    float walkStep;
    std::vector<Memory> memory;
    std::string gaveUp;
};

}  // namespace bot
