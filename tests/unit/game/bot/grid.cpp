#include "game/bot/grid.h"

#include <cmath>
#include <queue>

namespace bot {

Grid::Grid(const unsigned short* walls, int width, int height) : walls(walls), w(width), h(height) {}

bool Grid::open(int x, int y) const {
    return walls && x >= 0 && y >= 0 && x < w && y < h && walls[y * w + x] == 0xFFFF;
}

bool Grid::openAt(float x, float y) const {
    if (!(x >= 0.0f && y >= 0.0f)) return false;
    return open(static_cast<int>(x), static_cast<int>(y));
}

std::vector<int> Grid::stepsTo(Cell to) const {
    std::vector<int> steps(static_cast<size_t>(w) * h, -1);
    if (!open(to.x, to.y)) return steps;
    std::queue<Cell> todo;
    steps[to.y * w + to.x] = 0;
    todo.push(to);
    const int dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!todo.empty()) {
        Cell c = todo.front();
        todo.pop();
        for (const auto& d : dirs) {
            int nx = c.x + d[0], ny = c.y + d[1];
            if (open(nx, ny) && steps[ny * w + nx] < 0) {
                steps[ny * w + nx] = steps[c.y * w + c.x] + 1;
                todo.push({nx, ny});
            }
        }
    }
    return steps;
}

bool Grid::clear(float ax, float ay, float bx, float by) const {
    const float dx = bx - ax, dy = by - ay;
    const float length = std::sqrt(dx * dx + dy * dy);
    const int samples = static_cast<int>(length / 0.05f) + 1;
    for (int i = 0; i <= samples; ++i) {
        const float t = static_cast<float>(i) / samples;
        if (!openAt(ax + dx * t, ay + dy * t)) return false;
    }
    return true;
}

float Grid::run(float x, float y, float dx, float dy, float limit) const {
    float t = 0.0f;
    while (t < limit && openAt(x + dx * (t + 0.1f), y + dy * (t + 0.1f))) t += 0.1f;
    return t;
}

Cell cellOf(float x, float y) { return Cell{static_cast<int>(x), static_cast<int>(y)}; }

}  // namespace bot
