#pragma once
// What every frame-by-frame driver of the level loop sets up: the view buffers a level draws
// into and the play keys it holds. Shared by the level-loop tests, the playtest bot and the soak.
#include <allegro.h>

#include <cstddef>
#include <vector>

#include "settings/global.h"

struct ViewBuffers {
    ViewBuffers() = default;
    ViewBuffers(int width, int height) { resize(width, height); }
    void resize(int width, int height) {
        pixels.assign(static_cast<size_t>(width) * height, 0);
        columns.clear();
        for (int x = 0; x < width; ++x) columns.push_back(&pixels[static_cast<size_t>(x) * height]);
        depth.assign(width, 0.0f);
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
