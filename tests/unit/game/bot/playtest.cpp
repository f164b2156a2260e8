#include "game/bot/playtest.h"

#include <allegro.h>

#include <cmath>
#include <utility>

#include "core/constants.h"
#include "game/bot/pilot.h"
#include "game/levelLoop.h"
#include "game/play_fixture.h"

namespace bot {

namespace {
const int VIEW_W = 320;  // 4:3 like the game's
const int VIEW_H = 240;
const double FRAME_SECONDS = 1.0 / 30.0;

// The level loop calls back through plain function pointers, so the run in progress is here.
struct Session {
    LevelRun* run = nullptr;
    Pilot* pilot = nullptr;
    long frame = 0;
    double now() const { return frame * FRAME_SECONDS; }
} session;

// The bot looks at the frame just drawn, then the clock and the timer move on by one frame.
void presentHook() {
    const Controls c = session.pilot->decide(session.run->state, session.now());
    const std::pair<int, bool> held[] = {
        {KEY_W, c.forward},        {KEY_S, c.backward},        {KEY_LEFT, c.turnLeft},
        {KEY_RIGHT, c.turnRight},  {KEY_A, c.strafeLeft},      {KEY_D, c.strafeRight},
        {KEY_SPACE, c.shoot},      {KEY_1, c.weaponKey == 1},  {KEY_2, c.weaponKey == 2},
        {KEY_3, c.weaponKey == 3},
    };
    for (const auto& h : held) key[h.first] = h.second ? 1 : 0;

    const double before = std::floor(session.now() * TIMER_FPS);
    ++session.frame;
    timerCounter += static_cast<int>(std::floor(session.now() * TIMER_FPS) - before);
}
}  // namespace

LevelOutcome playLevel(const std::string& path, int level, const LevelState& counters, double budgetSeconds) {
    LevelOutcome out;
    PlayStage stage(VIEW_W, VIEW_H);
    Kelda_engine engine;
    LevelLoad load = loadLevel(engine, path);
    if (load.kind != LevelLoad::ok) {
        out.failure = "cannot load " + path + ": " + load.detail;
        return out;
    }
    LevelIO io{presentHook, [] { return false; }, [] { return session.now(); }, [](int) {}};
    LevelRun run(engine, level, stage.view.depth.data(), stage.view.columns.data(), counters, io);
    Pilot pilot(engine, static_cast<float>(FRAME_SECONDS));
    session = Session{&run, &pilot, 0};

    while (run.frame()) {
        out.failure = pilot.failure();
        if (out.failure.empty() && session.now() > budgetSeconds) out.failure = "not won within the time allowed";
        if (!out.failure.empty()) break;
    }
    if (out.failure.empty()) {
        out.result = run.finish();
        out.won = out.result == LEVEL_WON || out.result == LEVEL_LAST_WON;
        if (out.result == LEVEL_DIED) out.failure = "died";
    }
    out.end = run.state;
    out.gameSeconds = session.now();
    session = Session();
    return out;
}

CampaignOutcome playCampaign() {
    CampaignOutcome out;
    CampaignHooks hooks;
    hooks.playLevel = [&](CampaignState& st) {
        LevelState counters;
        counters.points = st.points;
        counters.impactBullets = st.impactBullets;
        counters.buzzsawBullets = st.buzzsawBullets;
        counters.lives = st.lives;
        LevelOutcome level = playLevel(levelPath(st.level), st.level, counters);
        out.attempts.push_back(level);
        if (level.result < 0) return LEVEL_QUIT;  // the bot gave up: the campaign ends there
        st.points = level.end.points;
        st.impactBullets = level.end.impactBullets;
        st.buzzsawBullets = level.end.buzzsawBullets;
        st.lives = level.end.lives;
        return level.result;
    };
    hooks.announce = [](const char*, int) {};
    hooks.congrats = [&](int points) { out.congratulatedPoints = points; };
    out.end = runCampaign(out.state, hooks);
    return out;
}

}  // namespace bot
