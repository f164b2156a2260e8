#pragma once
// The level grid as the playtest bot reads it: open cells, routes on foot and lines of sight.
#include <vector>

namespace bot {

struct Cell {
    int x = 0;
    int y = 0;
};

class Grid {
public:
    Grid(const unsigned short* walls, int width, int height);

    bool open(int x, int y) const;
    bool openAt(float x, float y) const;
    int width() const { return w; }
    int height() const { return h; }

    // Steps on foot (four neighbours) from every cell to `to`; -1 where `to` cannot be reached.
    std::vector<int> stepsTo(Cell to) const;
    // True when the straight segment crosses open cells only.
    bool clear(float ax, float ay, float bx, float by) const;
    // Length of the open run from (x, y) along the unit direction (dx, dy), up to `limit`.
    float run(float x, float y, float dx, float dy, float limit) const;

private:
    const unsigned short* walls;
    int w;
    int h;
};

Cell cellOf(float x, float y);

}  // namespace bot
