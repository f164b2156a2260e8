#include "game/levelLoop.h"

#include <allegro.h>

#include <fstream>

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "core/constants.h"
#include "game/monsters.h"
#include "game/weapons.h"
#include "input/keyStates.h"
#include "input/mouse.h"
#include "settings/global.h"

namespace {
void presentFrame() { show(false, nullptr); }

bool askQuitQuestion() {
    // Keys pressed during play sit in the keyboard buffer; an Esc among them would answer at once.
    clear_keybuf();
    int answer = alert("Quit current game and", "return to main menu?", nullptr, "Yes", "Oh no!", 0, 0);
    settleQuitAnswer(answer == 1);
    return answer == 1;
}

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

void settleQuitAnswer(bool quit) {
    click = false;
    // The Enter (or Space) that chose "Yes" must not also confirm an entry of the main menu.
    if (quit)
        for (int code : {KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE})
            if (key[code]) keyStates.setState(code, 1);
}

LevelIO defaultLevelIO() { return LevelIO{presentFrame, askQuitQuestion, steadySeconds, playShotSound}; }

LevelIO levelIO = defaultLevelIO();

std::string levelPath(int level) { return "maps/" + i2str(level, 0) + ".map"; }

LevelLoad loadLevel(Kelda_engine& engine, const std::string& path) {
    LevelLoad load;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open() || !fileExists(path)) {
        load.kind = LevelLoad::notFound;
        load.detail = "File not found";
        return load;
    }
    std::string failed = engine.loadData(in);
    if (!failed.empty()) {
        load.kind = engine.loadError() ? LevelLoad::malformed : LevelLoad::badTexture;
        load.detail = failed;
    }
    return load;
}

void reportLevelLoad(const LevelLoad& load, const std::string& path) {
    if (load.kind == LevelLoad::badTexture) errors::loadBitError(load.detail);
    errors::mapLoadError(path, load.detail);
}

float moveSpeed() { return 3.0f * global.speedFactor; }
float turnSpeed() { return 2.0f * global.speedFactor; }
float enemyMoveSpeed() { return static_cast<float>(3.4 * static_cast<double>(global.speedFactor)); }

LevelRun::LevelRun(Kelda_engine& engine, int level, float* depthBuffer, int** columns, const LevelState& counters,
                   const LevelIO& io)
    : engine(engine), level(level), columns(columns), io(io), clock(io.now) {
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

    timerCounter = 0;  // ticks that piled up while loading are dropped
    engine.inRange();
    clock.restart();  // the first frame is timed from here, not from program start
}

bool LevelRun::frame() {
    engine.render();
    copyColumnsToBitmap(columns, width, height, global.buffer);
    drawHud(global.buffer, state, art, global.speedFactor);
    io.present();

    global.speedFactor = clock.lap();
    engine.defaultMove();
    chooseWeapon(state);
    monsterPass(state, monsterWorldOf(engine), enemyMoveSpeed(), global.invulnerable);
    startFire(state, global.keyShoot);

    ShotTarget target;
    target.sprites = engine.getSpriteList();
    target.spriteCount = engine.getSprites();
    target.crosshair = engine.getSpriteInCrosshair();
    target.playShot = io.playShot;
    processTicks(state, global.keyShoot, target);

    if (state.health <= 0 || !state.monstersLeft) return false;
    controlKeys();
    return !state.quit;
}

void LevelRun::controlKeys() {
    if (key[KEY_ESC]) {
        // One question per press: a player who answered "Oh no!" with Esc still down is not asked again.
        if (escArmed) {
            escArmed = false;
            if (io.askQuit()) {
                state.quit = true;
                return;
            }
            clock.restart();  // the time spent in the question is no frame time
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

int doMap(int level, float* depthBuffer, int** columns, int& points, int& impactBullets, int& buzzsawBullets,
          int& lives) {
    Kelda_engine engine;
    const std::string path = levelPath(level);
    LevelLoad load = loadLevel(engine, path);
    if (load.kind != LevelLoad::ok) reportLevelLoad(load, path);

    LevelState counters;
    counters.points = points;
    counters.impactBullets = impactBullets;
    counters.buzzsawBullets = buzzsawBullets;
    counters.lives = lives;
    LevelRun run(engine, level, depthBuffer, columns, counters, levelIO);
    while (run.frame()) {
    }
    int result = run.finish();
    points = run.state.points;
    impactBullets = run.state.impactBullets;
    buzzsawBullets = run.state.buzzsawBullets;
    lives = run.state.lives;
    return result;
}
