#include "playtest/pilot.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "game/monsters.h"

namespace playtest {

namespace {
// The game's pace as the bot knows it; the bot's clock runs at 30 frames a second.
const float PI_F = 3.14159265f;
const float FRAME_SECONDS = 1.0f / 30.0f;
const float TURN_SPEED = 2.0f;  // radians per second
const float TURN_STEP = TURN_SPEED * FRAME_SECONDS;
const float WALK_STEP = 3.0f * FRAME_SECONDS;  // the player walks 3 cells a second
const float MONSTER_SPEED = 3.4f;             // cells per second once a monster has been seen
// Ticks between shots with the shoot key held; the Hunter waits for the next frame to start again.
const float SHOT_PERIOD[WEAPON_COUNT] = {12.5f, 8.0f, 5.0f};
const double STUCK_SECONDS = 0.8;
// The human: a quarter second from a monster showing up to doing something about it, half the
// view's width either side of the crosshair, and no eye for detail beyond ten cells.
const double REACTION_SECONDS = 0.25;
const double DANGER_SECONDS = 2.0 * REACTION_SECONDS;
const float HALF_VIEW = 0.583f;  // atan(0.66), the camera plane's half length
const float LOOK_CELLS = 10.0f;
const int LOOKS_AGAIN = 3;

float wrap(float a) {  // into [-pi, pi]
    while (a > PI_F) a -= 2.0f * PI_F;
    while (a < -PI_F) a += 2.0f * PI_F;
    return a;
}
float distance(float ax, float ay, float bx, float by) { return std::hypot(ax - bx, ay - by); }

void holdWeaponKey(Controls& c, int weapon) {
    c.weapon1 = weapon == WEAPON_HUNTER;
    c.weapon2 = weapon == WEAPON_IMPACT_CANNON;
    c.weapon3 = weapon == WEAPON_BUZZSAW;
}
}  // namespace

Pilot::Pilot(const Kelda_engine& engine, bool asHuman)
    : e(engine), human(asHuman), route(engine), memory(static_cast<size_t>(engine.spriteCount)),
      explored(static_cast<size_t>(engine.mapWidth) * engine.mapHeight, 0) {
    for (int i = 0; i < e.spriteCount; ++i) {
        const float x = e.sprites[i].x, y = e.sprites[i].y;
        memory[i] = {x, y, 0.0, false, x, y, -1.0};
    }
}

Controls Pilot::decide(const LevelState& s, double now) {
    remember(now);
    if (human) explore();
    Controls c;
    if (unreachable >= 0) return c;
    std::vector<int> threats, unseen;
    for (int i = 0; i < e.spriteCount; ++i)
        if (alive(i)) (knows(i, now) ? threats : unseen).push_back(i);
    if (threats.empty() && unseen.empty()) return c;

    // A monster on its way and in plain view is the one to shoot: the nearest first.
    int target = -1;
    float best = 1e9f;
    for (int i : threats) {
        const Spot m = at(i);
        const float d = distance(e.posX, e.posY, m.x, m.y);
        if (d < best && route.clear(e.posX, e.posY, m.x, m.y)) best = d, target = i;
    }
    if (target >= 0) {
        engage(c, s, target, now);
        return c;
    }

    const std::vector<int> stepsHere = route.stepsTo(cellOf(e.posX, e.posY));
    auto stepsOf = [&](int i) {
        const Cell m = cellOf(at(i).x, at(i).y);
        return route.open(m.x, m.y) ? stepsHere[route.index(m)] : -1;
    };
    auto nearestOf = [&](const std::vector<int>& list, bool onlyStuck) {
        int found = -1, fewest = 1 << 30;
        for (int i : list) {
            const int st = stepsOf(i);
            if (st >= 0 && st < fewest && (!onlyStuck || stuck(i, now))) fewest = st, found = i;
        }
        return found;
    };
    if (!threats.empty()) {
        // On their way but out of sight: wait facing the way they come; fetch any caught on a wall.
        const int caught = nearestOf(threats, true);
        if (caught >= 0) {
            memory[caught].fetched = true;
            navigate(c, at(caught).x, at(caught).y);
            return c;
        }
        const int coming = nearestOf(threats, false);
        if (coming >= 0) {
            Controls look;
            navigate(look, at(coming).x, at(coming).y);
            c.turnLeft = look.turnLeft;
            c.turnRight = look.turnRight;
            // Met at a corner it would be on the player before the first shot: make room. Not
            // when the bot went to fetch it, for then it would back off and go again for ever.
            if (stepsOf(coming) <= 4 && !memory[coming].fetched) retreatAround(c, coming);
            return c;
        }
        if (unseen.empty()) {
            unreachable = threats.front();
            return Controls();
        }
    }
    if (human) {
        // Round the nearest corner not yet looked round; with every one seen, look again, for
        // a monster may stand where only a sliver of it showed.
        int cell = nearestUnexplored(stepsHere);
        if (cell < 0)  // all seen: one still unfound that no path leads to is walled in
            for (int i : unseen)
                if (stepsOf(i) < 0) {
                    unreachable = i;
                    return Controls();
                }
        if (cell < 0 && lookedAgain < LOOKS_AGAIN) {
            ++lookedAgain;
            std::fill(explored.begin(), explored.end(), 0);
            explore();
            cell = nearestUnexplored(stepsHere);
        }
        if (cell >= 0) {
            navigate(c, cell % e.mapWidth + 0.5f, cell / e.mapWidth + 0.5f);
            return c;
        }
    }
    const int next = nearestOf(unseen, false);
    if (next < 0) {
        unreachable = unseen.front();
        return Controls();
    }
    navigate(c, e.sprites[next].x, e.sprites[next].y);
    return c;
}

bool Pilot::alive(int i) const {
    return i >= 0 && i < e.spriteCount && e.sprites[i].health > 0 && !(e.sprites[i].x == 0.0f && e.sprites[i].y == 0.0f);
}
bool Pilot::stuck(int i, double now) const { return now - memory[i].movedAt > STUCK_SECONDS; }
float Pilot::facing() const { return std::atan2(e.dirY, e.dirX); }

bool Pilot::knows(int i, double now) const {
    if (!human) return e.visible[i];
    return memory[i].firstSeen >= 0.0 && now - memory[i].firstSeen >= REACTION_SECONDS;
}

Pilot::Spot Pilot::at(int i) const {
    if (!human) return {e.sprites[i].x, e.sprites[i].y};
    return {memory[i].seenX, memory[i].seenY};
}

// Near enough the middle of the view that some of it shows, with nothing but open cells between.
bool Pilot::onScreen(float x, float y) const {
    const float d = distance(e.posX, e.posY, x, y);
    const float off = std::fabs(wrap(std::atan2(y - e.posY, x - e.posX) - facing()));
    return off < HALF_VIEW + std::atan2(0.4f, d) && route.clear(e.posX, e.posY, x, y);
}

void Pilot::remember(double now) {
    for (int i = 0; i < e.spriteCount; ++i) {
        Memory& m = memory[i];
        const Kelda_sprite& s = e.sprites[i];
        // The frame a monster is first drawn, a sliver at a door's edge included, the player sees it.
        const bool inSight = e.visible[i] && (!human || m.firstSeen < 0.0 || onScreen(s.x, s.y));
        if (inSight) {
            if (m.firstSeen < 0.0) m.firstSeen = now;
            m.seenX = s.x;
            m.seenY = s.y;
        } else if (m.firstSeen >= 0.0 && alive(i)) {
            // Out of sight it runs at the player as monsters do, sliding along walls: a player who
            // has seen one expects it round the corner.
            const float d = distance(e.posX, e.posY, m.seenX, m.seenY);
            if (d > 0.0f) {
                const float step = MONSTER_SPEED * FRAME_SECONDS / d;
                if (route.open(m.seenX + (e.posX - m.seenX) * step, m.seenY)) m.seenX += (e.posX - m.seenX) * step;
                if (route.open(m.seenX, m.seenY + (e.posY - m.seenY) * step)) m.seenY += (e.posY - m.seenY) * step;
            }
        }
        const Spot p = at(i);
        // One just spotted counts as moving until it has had time to. One pressed against a
        // wall may jitter on the spot for ever: only real headway counts.
        if (distance(p.x, p.y, m.x, m.y) > 0.3f || (inSight && m.movedAt == 0.0)) {
            m.x = p.x;
            m.y = p.y;
            m.movedAt = now;
        }
    }
}

// Marks the open cells the view's rays crossed this frame, out to what a glance takes in.
void Pilot::explore() {
    if (!e.zBuffer || e.viewWidth <= 0) return;
    for (int x = e.viewWidth / 16; x < e.viewWidth - e.viewWidth / 16; x += 8) {
        const float camera = 2.0f * x / e.viewWidth - 1.0f;
        const float rx = e.dirX + e.planeX * camera, ry = e.dirY + e.planeY * camera;
        const float reach = std::min(e.zBuffer[x], LOOK_CELLS / std::hypot(rx, ry));
        for (float t = 0.0f; t < reach; t += 0.25f) {
            const float px = e.posX + rx * t, py = e.posY + ry * t;
            if (!route.open(px, py)) break;
            explored[route.index(cellOf(px, py))] = 1;
        }
    }
}

int Pilot::nearestUnexplored(const std::vector<int>& stepsHere) const {
    int found = -1, fewest = 1 << 30;
    for (size_t i = 0; i < stepsHere.size(); ++i)
        if (stepsHere[i] >= 0 && !explored[i] && stepsHere[i] < fewest) fewest = stepsHere[i], found = static_cast<int>(i);
    return found;
}

void Pilot::face(Controls& c, float tx, float ty) const {
    const float err = wrap(std::atan2(ty - e.posY, tx - e.posX) - facing());
    // Within half a frame's turn the next turn would overshoot by more than it corrects.
    c.turnLeft = err > 0.5f * TURN_STEP;
    c.turnRight = err < -0.5f * TURN_STEP;
}

// Walks down the step field, aiming at the farthest cell centre on the route in plain view.
void Pilot::navigate(Controls& c, float tx, float ty) const {
    const Cell to = cellOf(tx, ty);
    const std::vector<int> steps = route.stepsTo(to);
    float wx = tx, wy = ty;
    Cell cur = cellOf(e.posX, e.posY);
    for (int n = 0; n < 10 && !(cur == to); ++n) {
        const int here = steps[route.index(cur)];
        if (here <= 0) break;
        Cell next = cur;
        for (const Cell& nb : neighbours(cur))
            if (route.open(nb.x, nb.y) && steps[route.index(nb)] == here - 1) {
                next = nb;
                break;
            }
        if (next == cur) break;
        cur = next;
        const float px = cur == to ? tx : cur.x + 0.5f, py = cur == to ? ty : cur.y + 0.5f;
        const float len = distance(e.posX, e.posY, px, py);
        const float ox = (py - e.posY) / len * 0.2f, oy = -(px - e.posX) / len * 0.2f;  // a body's width
        const bool seen = route.clear(e.posX, e.posY, px, py) && route.clear(e.posX + ox, e.posY + oy, px + ox, py + oy) &&
                          route.clear(e.posX - ox, e.posY - oy, px - ox, py - oy);
        if (!seen && n > 0) break;
        wx = px;
        wy = py;
    }
    face(c, wx, wy);
    c.forward = std::fabs(wrap(std::atan2(wy - e.posY, wx - e.posX) - facing())) < 0.35f;
}

// Whether the monsters in view, nearest first, would reach the player before each is shot.
bool Pilot::inDanger(const LevelState& s, const std::vector<int>& threats, int weapon) const {
    float heading = facing();
    float busy = static_cast<float>(s.fireCounter) / TIMER_FPS;  // a cycle under way finishes first
    for (int i : threats) {
        const Spot m = at(i);
        const int health = e.sprites[i].health;  // its kind shows in its picture
        const float bearing = std::atan2(m.y - e.posY, m.x - e.posX);
        busy += std::fabs(wrap(bearing - heading)) / TURN_SPEED;
        heading = bearing;
        busy += (6.0f + (health - 1) * SHOT_PERIOD[weapon]) / TIMER_FPS;
        if (busy > (distance(e.posX, e.posY, m.x, m.y) - CONTACT_DISTANCE) / MONSTER_SPEED - 0.25f) return true;
    }
    return false;
}

// Holds the movement keys whose next third of a second ends where `safety` is highest.
void Pilot::bestMove(Controls& c, const std::function<float(float, float)>& safety) const {
    float best = -1e9f;
    int bestFb = 0, bestLr = 0;
    for (int fb = -1; fb <= 1; ++fb)
        for (int lr = -1; lr <= 1; ++lr) {
            // The same keys held, sliding along walls as the player does.
            float x = e.posX, y = e.posY;
            auto step = [&](float dx, float dy) {
                if (route.open(x + dx, y)) x += dx;
                if (route.open(x, y + dy)) y += dy;
            };
            for (int k = 0; k < 10; ++k) {
                if (fb) step(e.dirX * WALK_STEP * fb, e.dirY * WALK_STEP * fb);
                if (lr) step(-e.dirY * WALK_STEP * lr, e.dirX * WALK_STEP * lr);  // strafing left
            }
            const float score = safety(x, y) - (lr ? 0.05f : 0.0f);  // straight back keeps the aim
            if (score > best) best = score, bestFb = fb, bestLr = lr;
        }
    c.forward = bestFb > 0;
    c.backward = bestFb < 0;
    c.strafeLeft = bestLr > 0;
    c.strafeRight = bestLr < 0;
}

void Pilot::retreatAround(Controls& c, int threat) const {
    const Spot m = at(threat);
    const std::vector<int> away = route.stepsTo(cellOf(m.x, m.y));
    // Round corners the way it has to run counts, not the distance through the wall.
    bestMove(c, [&](float x, float y) { return away[route.index(cellOf(x, y))] + 0.1f * distance(x, y, m.x, m.y); });
}

// The known monsters near or in a straight line, nearest first.
std::vector<int> Pilot::threatsInView(double now) const {
    std::vector<int> threats;
    for (int i = 0; i < e.spriteCount; ++i) {
        if (!alive(i) || !knows(i, now)) continue;
        const Spot m = at(i);
        if (distance(e.posX, e.posY, m.x, m.y) < 3.0f || route.clear(e.posX, e.posY, m.x, m.y)) threats.push_back(i);
    }
    std::sort(threats.begin(), threats.end(), [&](int a, int b) {
        return distance(e.posX, e.posY, at(a).x, at(a).y) < distance(e.posX, e.posY, at(b).x, at(b).y);
    });
    return threats;
}

// Aim, fire, the weapon for the moment, and backing off in time.
void Pilot::engage(Controls& c, const LevelState& s, int target, double now) const {
    const Spot m = at(target);
    face(c, m.x, m.y);
    c.shoot = alive(e.crosshairSprite) && knows(e.crosshairSprite, now);
    const std::vector<int> threats = threatsInView(now);
    // Bullets are for monsters that would otherwise arrive first.
    int weapon = WEAPON_HUNTER;
    if (inDanger(s, threats, WEAPON_HUNTER) && (s.buzzsawBullets > 0 || s.impactBullets > 0))
        weapon = s.buzzsawBullets > 0 ? WEAPON_BUZZSAW : WEAPON_IMPACT_CANNON;
    if (weapon != s.weapon) holdWeaponKey(c, weapon);
    // A player sees a monster, then sees that it will arrive first: two reaction times.
    const bool danger = inDanger(s, threats, weapon);
    if (!danger) dangerSince = -1.0;
    else if (dangerSince < 0.0) dangerSince = now;
    if (danger && (!human || now - dangerSince >= DANGER_SECONDS)) {
        bestMove(c, [&](float x, float y) {
            float nearest = 1e9f;
            for (int i : threats) nearest = std::min(nearest, distance(x, y, at(i).x, at(i).y));
            return nearest;
        });
    } else if (std::fabs(wrap(std::atan2(m.y - e.posY, m.x - e.posX) - facing())) < 2.0f * TURN_STEP && !c.shoot &&
               stuck(target, now)) {
        c.forward = distance(e.posX, e.posY, m.x, m.y) > 2.0f;  // too far for the crosshair and it does not come
    }
}

}  // namespace playtest
