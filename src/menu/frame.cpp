#include "menu/frame.h"

#include <allegro.h>

#include "core/ElementaryFunctions.h"
#include "core/constants.h"
#include "settings/global.h"

namespace menu {

FrameHooks frameHooks;

int screenWidth() {
    if (gfx_driver) return SCREEN_W;
    return global.buffer ? global.buffer->w : 0;
}

int screenHeight() {
    if (gfx_driver) return SCREEN_H;
    return global.buffer ? global.buffer->h : 0;
}

void presentFrame(bool waitRetrace, bool withMouse) {
    if (frameHooks.present) {
        frameHooks.present();
        return;
    }
    if (waitRetrace && global.vsync) vsync();
    show(withMouse, nullptr);
}

void idle() {
    if (frameHooks.idle) {
        frameHooks.idle();
        return;
    }
    yieldUntilTick();
}

bool held(int code) { return code >= 0 && code < KEY_MAX && key[code] != 0; }

}  // namespace menu
