// The playtest: a bot with only the player's keys plays the shipped campaign frame by frame through
// the real level loop on a fixed clock, and gives up, saying why, on a level that cannot be won.
// It fights what is in view, waits for or fetches what is on its way, else walks to the next monster.
#include <gtest/gtest.h>

#include <allegro.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <queue>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "core/ElementaryFunctions.h"
#include "engine/levelfile.h"
#include "engine/levelsource.h"
#include "game/campaign.h"
#include "game/levelLoop.h"
#include "game/play_fixture.h"

namespace {
// The game's pace as the bot knows it.
const float PI_F = 3.14159265f;
const double FRAME_SECONDS = 1.0 / 30.0;  // the bot's clock
const float TURN_SPEED = 2.0f;            // radians per second
const float TURN_STEP = TURN_SPEED * static_cast<float>(FRAME_SECONDS);
const float WALK_STEP = 3.0f * static_cast<float>(FRAME_SECONDS);  // the player walks 3 cells a second
const float MONSTER_SPEED = 3.4f;      // cells per second once a monster has been seen
const float CONTACT = 0.75f;
// Ticks between shots with the shoot key held; the Hunter waits for the next frame to start again.
const float SHOT_PERIOD[3] = {12.5f, 8.0f, 5.0f};
const double STUCK_SECONDS = 0.8;

float wrap(float a) {  // into [-pi, pi]
    while (a > PI_F) a -= 2.0f * PI_F;
    while (a < -PI_F) a += 2.0f * PI_F;
    return a;
}
float distance(float ax, float ay, float bx, float by) { return std::hypot(ax - bx, ay - by); }

struct Cell {
    int x, y;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y; }
};
Cell cellOf(float x, float y) { return Cell{static_cast<int>(x), static_cast<int>(y)}; }

// The keys held for one frame; weaponKey is 0 (none) or the number key 1, 2 or 3.
struct Controls {
    bool forward = false, backward = false, turnLeft = false, turnRight = false;
    bool strafeLeft = false, strafeRight = false, shoot = false;
    int weaponKey = 0;
};

class Pilot {
public:
    explicit Pilot(const Kelda_engine& engine) : e(engine), memory(static_cast<size_t>(engine.spriteCount)) {
        for (int i = 0; i < e.spriteCount; ++i) memory[i] = {e.sprites[i].x, e.sprites[i].y, 0.0, false};
    }
    std::string failure;  // why the bot gave up; empty while it plays on

    // Called once per frame after the view was drawn; `now` is game time in seconds.
    Controls decide(const LevelState& s, double now) {
        remember(now);
        Controls c;
        if (!failure.empty()) return c;
        std::vector<int> threats, unseen;
        for (int i = 0; i < e.spriteCount; ++i)
            if (alive(i)) (e.visible[i] ? threats : unseen).push_back(i);
        if (threats.empty() && unseen.empty()) return c;

        // A monster on its way and in plain view is the one to shoot: the nearest first.
        int target = -1;
        float best = 1e9f;
        for (int i : threats) {
            const float d = distance(e.posX, e.posY, e.sprites[i].x, e.sprites[i].y);
            if (d < best && clear(e.posX, e.posY, e.sprites[i].x, e.sprites[i].y)) best = d, target = i;
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
                if (st >= 0 && st < fewest && (!onlyStuck || stuck(i, now))) fewest = st, found = i;
            }
            return found;
        };
        if (!threats.empty()) {
            // On their way but out of sight: wait facing the way they come; fetch any caught on a wall.
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
                // Met at a corner it would be on the player before the first shot: make room. Not
                // when the bot went to fetch it, for then it would back off and go again for ever.
                if (stepsOf(coming) <= 4 && !memory[coming].fetched) retreatAround(c, coming);
                return c;
            }
            if (unseen.empty()) return unreachable(threats.front());
        }
        const int next = nearestOf(unseen, false);
        if (next < 0) return unreachable(unseen.front());
        navigate(c, e.sprites[next].x, e.sprites[next].y);
        return c;
    }

