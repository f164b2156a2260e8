#include "input/controls.h"

namespace {
// Codes outside the key array (a damaged settings file) are never down.
bool down(const platform::Input& in, int code) { return code >= 0 && code < KEY_MAX && in.held[code]; }
}  // namespace

Controls readControls(const platform::Input& in, const PlayKeys& keys) {
    Controls c;
    c.forward = down(in, keys.forward);
    c.backward = down(in, keys.backward);
    c.turnLeft = down(in, keys.turnLeft);
    c.turnRight = down(in, keys.turnRight);
    c.strafeLeft = down(in, keys.strafeLeft);
    c.strafeRight = down(in, keys.strafeRight);
    c.shoot = down(in, keys.shoot);
    c.weapon1 = down(in, KEY_1);
    c.weapon2 = down(in, KEY_2);
    c.weapon3 = down(in, KEY_3);
    return c;
}
