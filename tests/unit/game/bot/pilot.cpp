// The playtest bot: fight what is in view, wait for or fetch what is on its way, else walk to the
// next monster; and give up, naming the monster, when none left can be reached.
#include "game/bot/pilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <queue>

namespace bot {

namespace {
// The game's pace as the bot knows it.
const float PI_F = 3.14159265f;
const float WALK_SPEED = 3.0f;      // cells per second, as the level loop moves the player
const float TURN_SPEED = 2.0f;      // radians per second
const float MONSTER_SPEED = 3.4f;   // cells per second once a monster has been seen
const float CONTACT = 0.75f;
const float TICKS_PER_SECOND = 32.0f;
// Ticks between shots with the shoot key held; the Hunter waits for the next frame to start again.
const float SHOT_PERIOD[3] = {12.5f, 8.0f, 5.0f};
const double STUCK_SECONDS = 0.8;

// An angle brought into [-pi, pi].
float wrap(float a) {
    while (a > PI_F) a -= 2.0f * PI_F;
    while (a < -PI_F) a += 2.0f * PI_F;
    return a;
}

float distance(float ax, float ay, float bx, float by) { return std::hypot(ax - bx, ay - by); }

Cell cellOf(float x, float y) { return Cell{static_cast<int>(x), static_cast<int>(y)}; }
}  // namespace

bool Pilot::open(int x, int y) const {
    return x >= 0 && y >= 0 && x < e.mapWidth && y < e.mapHeight && e.walls[y * e.mapWidth + x] == 0xFFFF;
}

bool Pilot::openAt(float x, float y) const {
    return x >= 0.0f && y >= 0.0f && open(static_cast<int>(x), static_cast<int>(y));
}

std::vector<int> Pilot::stepsTo(Cell to) const {
    const int w = e.mapWidth;
    std::vector<int> steps(static_cast<size_t>(w) * e.mapHeight, -1);
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

bool Pilot::clear(float ax, float ay, float bx, float by) const {
    const float dx = bx - ax, dy = by - ay;
    const float length = std::sqrt(dx * dx + dy * dy);
    const int samples = static_cast<int>(length / 0.05f) + 1;
    for (int i = 0; i <= samples; ++i) {
        const float t = static_cast<float>(i) / samples;
        if (!openAt(ax + dx * t, ay + dy * t)) return false;
    }
    return true;
}

Pilot::Pilot(const Kelda_engine& engine, float frameSeconds)
    : e(engine),
      turnStep(TURN_SPEED * frameSeconds),
      walkStep(WALK_SPEED * frameSeconds),
      memory(static_cast<size_t>(engine.spriteCount)) {
    for (int i = 0; i < e.spriteCount; ++i) {
        memory[i].x = e.sprites[i].x;
        memory[i].y = e.sprites[i].y;
    }
}

float Pilot::facing() const { return std::atan2(e.dirY, e.dirX); }

bool Pilot::alive(int i) const {
    if (i < 0 || i >= e.spriteCount) return false;
    const Kelda_sprite& s = e.sprites[i];
    return s.health > 0 && !(s.x == 0.0f && s.y == 0.0f);
}

bool Pilot::stuck(int i, double now) const { return now - memory[i].movedAt > STUCK_SECONDS; }

void Pilot::remember(double now) {
    for (int i = 0; i < e.spriteCount; ++i) {
        Memory& m = memory[i];
        const Kelda_sprite& s = e.sprites[i];
        // A monster that has just been spotted counts as moving until it has had time to. One
        // pressed against a wall may jitter on the spot for ever: only real headway counts.
        if (distance(s.x, s.y, m.x, m.y) > 0.3f || (e.visible[i] && m.movedAt == 0.0)) {
            m.movedAt = now;
            m.x = s.x;
            m.y = s.y;
        }
    }
}

void Pilot::unreachable(int i) {
    char why[160];
    std::snprintf(why, sizeof why, "monster %d at (%.2f, %.2f) cannot be reached", i, e.sprites[i].x, e.sprites[i].y);
    gaveUp = why;
}

Controls Pilot::decide(const LevelState& s, double now) {
    remember(now);
    Controls c;
    if (!gaveUp.empty()) return c;

    std::vector<int> threats, unseen;
    for (int i = 0; i < e.spriteCount; ++i) {
        if (!alive(i)) continue;
        (e.visible[i] ? threats : unseen).push_back(i);
    }
    if (threats.empty() && unseen.empty()) return c;

    // A monster on its way and in plain view is the one to shoot: the nearest first.
    int target = -1;
    float best = 1e9f;
    for (int i : threats) {
        const Kelda_sprite& m = e.sprites[i];
        const float d = distance(e.posX, e.posY, m.x, m.y);
        if (d < best && clear(e.posX, e.posY, m.x, m.y)) {
            best = d;
            target = i;
        }
    }
    if (target >= 0) {
        engage(c, s, target, now);
        return c;
    }

    const std::vector<int> stepsHere = stepsTo(cellOf(e.posX, e.posY));
    auto stepsOf = [&](int i) {
        const Cell m = cellOf(e.sprites[i].x, e.sprites[i].y);
        return open(m.x, m.y) ? stepsHere[m.y * e.mapWidth + m.x] : -1;
    };
    auto nearestOf = [&](const std::vector<int>& list, bool onlyStuck) {
        int found = -1, fewest = 1 << 30;
        for (int i : list) {
            const int st = stepsOf(i);
            if (st >= 0 && st < fewest && (!onlyStuck || stuck(i, now))) {
                fewest = st;
                found = i;
            }
        }
        return found;
    };

    if (!threats.empty()) {
        // Monsters on their way but out of sight: wait for them facing the way they come, and
        // fetch any that got caught on a wall.
        const int caught = nearestOf(threats, true);
        if (caught >= 0) {
            memory[caught].fetched = true;
            navigate(c, e.sprites[caught].x, e.sprites[caught].y);
            return c;
        }
        const int coming = nearestOf(threats, false);
        if (coming >= 0) {
            Controls look;
            navigate(look, e.sprites[coming].x, e.sprites[coming].y);
            c.turnLeft = look.turnLeft;
            c.turnRight = look.turnRight;
            // Met at a corner it would be on the player before the first shot: make room.
            // Unless the bot went to fetch it, for then it would back off and go again for ever.
            if (stepsOf(coming) <= 4 && !memory[coming].fetched) retreatAround(c, coming);
            return c;
        }
        if (unseen.empty()) {
            unreachable(threats.front());
            return c;
        }
    }

    // Nothing on its way: walk to the nearest monster.
    const int next = nearestOf(unseen, false);
    if (next < 0) {
        unreachable(unseen.front());
        return c;
    }
    navigate(c, e.sprites[next].x, e.sprites[next].y);
    return c;
}

// Finding the way: turning towards a point and walking a route cell by cell.
void Pilot::face(Controls& c, float tx, float ty) {
    const float err = wrap(std::atan2(ty - e.posY, tx - e.posX) - facing());
    // Within half a frame's turn the next turn would overshoot by more than it corrects.
    if (err > 0.5f * turnStep) c.turnLeft = true;
    if (err < -0.5f * turnStep) c.turnRight = true;
}

void Pilot::navigate(Controls& c, float tx, float ty) {
    const Cell to = cellOf(tx, ty);
    const std::vector<int> steps = stepsTo(to);
    Cell at = cellOf(e.posX, e.posY);
    float wx = tx, wy = ty;
    if (at.x != to.x || at.y != to.y) {
        // Walk down the step field and aim at the farthest cell centre that is in plain view.
        const int dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        Cell cur = at;
        bool first = true;
        for (int n = 0; n < 10; ++n) {
            const int here = steps[cur.y * e.mapWidth + cur.x];
            if (here <= 0) break;
            Cell next = cur;
            for (const auto& d : dirs) {
                const int nx = cur.x + d[0], ny = cur.y + d[1];
                if (open(nx, ny) && steps[ny * e.mapWidth + nx] == here - 1) {
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
            const bool seen = clear(e.posX, e.posY, px, py) &&
                              clear(e.posX + nx, e.posY + ny, px + nx, py + ny) &&
                              clear(e.posX - nx, e.posY - ny, px - nx, py - ny);
            if (!seen && !first) break;
            wx = px;
            wy = py;
            first = false;
        }
    }
    face(c, wx, wy);
    const float err = wrap(std::atan2(wy - e.posY, wx - e.posX) - facing());
    if (std::fabs(err) < 0.35f) c.forward = true;
}

// The fight: aim, fire, the weapon for the moment, and backing off in time.
bool Pilot::inDanger(const LevelState& s, const std::vector<int>& threats, int weapon) const {
    float heading = facing();
    float busy = static_cast<float>(s.fireCounter) / TICKS_PER_SECOND;  // a cycle under way finishes first
    for (int i : threats) {
        const Kelda_sprite& m = e.sprites[i];
        const float bearing = std::atan2(m.y - e.posY, m.x - e.posX);
        busy += std::fabs(wrap(bearing - heading)) / TURN_SPEED;
        heading = bearing;
        busy += (6.0f + (m.health - 1) * SHOT_PERIOD[weapon]) / TICKS_PER_SECOND;
        const float contact = (distance(e.posX, e.posY, m.x, m.y) - CONTACT) / MONSTER_SPEED;
        if (busy > contact - 0.25f) return true;
    }
    return false;
}

void Pilot::bestMove(Controls& c, const std::function<float(float, float)>& safety) const {
    const float fx = e.dirX, fy = e.dirY;
    const float lx = -e.dirY, ly = e.dirX;  // strafing left moves this way
    float best = -1e9f;
    int bestFb = 0, bestLr = 0;
    for (int fb = -1; fb <= 1; ++fb) {
        for (int lr = -1; lr <= 1; ++lr) {
            // The same keys held for a third of a second, sliding along walls as the player does.
            float x = e.posX, y = e.posY;
            auto step = [&](float dx, float dy) {
                if (openAt(x + dx, y)) x += dx;
                if (openAt(x, y + dy)) y += dy;
            };
            for (int k = 0; k < 10; ++k) {
                if (fb) step(fx * walkStep * fb, fy * walkStep * fb);
                if (lr) step(lx * walkStep * lr, ly * walkStep * lr);
            }
            // Straight back keeps the target where the crosshair is.
            const float score = safety(x, y) - (lr ? 0.05f : 0.0f);
            if (score > best) {
                best = score;
                bestFb = fb;
                bestLr = lr;
            }
        }
    }
    c.forward = bestFb > 0;
    c.backward = bestFb < 0;
    c.strafeLeft = bestLr > 0;
    c.strafeRight = bestLr < 0;
}

void Pilot::retreatAround(Controls& c, int threat) {
    const Kelda_sprite& m = e.sprites[threat];
    const std::vector<int> away = stepsTo(cellOf(m.x, m.y));
    // Round corners the way it has to run counts, not the distance through the wall.
    bestMove(c, [&](float x, float y) {
        const Cell at = cellOf(x, y);
        return away[at.y * e.mapWidth + at.x] + 0.1f * distance(x, y, m.x, m.y);
    });
}

void Pilot::engage(Controls& c, const LevelState& s, int target, double now) {
    const Kelda_sprite& m = e.sprites[target];
    face(c, m.x, m.y);
    const int aimed = e.crosshairSprite;
    c.shoot = alive(aimed);

    std::vector<int> threats;
    for (int i = 0; i < e.spriteCount; ++i) {
        if (!alive(i) || !e.visible[i]) continue;
        const float d = distance(e.posX, e.posY, e.sprites[i].x, e.sprites[i].y);
        if (d < 3.0f || clear(e.posX, e.posY, e.sprites[i].x, e.sprites[i].y)) threats.push_back(i);
    }
    std::sort(threats.begin(), threats.end(), [&](int a, int b) {
        return distance(e.posX, e.posY, e.sprites[a].x, e.sprites[a].y) <
               distance(e.posX, e.posY, e.sprites[b].x, e.sprites[b].y);
    });
    // Bullets are for monsters that would otherwise arrive first.
    int weapon = WEAPON_HUNTER;
    if (inDanger(s, threats, WEAPON_HUNTER)) {
        if (s.buzzsawBullets > 0)
            weapon = WEAPON_BUZZSAW;
        else if (s.impactBullets > 0)
            weapon = WEAPON_IMPACT_CANNON;
    }
    if (weapon != s.weapon) c.weaponKey = weapon + 1;
    if (inDanger(s, threats, weapon)) {
        bestMove(c, [&](float x, float y) {
            float nearest = 1e9f;
            for (int i : threats) nearest = std::min(nearest, distance(x, y, e.sprites[i].x, e.sprites[i].y));
            return nearest;
        });
        return;
    }
    const float err = wrap(std::atan2(m.y - e.posY, m.x - e.posX) - facing());
    const bool aligned = std::fabs(err) < 2.0f * turnStep;
    if (aligned && !alive(aimed) && stuck(target, now)) {
        // Too far for the crosshair to settle on it and it does not come: go to it.
        c.forward = distance(e.posX, e.posY, m.x, m.y) > 2.0f;
    }
}

}  // namespace bot
