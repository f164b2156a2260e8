// The choice of each frame: fight what is in view, wait for or fetch what is on its way, else walk
// to the next monster; and the bot gives up, naming the monster, when none left can be reached.
#include "game/bot/pilot.h"

#include <cmath>
#include <cstdio>

#include "game/bot/pace.h"

namespace bot {

Pilot::Pilot(const Kelda_engine& engine, float frameSeconds)
    : e(engine),
      grid(engine.walls, engine.mapWidth, engine.mapHeight),
      turnStep(TURN_SPEED * frameSeconds),
      walkStep(WALK_SPEED * frameSeconds),
      memory(static_cast<size_t>(engine.spriteCount)) {
    for (int i = 0; i < e.spriteCount; ++i) {
        memory[i].x = e.sprites[i].x;
        memory[i].y = e.sprites[i].y;
    }
    lastX = e.posX;
    lastY = e.posY;
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

const std::vector<int>& Pilot::stepsTo(Cell to) {
    if (to.x != routeTo.x || to.y != routeTo.y) {
        routeTo = to;
        routeSteps = grid.stepsTo(to);
    }
    return routeSteps;
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
        if (d < best && grid.clear(e.posX, e.posY, m.x, m.y)) {
            best = d;
            target = i;
        }
    }
    if (target >= 0) {
        engage(c, s, target, now);
        return c;
    }

    const std::vector<int> stepsHere = grid.stepsTo(cellOf(e.posX, e.posY));
    auto stepsOf = [&](int i) {
        const Cell m = cellOf(e.sprites[i].x, e.sprites[i].y);
        return grid.open(m.x, m.y) ? stepsHere[m.y * grid.width() + m.x] : -1;
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
            navigate(c, e.sprites[caught].x, e.sprites[caught].y, now);
            return c;
        }
        const int coming = nearestOf(threats, false);
        if (coming >= 0) {
            Controls look;
            navigate(look, e.sprites[coming].x, e.sprites[coming].y, now);
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

    // Nothing on its way: spot the next monster from as far as possible, else walk to it.
    for (int i : unseen) {
        Memory& m = memory[i];
        const Kelda_sprite& sp = e.sprites[i];
        if (m.peekFrom >= 0.0 && now - m.peekFrom > PEEK_SECONDS) continue;
        if (distance(e.posX, e.posY, sp.x, sp.y) < 30.0f && grid.clear(e.posX, e.posY, sp.x, sp.y)) {
            if (m.peekFrom < 0.0) m.peekFrom = now;
            face(c, sp.x, sp.y);
            return c;
        }
    }
    const int next = nearestOf(unseen, false);
    if (next < 0) {
        unreachable(unseen.front());
        return c;
    }
    navigate(c, e.sprites[next].x, e.sprites[next].y, now);
    return c;
}

}  // namespace bot
