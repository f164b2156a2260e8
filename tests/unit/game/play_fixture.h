#pragma once
// What every frame-by-frame driver of the level loop sets up: the view buffers a level draws
// into and the play keys it holds. Shared by the level-loop tests, the playtest bot and the soak.
#include <allegro.h>

#include <cstddef>
#include <vector>

#include "core/constants.h"
#include "input/keyStates.h"
#include "settings/global.h"

struct ViewBuffers {
    ViewBuffers(int width, int height) : pixels(static_cast<size_t>(width) * height, 0), depth(width, 0.0f) {
        for (int x = 0; x < width; ++x) columns.push_back(&pixels[static_cast<size_t>(x) * height]);
    }
    std::vector<int> pixels;
    std::vector<int*> columns;
    std::vector<float> depth;
};

// The default movement and shoot keys, whatever the settings in force hold.
inline void usePlayKeys() {
    global.keyForward = KEY_W;
    global.keyBackward = KEY_S;
    global.keyTurnLeft = KEY_LEFT;
    global.keyTurnRight = KEY_RIGHT;
    global.keyStrafeLeft = KEY_A;
    global.keyStrafeRight = KEY_D;
    global.keyShoot = KEY_SPACE;
}

// The globals a level reads, set for a test driver with no keys held, and given back afterwards.
class PlayStage {
    globals saved;

public:
    PlayStage(int width, int height) : saved(global), view(width, height) {
        global.buffer = create_bitmap(width, height);
        global.textFont = global.menuFont = font;
        global.crosshair = nullptr;
        global.invulnerable = false;
        usePlayKeys();
        calm();
    }
    ~PlayStage() {
        calm();
        destroy_bitmap(global.buffer);
        global = saved;
    }
    ViewBuffers view;

private:
    static void calm() {
        for (int code = 0; code < KEY_MAX; ++code) key[code] = 0;
        keyStates.resetAll();
        timerCounter = 0;
    }
};
