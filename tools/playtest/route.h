#pragma once
// The level's grid as the bot walks it: open cells, steps on foot, and straight lines of sight.
#include <array>
#include <vector>

#include "engine/engine.h"

namespace playtest {

struct Cell {
    int x, y;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y; }
};
Cell cellOf(float x, float y);
std::array<Cell, 4> neighbours(Cell c);

class Route {
public:
    explicit Route(const Kelda_engine& engine) : e(engine) {}
    bool open(float x, float y) const;
    // Steps on foot (four neighbours) from every cell to `to`, -1 where it cannot be reached.
    std::vector<int> stepsTo(Cell to) const;
    // Whether the straight segment crosses open cells only.
    bool clear(float ax, float ay, float bx, float by) const;
    int index(Cell c) const { return c.y * e.mapWidth + c.x; }

private:
    const Kelda_engine& e;
};

}  // namespace playtest
