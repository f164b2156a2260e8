#pragma once
// The bot at the keys: it fights what is in view, waits for or fetches what is on its way, else
// walks to the next monster; it gives up on a monster it cannot walk to. As a human it knows only
// the monsters it has had on screen for a reaction time, and where it last saw them, and it
// explores the level to find the rest.
#include <functional>
#include <vector>

#include "engine/engine.h"
#include "game/levelState.h"
#include "input/controls.h"
#include "playtest/route.h"

namespace playtest {

class Pilot {
public:
    explicit Pilot(const Kelda_engine& engine, bool human = false);
    // Called once per frame after the view was drawn; `now` is game time in seconds.
    Controls decide(const LevelState& s, double now);
    // The monster the bot gave up on, or -1 while it plays on.
    int unreachable = -1;

private:
    struct Memory {
        float x, y;        // where it was when last seen to make headway
        double movedAt;    // last time it was seen to move
        bool fetched;      // the bot went to it where it was caught on a wall
        float seenX, seenY;  // where it was last on screen
        double firstSeen;  // when it first came on screen, or -1
    };
    struct Spot {
        float x, y;
    };

    bool alive(int i) const;
    bool knows(int i, double now) const;
    Spot at(int i) const;  // where the bot believes monster i is
    bool onScreen(float x, float y) const;
    void explore();
    int nearestUnexplored(const std::vector<int>& stepsHere) const;
    bool stuck(int i, double now) const;
    float facing() const;
    void remember(double now);
    void face(Controls& c, float tx, float ty) const;
    void navigate(Controls& c, float tx, float ty) const;
    bool inDanger(const LevelState& s, const std::vector<int>& threats, int weapon) const;
    void bestMove(Controls& c, const std::function<float(float, float)>& safety) const;
    void retreatAround(Controls& c, int threat) const;
    void engage(Controls& c, const LevelState& s, int target, double now) const;
    std::vector<int> threatsInView(double now) const;

    const Kelda_engine& e;
    const bool human;
    Route route;
    std::vector<Memory> memory;
    std::vector<char> explored;  // cells the human has had in view
    int lookedAgain = 0;         // times it began exploring afresh
    mutable double dangerSince = -1.0;  // when monsters began to be too close to shoot in time
};

}  // namespace playtest
