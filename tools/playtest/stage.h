#pragma once
// Where the bot plays: a scripted platform in place of the display, keyboard and timer, the back
// buffer and view buffers a level draws into, the default play keys, and silent shot sounds so
// that every shot fired is counted where the game plays its sample. Gives everything back after.
#include <allegro.h>

#include <vector>

#include "game/levelState.h"
#include "input/controls.h"
#include "platform/platform.h"
#include "settings/global.h"

namespace playtest {

class Stage {
public:
    Stage(int width, int height);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // The input of the next step: the keys for what the bot holds, the ticks due by `now` and the clock.
    const platform::Input& hold(const Controls& c, double now);

    std::vector<int*> columns;
    std::vector<float> depth;
    int shots = 0;

private:
    platform::Backend previous;
    globals saved;
    SAMPLE* savedSounds[WEAPON_COUNT];
    SAMPLE* silence = nullptr;
    std::vector<int> pixels;
    platform::Input in;
    int pending = 0;
};

}  // namespace playtest