private:
    struct Memory {
        float x, y;       // where it was when last seen to make headway
        double movedAt;   // last time it was seen to move
        bool fetched;     // the bot went to it where it was caught on a wall
    };

    bool open(float x, float y) const {
        return x >= 0 && y >= 0 && x < e.mapWidth && y < e.mapHeight &&
               e.walls[static_cast<int>(y) * e.mapWidth + static_cast<int>(x)] == 0xFFFF;
    }
    // Steps on foot (four neighbours) from every cell to `to`, -1 where it cannot be reached.
    std::vector<int> stepsTo(Cell to) const {
        const int w = e.mapWidth;
        std::vector<int> steps(static_cast<size_t>(w) * e.mapHeight, -1);
        if (!open(to.x, to.y)) return steps;
        std::queue<Cell> todo;
        steps[to.y * w + to.x] = 0;
        todo.push(to);
        while (!todo.empty()) {
            const Cell c = todo.front();
            todo.pop();
            for (const Cell& n : neighbours(c))
                if (open(n.x, n.y) && steps[n.y * w + n.x] < 0) {
                    steps[n.y * w + n.x] = steps[c.y * w + c.x] + 1;
                    todo.push(n);
                }
        }
        return steps;
    }
    static std::array<Cell, 4> neighbours(Cell c) {
        return {{{c.x + 1, c.y}, {c.x - 1, c.y}, {c.x, c.y + 1}, {c.x, c.y - 1}}};
    }
    // Whether the straight segment crosses open cells only.
    bool clear(float ax, float ay, float bx, float by) const {
        const float dx = bx - ax, dy = by - ay;
        const int samples = static_cast<int>(std::sqrt(dx * dx + dy * dy) / 0.05f) + 1;
        for (int i = 0; i <= samples; ++i) {
            const float t = static_cast<float>(i) / samples;
            if (!open(ax + dx * t, ay + dy * t)) return false;
        }
        return true;
    }
    bool alive(int i) const {
        return i >= 0 && i < e.spriteCount && e.sprites[i].health > 0 && !(e.sprites[i].x == 0.0f && e.sprites[i].y == 0.0f);
    }
    bool stuck(int i, double now) const { return now - memory[i].movedAt > STUCK_SECONDS; }
    float facing() const { return std::atan2(e.dirY, e.dirX); }

    void remember(double now) {
        for (int i = 0; i < e.spriteCount; ++i) {
            Memory& m = memory[i];
            const Kelda_sprite& s = e.sprites[i];
            // One just spotted counts as moving until it has had time to. One pressed against a
            // wall may jitter on the spot for ever: only real headway counts.
            if (distance(s.x, s.y, m.x, m.y) > 0.3f || (e.visible[i] && m.movedAt == 0.0)) m = {s.x, s.y, now, m.fetched};
        }
    }
    Controls unreachable(int i) {
        char why[160];
        std::snprintf(why, sizeof why, "monster %d at (%.2f, %.2f) cannot be reached", i, e.sprites[i].x, e.sprites[i].y);
        failure = why;
        return Controls();
    }

    void face(Controls& c, float tx, float ty) const {
        const float err = wrap(std::atan2(ty - e.posY, tx - e.posX) - facing());
        // Within half a frame's turn the next turn would overshoot by more than it corrects.
        c.turnLeft = err > 0.5f * TURN_STEP;
        c.turnRight = err < -0.5f * TURN_STEP;
    }
    // Walks down the step field, aiming at the farthest cell centre on the route in plain view.
    void navigate(Controls& c, float tx, float ty) const {
        const Cell to = cellOf(tx, ty);
        const std::vector<int> steps = stepsTo(to);
        float wx = tx, wy = ty;
        Cell cur = cellOf(e.posX, e.posY);
        for (int n = 0; n < 10 && !(cur == to); ++n) {
            const int here = steps[cur.y * e.mapWidth + cur.x];
            if (here <= 0) break;
            Cell next = cur;
            for (const Cell& nb : neighbours(cur))
                if (open(nb.x, nb.y) && steps[nb.y * e.mapWidth + nb.x] == here - 1) {
                    next = nb;
                    break;
                }
            if (next == cur) break;
            cur = next;
            const float px = cur == to ? tx : cur.x + 0.5f, py = cur == to ? ty : cur.y + 0.5f;
            const float len = distance(e.posX, e.posY, px, py);
            const float ox = (py - e.posY) / len * 0.2f, oy = -(px - e.posX) / len * 0.2f;  // a body's width
            const bool seen = clear(e.posX, e.posY, px, py) && clear(e.posX + ox, e.posY + oy, px + ox, py + oy) &&
                              clear(e.posX - ox, e.posY - oy, px - ox, py - oy);
            if (!seen && n > 0) break;
            wx = px;
            wy = py;
        }
        face(c, wx, wy);
        c.forward = std::fabs(wrap(std::atan2(wy - e.posY, wx - e.posX) - facing())) < 0.35f;
    }

    // Whether the monsters in view, nearest first, would reach the player before each is shot.
    bool inDanger(const LevelState& s, const std::vector<int>& threats, int weapon) const {
        float heading = facing();
        float busy = static_cast<float>(s.fireCounter) / TIMER_FPS;  // a cycle under way finishes first
        for (int i : threats) {
            const Kelda_sprite& m = e.sprites[i];
            const float bearing = std::atan2(m.y - e.posY, m.x - e.posX);
            busy += std::fabs(wrap(bearing - heading)) / TURN_SPEED;
            heading = bearing;
            busy += (6.0f + (m.health - 1) * SHOT_PERIOD[weapon]) / TIMER_FPS;
            if (busy > (distance(e.posX, e.posY, m.x, m.y) - CONTACT) / MONSTER_SPEED - 0.25f) return true;
        }
        return false;
    }
    // Holds the movement keys whose next third of a second ends where `safety` is highest.
    void bestMove(Controls& c, const std::function<float(float, float)>& safety) const {
        float best = -1e9f;
        int bestFb = 0, bestLr = 0;
        for (int fb = -1; fb <= 1; ++fb)
            for (int lr = -1; lr <= 1; ++lr) {
                // The same keys held, sliding along walls as the player does.
                float x = e.posX, y = e.posY;
                auto step = [&](float dx, float dy) {
                    if (open(x + dx, y)) x += dx;
                    if (open(x, y + dy)) y += dy;
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
    void retreatAround(Controls& c, int threat) const {
        const Kelda_sprite& m = e.sprites[threat];
        const std::vector<int> away = stepsTo(cellOf(m.x, m.y));
        // Round corners the way it has to run counts, not the distance through the wall.
        bestMove(c, [&](float x, float y) {
            return away[static_cast<int>(y) * e.mapWidth + static_cast<int>(x)] + 0.1f * distance(x, y, m.x, m.y);
        });
    }
    // Aim, fire, the weapon for the moment, and backing off in time.
    void engage(Controls& c, const LevelState& s, int target, double now) const {
        const Kelda_sprite& m = e.sprites[target];
        face(c, m.x, m.y);
        c.shoot = alive(e.crosshairSprite);
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
        if (inDanger(s, threats, WEAPON_HUNTER) && (s.buzzsawBullets > 0 || s.impactBullets > 0))
            weapon = s.buzzsawBullets > 0 ? WEAPON_BUZZSAW : WEAPON_IMPACT_CANNON;
        if (weapon != s.weapon) c.weaponKey = weapon + 1;
        if (inDanger(s, threats, weapon)) {
            bestMove(c, [&](float x, float y) {
                float nearest = 1e9f;
                for (int i : threats) nearest = std::min(nearest, distance(x, y, e.sprites[i].x, e.sprites[i].y));
                return nearest;
            });
        } else if (std::fabs(wrap(std::atan2(m.y - e.posY, m.x - e.posX) - facing())) < 2.0f * TURN_STEP &&
                   !c.shoot && stuck(target, now)) {
            c.forward = distance(e.posX, e.posY, m.x, m.y) > 2.0f;  // too far for the crosshair and it does not come
        }
    }

    const Kelda_engine& e;
    std::vector<Memory> memory;
};

struct Outcome {
    int result = -1;      // the level loop's result when it ended by itself, else -1
    std::string failure;  // why the bot did not win
    double seconds = 0.0;  // game time
    LevelState end;
    bool won() const { return result == LEVEL_WON || result == LEVEL_LAST_WON; }
};

// The level loop calls back through plain function pointers, so the run in progress is here.
struct Session {
    LevelRun* run = nullptr;
    Pilot* pilot = nullptr;
    long frame = 0;
    double now() const { return frame * FRAME_SECONDS; }
} session;

// The bot looks at the frame just drawn and holds its keys; then the clock and timer move a frame on.
void presentHook() {
    const Controls c = session.pilot->decide(session.run->state, session.now());
    const std::pair<int, bool> held[] = {
        {KEY_W, c.forward},       {KEY_S, c.backward},       {KEY_LEFT, c.turnLeft},
        {KEY_RIGHT, c.turnRight}, {KEY_A, c.strafeLeft},     {KEY_D, c.strafeRight},
        {KEY_SPACE, c.shoot},     {KEY_1, c.weaponKey == 1}, {KEY_2, c.weaponKey == 2},
        {KEY_3, c.weaponKey == 3},
    };
    for (const auto& h : held) key[h.first] = h.second ? 1 : 0;
    const double before = std::floor(session.now() * TIMER_FPS);
    ++session.frame;
    timerCounter += static_cast<int>(std::floor(session.now() * TIMER_FPS) - before);
}

Outcome playLevel(const std::string& path, int level, const LevelState& counters, double budgetSeconds = 600.0) {
    Outcome out;
    PlayStage stage(320, 240);
    Kelda_engine engine;
    LevelLoad load = loadLevel(engine, path);
    if (load.kind != LevelLoad::ok) {
        out.failure = "cannot load " + path + ": " + load.detail;
        return out;
    }
    LevelIO io{presentHook, [] { return false; }, [] { return session.now(); }, [](int) {}};
    LevelRun run(engine, level, stage.view.depth.data(), stage.view.columns.data(), counters, io);
    Pilot pilot(engine);
    session = Session{&run, &pilot, 0};
    while (run.frame()) {
        out.failure = pilot.failure;
        if (out.failure.empty() && session.now() > budgetSeconds) out.failure = "not won within the time allowed";
        if (!out.failure.empty()) break;
    }
    if (out.failure.empty()) {
        out.result = run.finish();
        if (out.result == LEVEL_DIED) out.failure = "died";
    }
    out.end = run.state;
    out.seconds = session.now();
    session = Session();
    return out;
}

void report(const Outcome& o, int level) {
    const char* const results[] = {"won", "died", "won the last", "quit"};
    std::printf("[ playtest ] level %d: %s after %.1f s game time, health %d, points %d, bullets %d/%d, lives %d%s%s\n",
                level, o.result >= 0 ? results[o.result] : "gave up", o.seconds, o.end.health, o.end.points,
                o.end.impactBullets, o.end.buzzsawBullets, o.end.lives, o.failure.empty() ? "" : ": ",
                o.failure.c_str());
}
}  // namespace

TEST(Playtest, TheBotWinsTheWholeCampaignInARow) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);
    int levels = 0;
    while (fileExists(levelPath(levels))) ++levels;
    ASSERT_GE(levels, 8);

    std::vector<Outcome> attempts;  // in order, restarts included
    int congratulated = -1;
    CampaignHooks hooks;
    hooks.playLevel = [&](CampaignState& st) {
        LevelState counters;
        counters.points = st.points;
        counters.impactBullets = st.impactBullets;
        counters.buzzsawBullets = st.buzzsawBullets;
        counters.lives = st.lives;
        attempts.push_back(playLevel(levelPath(st.level), st.level, counters));
        const Outcome& o = attempts.back();
        report(o, st.level);
        if (o.result < 0) return LEVEL_QUIT;  // the bot gave up: the campaign ends there
        st.points = o.end.points;
        st.impactBullets = o.end.impactBullets;
        st.buzzsawBullets = o.end.buzzsawBullets;
        st.lives = o.end.lives;
        return o.result;
    };
    hooks.announce = [](const char*, int) {};
    hooks.congrats = [&](int points) { congratulated = points; };
    CampaignState state;
    EXPECT_EQ(runCampaign(state, hooks), CampaignEnd::won);
    ASSERT_FALSE(attempts.empty());
    EXPECT_TRUE(attempts.back().failure.empty()) << attempts.back().failure;

    // A player may die now and then; more than one restart in the whole campaign means a level got
    // harder than the bot (or the bot clumsier).
    EXPECT_EQ(state.level, levels) << "levels left unplayed";
    EXPECT_LE(static_cast<int>(attempts.size()), levels + 1) << "too many restarts";
    for (const Outcome& o : attempts) EXPECT_LT(o.seconds, 600.0);

    // The bonuses come into play well before the end: ammunition, the Buzzsaw and an extra life.
    ASSERT_GE(attempts.size(), 2u);
    EXPECT_GE(attempts[attempts.size() - 2].end.points, 64) << "the extra life waits for the last level";
    EXPECT_GE(state.lives, 4) << "no extra life earned";
    EXPECT_GE(congratulated, 120 + LAST_LEVEL_BONUS);
}

