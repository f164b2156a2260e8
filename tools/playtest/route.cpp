#include "playtest/route.h"

#include <cmath>
#include <queue>

namespace playtest {

Cell cellOf(float x, float y) { return Cell{static_cast<int>(x), static_cast<int>(y)}; }

std::array<Cell, 4> neighbours(Cell c) { return {{{c.x + 1, c.y}, {c.x - 1, c.y}, {c.x, c.y + 1}, {c.x, c.y - 1}}}; }

bool Route::open(float x, float y) const {
    return x >= 0 && y >= 0 && x < e.mapWidth && y < e.mapHeight &&
           e.walls[static_cast<int>(y) * e.mapWidth + static_cast<int>(x)] == 0xFFFF;
}

std::vector<int> Route::stepsTo(Cell to) const {
    std::vector<int> steps(static_cast<size_t>(e.mapWidth) * e.mapHeight, -1);
    if (!open(to.x, to.y)) return steps;
    std::queue<Cell> todo;
    steps[index(to)] = 0;
    todo.push(to);
    while (!todo.empty()) {
        const Cell c = todo.front();
        todo.pop();
        for (const Cell& n : neighbours(c))
            if (open(n.x, n.y) && steps[index(n)] < 0) {
                steps[index(n)] = steps[index(c)] + 1;
                todo.push(n);
            }
    }
    return steps;
}

bool Route::clear(float ax, float ay, float bx, float by) const {
    const float dx = bx - ax, dy = by - ay;
    const int samples = static_cast<int>(std::sqrt(dx * dx + dy * dy) / 0.05f) + 1;
    for (int i = 0; i <= samples; ++i) {
        const float t = static_cast<float>(i) / samples;
        if (!open(ax + dx * t, ay + dy * t)) return false;
    }
    return true;
}

}  // namespace playtest
