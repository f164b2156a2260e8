#include "input/mouse.h"

#include <allegro.h>

#include "settings/global.h"

std::atomic<int> mouseZDiff{0};
std::atomic<int> oldMouseZ{0};
std::atomic<int> clickPosX{0};
std::atomic<int> clickPosY{0};
std::atomic<bool> click{false};
std::atomic<bool> down{false};

void installMouse() {}

// Runs on the timer thread: short, no allocation, no locks.
void mouseCallback(int) {
    int z = mouse_z;
    mouseZDiff = z - oldMouseZ.load();
    oldMouseZ = z;
    bool left = (mouse_b & 1) != 0;
    if (left && !down) {
        down = true;
        clickPosX = mouse_x;
        clickPosY = mouse_y;
        click = false;
    } else if (down && !left) {
        down = false;
        click = (mouse_x == clickPosX.load() && mouse_y == clickPosY.load());
    } else {
        click = false;
    }
}
END_OF_FUNCTION(mouseCallback)

bool clickEvent() { return click.exchange(false); }

void drawMouse() {
    if (mouse_sprite && global.buffer)
        masked_blit(mouse_sprite, global.buffer, 0, 0, mouse_x, mouse_y, mouse_sprite->w, mouse_sprite->h);
}

bool wheelUpEvent() { return mouseZDiff.load() > 0; }
bool wheelDownEvent() { return mouseZDiff.load() < 0; }
