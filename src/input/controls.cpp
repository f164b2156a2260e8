#include "input/controls.h"

#include <utility>

Controls readControls(const platform::Input& in, const PlayKeys& keys) {
    Controls c;
    c.forward = platform::held(in, keys.forward);
    c.backward = platform::held(in, keys.backward);
    c.turnLeft = platform::held(in, keys.turnLeft);
    c.turnRight = platform::held(in, keys.turnRight);
    c.strafeLeft = platform::held(in, keys.strafeLeft);
    c.strafeRight = platform::held(in, keys.strafeRight);
    c.shoot = platform::held(in, keys.shoot);
    c.weapon1 = platform::held(in, KEY_1);
    c.weapon2 = platform::held(in, KEY_2);
    c.weapon3 = platform::held(in, KEY_3);
    return c;
}

void holdControls(platform::Input& in, const Controls& c, const PlayKeys& keys) {
    const std::pair<int, bool> held[] = {
        {keys.forward, c.forward},     {keys.backward, c.backward},       {keys.turnLeft, c.turnLeft},
        {keys.turnRight, c.turnRight}, {keys.strafeLeft, c.strafeLeft},   {keys.strafeRight, c.strafeRight},
        {keys.shoot, c.shoot},         {KEY_1, c.weapon1}, {KEY_2, c.weapon2}, {KEY_3, c.weapon3},
    };
    for (const auto& k : held)
        if (k.first >= 0 && k.first < KEY_MAX) in.held[k.first] = false;
    for (const auto& k : held)
        if (k.first >= 0 && k.first < KEY_MAX && k.second) in.held[k.first] = true;
}
