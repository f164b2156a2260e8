// Fuzzes the settings decoder with arbitrary bytes: whatever a damaged file holds, the values
// the game goes on with are usable, and the file it writes back is 61 bytes that read back to
// the same values.
#include <allegro.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "settings/global.h"

namespace {
bool usableDepth(int d) { return d == 15 || d == 16 || d == 24 || d == 32; }

void check(const globals& g) {
    if (g.screenMode != 1 && g.screenMode != 2) std::abort();
    for (int k : {g.keyTurnLeft, g.keyTurnRight, g.keyForward, g.keyBackward, g.keyUse, g.keyShoot,
                  g.keyNextWeapon, g.keyPrevWeapon, g.keyMission, g.keyMessages, g.keyStrafeLeft,
                  g.keyStrafeRight})
        if (k < 0 || k >= KEY_MAX) std::abort();
    if (!usableDepth(g.colorDepth)) std::abort();
    if (g.screenshotCount < 0) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The desktop depth comes from the input too: the library may report anything, even 0.
    const int desktops[] = {0, 8, 15, 16, 24, 32, -1};
    const int desktop = desktops[size % 7];

    globals g;
    g.setDefaults(usableDepth(desktop) ? desktop : 16);
    g.decode(data, size, desktop);
    check(g);

    unsigned char out[SETTINGS_SIZE];
    std::memset(out, 0xAA, sizeof out);
    g.encode(out);
    if (out[0] != 1 && out[0] != 2) std::abort();
    if (out[1] > 1) std::abort();

    // What was written reads back to the same values and is written again byte for byte.
    globals back;
    back.decode(out, SETTINGS_SIZE, desktop);
    check(back);
    unsigned char again[SETTINGS_SIZE];
    back.encode(again);
    if (std::memcmp(out, again, SETTINGS_SIZE) != 0) std::abort();

    // A complete, valid file is taken as it stands, not "repaired".
    if (size >= SETTINGS_SIZE) {
        unsigned char first[SETTINGS_SIZE];
        std::memcpy(first, data, SETTINGS_SIZE);
        globals same;
        same.decode(first, SETTINGS_SIZE, desktop);
        unsigned char written[SETTINGS_SIZE];
        same.encode(written);
        bool valid = (first[0] == 1 || first[0] == 2) && first[1] <= 1;
        for (int i = 0; i < 12 && valid; ++i) {
            int32_t k;
            std::memcpy(&k, first + 2 + 4 * i, 4);
            valid = k >= 0 && k < KEY_MAX;
        }
        int32_t depth, shots;
        std::memcpy(&depth, first + 51, 4);
        std::memcpy(&shots, first + 57, 4);
        valid = valid && usableDepth(depth) && shots >= 0;
        if (valid && std::memcmp(first, written, SETTINGS_SIZE) != 0) std::abort();
    }
    return 0;
}
