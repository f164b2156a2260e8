#include "input/controls.h"

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
