#pragma once
// A hand-driven level's view buffers and the globals it reads (play keys, back buffer, font), given back after.
#include <allegro.h>

#include "../engine/engine_fixtures.h"
#include "input/keyStates.h"
#include "settings/global.h"

struct PlayStage : ViewBuffers {
    PlayStage(int w, int h) : ViewBuffers(w, h), saved(global) {
        global.buffer = create_bitmap(w, h), global.textFont = global.menuFont = font, global.crosshair = nullptr;
        global.keyForward = KEY_W, global.keyBackward = KEY_S, global.keyTurnLeft = KEY_LEFT;
        global.keyTurnRight = KEY_RIGHT, global.keyStrafeLeft = KEY_A, global.keyStrafeRight = KEY_D;
        global.keyShoot = KEY_SPACE, global.invulnerable = false, keyStates.resetAll();
    }
    ~PlayStage() { destroy_bitmap(global.buffer), global = saved, keyStates.resetAll(); }
    globals saved;
};
