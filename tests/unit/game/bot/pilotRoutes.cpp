// Finding the way: turning towards a point and walking a route cell by cell.
#include "game/bot/pilot.h"

#include <cmath>

#include "game/bot/pace.h"

namespace bot {

void Pilot::face(Controls& c, float tx, float ty) {
    const float err = wrap(std::atan2(ty - e.posY, tx - e.posX) - facing());
    // Within half a frame's turn the next turn would overshoot by more than it corrects.
    if (err > 0.5f * turnStep) c.turnLeft = true;
    if (err < -0.5f * turnStep) c.turnRight = true;
}

void Pilot::navigate(Controls& c, float tx, float ty, double now) {
    const Cell to = cellOf(tx, ty);
    const std::vector<int>& steps = stepsTo(to);
    Cell at = cellOf(e.posX, e.posY);
    float wx = tx, wy = ty;
    if (at.x != to.x || at.y != to.y) {
        // Walk down the step field and aim at the farthest cell centre that is in plain view.
        const int dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        Cell cur = at;
        bool first = true;
        for (int n = 0; n < 10; ++n) {
            const int here = steps[cur.y * grid.width() + cur.x];
            if (here <= 0) break;
            Cell next = cur;
            for (const auto& d : dirs) {
                const int nx = cur.x + d[0], ny = cur.y + d[1];
                if (grid.open(nx, ny) && steps[ny * grid.width() + nx] == here - 1) {
                    next = {nx, ny};
                    break;
                }
            }
            if (next.x == cur.x && next.y == cur.y) break;
            cur = next;
            const float cx = cur.x + 0.5f, cy = cur.y + 0.5f;
            const bool last = cur.x == to.x && cur.y == to.y;
            const float px = last ? tx : cx, py = last ? ty : cy;
            const float len = distance(e.posX, e.posY, px, py);
            const float nx = (py - e.posY) / len * 0.2f, ny = -(px - e.posX) / len * 0.2f;
            const bool seen = grid.clear(e.posX, e.posY, px, py) &&
                              grid.clear(e.posX + nx, e.posY + ny, px + nx, py + ny) &&
                              grid.clear(e.posX - nx, e.posY - ny, px - nx, py - ny);
            if (!seen && !first) break;
            wx = px;
            wy = py;
            first = false;
        }
    }
    face(c, wx, wy);
    const float err = wrap(std::atan2(wy - e.posY, wx - e.posX) - facing());
    if (std::fabs(err) < 0.35f) c.forward = true;

    // Caught on a corner: a few sidesteps towards the open side free the way.
    if (sidestepFrames > 0) {
        --sidestepFrames;
        (sidestepLeft ? c.strafeLeft : c.strafeRight) = true;
    } else if (c.forward) {
        if (distance(e.posX, e.posY, lastX, lastY) > 0.05f) {
            lastX = e.posX;
            lastY = e.posY;
            lastProgress = now;
        } else if (now - lastProgress > 0.6) {
            const float lx = -e.dirY, ly = e.dirX;
            sidestepLeft = grid.run(e.posX, e.posY, lx, ly, 2.0f) >= grid.run(e.posX, e.posY, -lx, -ly, 2.0f);
            sidestepFrames = 8;
            lastProgress = now;
        }
    } else {
        lastProgress = now;
    }
}

}  // namespace bot
