#pragma once
// A hand-driven level's view buffers and the globals it reads (play keys, back buffer, font), given back after.
#include <allegro.h>

#include <vector>

#include "input/keyStates.h"
#include "settings/global.h"

struct ViewBuffers {
    ViewBuffers(int w, int h) : pixels(static_cast<size_t>(w) * h), depth(w) {
        for (int x = 0; x < w; ++x) columns.push_back(&pixels[static_cast<size_t>(x) * h]);
    }
    std::vector<int> pixels;
    std::vector<int*> columns;
    std::vector<float> depth;
};

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
