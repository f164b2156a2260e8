#include "game/bot/playtest.h"

#include <allegro.h>

#include <chrono>
#include <cmath>
#include <memory>

#include "core/constants.h"
#include "game/bot/pilot.h"
#include "game/play_fixture.h"
#include "game/levelLoop.h"
#include "input/keyStates.h"
#include "settings/global.h"

namespace bot {

namespace {

// The level loop calls back through plain function pointers, so the run in progress is here.
struct Session {
    Kelda_engine* engine = nullptr;
    LevelRun* run = nullptr;
    Pilot* pilot = nullptr;
    double now = 0.0;
    double frameSeconds = 0.0;
    long frame = 0;
};
Session session;

void hold(int code, bool down) { key[code] = down ? 1 : 0; }

// The bot looks at the frame just drawn, then the clock and the timer move on by one frame.
void presentHook() {
    Session& s = session;
    const Controls c = s.pilot->decide(s.run->state, s.now);
    hold(KEY_W, c.forward);
    hold(KEY_S, c.backward);
    hold(KEY_LEFT, c.turnLeft);
    hold(KEY_RIGHT, c.turnRight);
    hold(KEY_A, c.strafeLeft);
    hold(KEY_D, c.strafeRight);
    hold(KEY_SPACE, c.shoot);
    hold(KEY_1, c.weaponKey == 1);
    hold(KEY_2, c.weaponKey == 2);
    hold(KEY_3, c.weaponKey == 3);

    const long before = static_cast<long>(std::floor(s.frame * s.frameSeconds * TIMER_FPS));
    ++s.frame;
    const long after = static_cast<long>(std::floor(s.frame * s.frameSeconds * TIMER_FPS));
    s.now = s.frame * s.frameSeconds;
    timerCounter += static_cast<int>(after - before);
}
bool neverQuit() { return false; }
double gameClock() { return session.now; }
void silent(int) {}

void releaseKeys() {
    for (int code = 0; code < KEY_MAX; ++code) key[code] = 0;
}

// The globals a level reads, set for the bot and given back afterwards.
class Stage {
public:
    explicit Stage(const PlaytestOptions& o) : saved(global) {
        global.buffer = create_bitmap(o.width, o.height);
        global.textFont = font;
        global.menuFont = font;
        global.crosshair = nullptr;
        usePlayKeys();
        global.invulnerable = false;
        view.resize(o.width, o.height);
        releaseKeys();
        keyStates.resetAll();
        timerCounter = 0;
    }
    ~Stage() {
        releaseKeys();
        keyStates.resetAll();
        timerCounter = 0;
        destroy_bitmap(global.buffer);
        global = saved;
    }
    ViewBuffers view;

private:
    globals saved;
};
}  // namespace

LevelOutcome playLevel(const std::string& path, int level, const LevelState& counters,
                       const PlaytestOptions& options) {
    LevelOutcome out;
    const auto started = std::chrono::steady_clock::now();
    Stage stage(options);
    Kelda_engine engine;
    LevelLoad load = loadLevel(engine, path);
    if (load.kind != LevelLoad::ok) {
        out.failure = "cannot load " + path + ": " + load.detail;
        return out;
    }
    session = Session();
    session.frameSeconds = options.frameSeconds;
    LevelIO io{presentHook, neverQuit, gameClock, silent};
    LevelRun run(engine, level, stage.view.depth.data(), stage.view.columns.data(), counters, io);
    Pilot pilot(engine, static_cast<float>(options.frameSeconds));
    session.engine = &engine;
    session.run = &run;
    session.pilot = &pilot;

    bool over = false;
    while (!over) {
        over = !run.frame();
        if (!over && !pilot.failure().empty()) {
            out.failure = pilot.failure();
            break;
        }
        if (!over && session.now > options.budgetSeconds) {
            out.failure = "not won within the time allowed";
            break;
        }
    }
    if (over) {
        out.result = run.finish();
        out.won = out.result == LEVEL_WON || out.result == LEVEL_LAST_WON;
        if (out.result == LEVEL_DIED) out.failure = "died";
    }
    out.end = run.state;
    out.frames = static_cast<int>(session.frame);
    out.gameSeconds = session.now;
    out.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    session = Session();
    return out;
}

CampaignOutcome playCampaign(const PlaytestOptions& options) {
    CampaignOutcome out;
    CampaignHooks hooks;
    hooks.playLevel = [&](CampaignState& st) {
        LevelState counters;
        counters.points = st.points;
        counters.impactBullets = st.impactBullets;
        counters.buzzsawBullets = st.buzzsawBullets;
        counters.lives = st.lives;
        LevelOutcome level = playLevel(levelPath(st.level), st.level, counters, options);
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
