#include "playtest/session.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "game/levelLoop.h"
#include "game/monsters.h"
#include "engine/levelLoad.h"
#include "playtest/pilot.h"
#include "playtest/stage.h"

namespace playtest {

namespace {
const int VIEW_WIDTH = 320;  // the bot needs no more than whether sprites show and the crosshair
const int VIEW_HEIGHT = 240;
const double FRAME_SECONDS = 1.0 / 30.0;

// Monsters that touch the player in this step: those alive before it within reach of where the
// step left the camera, which is where the monster pass measured from.
int contacts(const Kelda_engine& e, const std::vector<Kelda_sprite>& before) {
    int n = 0;
    for (const Kelda_sprite& m : before) {
        if (m.health <= 0) continue;
        const float dx = e.posX - m.x, dy = e.posY - m.y;
        if (std::sqrt(dx * dx + dy * dy) < CONTACT_DISTANCE) ++n;
    }
    return n;
}

std::string number(float v) {  // at most two decimals, no trailing zeros beyond the first
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(v));
    std::string s = text;
    if (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    return s;
}

std::string count(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}
}  // namespace

PlayReport playLevel(const std::string& path, int level, const LevelState& counters, bool human) {
    PlayReport r;
    r.end = counters;
    Stage stage(VIEW_WIDTH, VIEW_HEIGHT);
    Kelda_engine engine;
    r.problem = levelLoadText(loadLevel(engine, path));
    if (!r.problem.empty()) return r;

    LevelRun run(engine, level, stage.depth.data(), stage.columns.data(), counters);
    Pilot pilot(engine, human);
    long frame = 0;
    std::vector<Kelda_sprite> before;
    for (;;) {
        run.draw();
        const Controls c = pilot.decide(run.state, frame * FRAME_SECONDS);
        if (pilot.unreachable >= 0) {
            r.outcome = PlayReport::unreachable;
            r.monster = pilot.unreachable;
            r.monsterX = engine.sprites[r.monster].x;
            r.monsterY = engine.sprites[r.monster].y;
            break;
        }
        ++frame;
        before.assign(engine.sprites, engine.sprites + engine.spriteCount);
        const bool playing = run.step(stage.hold(c, frame * FRAME_SECONDS));
        r.hits += contacts(engine, before);
        if (!playing) {
            const int result = run.finish();
            r.outcome = result == LEVEL_WON || result == LEVEL_LAST_WON ? PlayReport::won : PlayReport::died;
            break;
        }
        if (frame * FRAME_SECONDS > GAME_SECONDS_ALLOWED) {
            r.outcome = PlayReport::outOfTime;
            break;
        }
    }
    r.seconds = frame * FRAME_SECONDS;
    r.shots = stage.shots;
    r.end = run.state;
    return r;
}

std::string describe(const PlayReport& r) {
    char time[32];
    std::snprintf(time, sizeof time, "%.1f s game time", r.seconds);
    const std::string tally = count(r.hits, "hit", "hits") + " taken, " + count(r.shots, "shot", "shots") + " fired";
    switch (r.outcome) {
    case PlayReport::won:
        return "won in " + std::string(time) + ", " + tally;
    case PlayReport::died:
        return "not won: died after " + std::string(time) + ", " + tally;
    case PlayReport::unreachable:
        return "not won: monster " + std::to_string(r.monster) + " at (" + number(r.monsterX) + ", " +
               number(r.monsterY) + ") cannot be reached; gave up after " + time + ", " + tally;
    case PlayReport::outOfTime:
        return "not won: still playing after " + std::string(time) + ", " + tally;
    case PlayReport::notLoaded:
        break;
    }
    return r.problem;
}

}  // namespace playtest
