#include "game/levelLoop.h"

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "game/game.h"
#include "game/monsters.h"
#include "game/quitQuestion.h"
#include "game/ticks.h"
#include "game/weapons.h"
#include "input/keyStates.h"
#include "screen/driver.h"
#include "settings/global.h"

namespace {
MonsterWorld monsterWorldOf(Kelda_engine& engine) {
    MonsterWorld w;
    w.sprites = engine.getSpriteList();
    w.visible = engine.getVisibleList();
    w.spriteCount = engine.getSprites();
    w.cameraX = engine.getCameraX();
    w.cameraY = engine.getCameraY();
    w.walls = engine.walls;
    w.mapWidth = engine.mapWidth;
    w.mapHeight = engine.mapHeight;
    return w;
}
}  // namespace

void reportLevelLoad(const LevelLoad& load, const std::string& path) {
    if (load.kind == LevelLoad::badTexture) errors::loadBitError(load.detail);
    errors::mapLoadError(path, load.detail);
}

float moveSpeed() { return 3.0f * global.speedFactor; }
float turnSpeed() { return 2.0f * global.speedFactor; }
float enemyMoveSpeed() { return static_cast<float>(3.4 * static_cast<double>(global.speedFactor)); }

LevelRun::LevelRun(Kelda_engine& engine, int level, float* depthBuffer, int** columns, const LevelState& counters)
    : engine(engine), level(level), columns(columns) {
    width = global.buffer->w;
    height = global.buffer->h;
    engine.setupDefaultMove(global.keyForward, global.keyBackward, global.keyTurnLeft, global.keyTurnRight,
                            global.keyStrafeLeft, global.keyStrafeRight, moveSpeed, turnSpeed);
    engine.setBuffers(columns, depthBuffer, width, height);

    state = LevelState();
    state.points = counters.points;
    state.impactBullets = counters.impactBullets;
    state.buzzsawBullets = counters.buzzsawBullets;
    state.lives = counters.lives;
    state.health = MAX_HEALTH;
    state.healthUnit = (width - 20) / 5;
    state.weapon = startingWeapon(state.impactBullets, state.buzzsawBullets);
    global.speedFactor = 0.0f;
    art = campaignHudArt();

    platform::takeTicks(-1);  // ticks that piled up while loading are dropped
    engine.inRange();
    clock.restart(platform::poll().now);  // the first frame is timed from here, not from program start
}

void LevelRun::draw() {
    engine.render();
    copyColumnsToBitmap(columns, width, height, global.buffer);
    drawHud(global.buffer, state, art, global.speedFactor);
}

bool LevelRun::step(const platform::Input& in) {
    global.speedFactor = clock.lap(in.now);
    const Controls c = readControls(in, PlayKeys{global.keyForward, global.keyBackward, global.keyTurnLeft,
                                                 global.keyTurnRight, global.keyStrafeLeft, global.keyStrafeRight,
                                                 global.keyShoot});
    engine.move(c);
    chooseWeapon(state, c);
    monsterPass(state, monsterWorldOf(engine), enemyMoveSpeed(), global.invulnerable);
    startFire(state, c.shoot);

    ShotTarget target;
    target.sprites = engine.getSpriteList();
    target.spriteCount = engine.getSprites();
    target.crosshair = engine.getSpriteInCrosshair();
    target.playShot = playShotSound;
    processTicks(state, in.ticks, c.shoot, target);
    platform::takeTicks(in.ticks);

    if (state.health <= 0 || !state.monstersLeft) return false;
    controlKeys(in);
    return !state.quit;
}

void LevelRun::controlKeys(const platform::Input& in) {
    if (in.held[KEY_ESC]) {
        // One question per press: a player who answered "Oh no!" with Esc still down is not asked again.
        if (escArmed) {
            escArmed = false;
            if (askQuitQuestion()) {
                state.quit = true;
                return;
            }
            clock.restart(platform::poll().now);  // the time spent in the question is no frame time
        }
    } else {
        escArmed = true;
    }
    if (keyStates[KEY_F12]) global.invulnerable = !global.invulnerable;
    if (keyStates[KEY_F11]) {
        state.impactBullets += 100;
        state.buzzsawBullets += 100;
    }
    if (keyStates[KEY_F10]) state.showFps = !state.showFps;
}

int LevelRun::finish() {
    if (state.quit) return LEVEL_QUIT;
    if (state.health <= 0) return LEVEL_DIED;
    if (fileExists(levelPath(level + 1))) return LEVEL_WON;
    state.points += LAST_LEVEL_BONUS;
    return LEVEL_LAST_WON;
}

int playLevelFile(const std::string& path, int level, float* depthBuffer, int** columns, LevelState& counters,
                  const SteeringFor& steering) {
    Kelda_engine engine;
    LevelLoad load = loadLevel(engine, path);
    if (load.kind != LevelLoad::ok) reportLevelLoad(load, path);

    LevelRun run(engine, level, depthBuffer, columns, counters);
    const Steering steer = steering ? steering(engine) : nullptr;
    bool playing = true;
    screens::Screen loop;
    loop.ticks = screens::Ticks::everyFrame;
    loop.retrace = loop.pointer = false;
    loop.draw = [&](BITMAP*) { run.draw(); };
    loop.step = [&](const platform::Input& in) {
        if (!steer) {
            playing = run.step(in);
            return;
        }
        platform::Input steered = in;
        if (!steer(steered, run.state)) {
            run.state.quit = true;
            playing = false;
            return;
        }
        playing = run.step(steered);
    };
    loop.running = [&] { return playing; };
    screens::run(loop);
    int result = run.finish();
    counters.points = run.state.points;
    counters.impactBullets = run.state.impactBullets;
    counters.buzzsawBullets = run.state.buzzsawBullets;
    counters.lives = run.state.lives;
    return result;
}

int doMap(int level, float* depthBuffer, int** columns, int& points, int& impactBullets, int& buzzsawBullets,
          int& lives) {
    LevelState counters;
    counters.points = points;
    counters.impactBullets = impactBullets;
    counters.buzzsawBullets = buzzsawBullets;
    counters.lives = lives;
    const int result = playLevelFile(levelPath(level), level, depthBuffer, columns, counters);
    points = counters.points;
    impactBullets = counters.impactBullets;
    buzzsawBullets = counters.buzzsawBullets;
    lives = counters.lives;
    return result;
}