// The first level spoilt on purpose: the bot says why it cannot win instead of playing on.
TEST(Playtest, TheBotSaysWhyItCannotWinASpoiltLevel) {
    ScopedChdir root(BRAWNWICK_SOURCE_DIR);  // the textures load from here
    TempDir dir;
    levelfile::Level first;
    std::string error;
    ASSERT_TRUE(levelsource::compile(readFile("levels/0.txt"), first, error)) << error;
    std::vector<size_t> monsters;
    for (size_t i = 0; i < first.sprites.size(); ++i)
        if (first.sprites[i].health > 0) monsters.push_back(i);
    ASSERT_FALSE(monsters.empty());

    const struct {
        const char* name;
        std::function<void(levelfile::Level&)> spoil;
        const char* failure;
        int result;
        double within;  // game seconds
    } cases[] = {
        {"a monster inside the wall north of it",
         [&](levelfile::Level& l) {
             levelfile::Sprite& m = l.sprites[monsters.back()];
             int cy = static_cast<int>(m.y);
             while (cy > 0 && l.walls[cy * l.width + static_cast<int>(m.x)] == levelfile::EMPTY_CELL) --cy;
             m.y = cy + 0.5f;
         },
         "cannot be reached", -1, 60.0},
        {"a monster walled in",
         [&](levelfile::Level& l) {
             const levelfile::Sprite& m = l.sprites[monsters.front()];
             const int cell = static_cast<int>(m.y) * l.width + static_cast<int>(m.x);
             for (int near : {cell - 1, cell + 1, cell - l.width, cell + l.width}) l.walls[near] = l.walls[0];
         },
         "cannot be reached", -1, 60.0},
        {"six of the toughest right in front of the player",
         [](levelfile::Level& l) {
             for (int i = 0; i < 6; ++i) l.sprites.push_back({l.startX - 1.6f, l.startY, 4, 2});
         },
         "died", LEVEL_DIED, 5.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        levelfile::Level l = first;
        c.spoil(l);
        const std::string path = dir.file("spoilt.map");
        writeFile(path, levelfile::write(l));
        const Outcome o = playLevel(path, 0, LevelState(), 120.0);
        report(o, 0);
        EXPECT_FALSE(o.won());
        EXPECT_NE(o.failure.find(c.failure), std::string::npos) << o.failure;
        EXPECT_EQ(o.result, c.result) << "a level the bot gave up on must not count as over";
        EXPECT_LT(o.seconds, c.within);
    }
}
