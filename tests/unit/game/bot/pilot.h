#pragma once
// The playtest bot's mind: from what the last frame showed to the keys a player would hold next.
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "game/bot/grid.h"
#include "game/levelState.h"

namespace bot {

// The player's controls for one frame; weaponKey is 0 (none) or the number key 1, 2 or 3.
struct Controls {
    bool forward = false;
    bool backward = false;
    bool turnLeft = false;
    bool turnRight = false;
    bool strafeLeft = false;
    bool strafeRight = false;
    bool shoot = false;
    int weaponKey = 0;
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
        double movedAt = 0.0;   // last time the monster was seen to move
        double peekFrom = -1.0;  // since when the bot has been trying to spot it from afar
        bool fetched = false;    // the bot went to it where it was caught on a wall
    };

    bool alive(int i) const;
    bool stuck(int i, double now) const;
    void remember(double now);
    void engage(Controls& c, const LevelState& s, int target, double now);
    void navigate(Controls& c, float tx, float ty, double now);
    void face(Controls& c, float tx, float ty);
    // Holds the movement keys whose next third of a second ends where `safety` is highest.
    void bestMove(Controls& c, const std::function<float(float, float)>& safety) const;
    void retreat(Controls& c, const std::vector<int>& threats);
    void retreatAround(Controls& c, int threat);
    void chooseWeapon(Controls& c, const LevelState& s, bool urgent);
    bool inDanger(const LevelState& s, const std::vector<int>& threats, int weapon) const;
    float facing() const;
    void unreachable(int monster);
    const std::vector<int>& stepsTo(Cell to);

    const Kelda_engine& e;
    Grid grid;
    float turnStep;
    float walkStep;
    std::vector<Memory> memory;
    std::string gaveUp;
    // The step field of the last route, kept while the destination stays the same.
    Cell routeTo{-1, -1};
    std::vector<int> routeSteps;
    float lastX = 0.0f, lastY = 0.0f;
    double lastProgress = 0.0;
    int sidestepFrames = 0;
    bool sidestepLeft = false;
};

}  // namespace bot
