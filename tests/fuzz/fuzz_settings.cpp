// Fuzzes the settings decoder with arbitrary bytes: whatever a damaged file holds, the values the
// game goes on with are usable, and the file it writes back is 61 bytes that read back to the same
// values; a complete, valid file is taken as it stands, not "repaired".
#include <allegro.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "settings/global.h"

namespace {
bool usableDepth(int d) { return d == 15 || d == 16 || d == 24 || d == 32; }

void check(const globals& g) {
    bool ok = (g.screenMode == 1 || g.screenMode == 2) && usableDepth(g.colorDepth) && g.screenshotCount >= 0;
    for (int k : {g.keyTurnLeft, g.keyTurnRight, g.keyForward, g.keyBackward, g.keyUse, g.keyShoot, g.keyNextWeapon,
                  g.keyPrevWeapon, g.keyMission, g.keyMessages, g.keyStrafeLeft, g.keyStrafeRight})
        ok = ok && k >= 0 && k < KEY_MAX;
    if (!ok) std::abort();
}

// Decodes and checks what the game goes on with, then writes it to out.
void roundTrip(const unsigned char* data, size_t size, int desktop, unsigned char* out) {
    globals g;
    g.setDefaults(usableDepth(desktop) ? desktop : 16);
    g.decode(data, size, desktop);
    check(g);
    std::memset(out, 0xAA, SETTINGS_SIZE);
    g.encode(out);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int desktops[] = {0, 8, 15, 16, 24, 32, -1};  // the library may report any desktop depth, even 0
    const int desktop = desktops[size % 7];
    unsigned char out[SETTINGS_SIZE], again[SETTINGS_SIZE];
    roundTrip(data, size, desktop, out);
    if ((out[0] != 1 && out[0] != 2) || out[1] > 1) std::abort();
    roundTrip(out, SETTINGS_SIZE, desktop, again);
    if (std::memcmp(out, again, SETTINGS_SIZE) != 0) std::abort();
    if (size < SETTINGS_SIZE) return 0;
    bool valid = (data[0] == 1 || data[0] == 2) && data[1] <= 1;
    for (int i = 0; i < 12 && valid; ++i) {
        int32_t k;
        std::memcpy(&k, data + 2 + 4 * i, 4);
        valid = k >= 0 && k < KEY_MAX;
    }
    int32_t depth, shots;
    std::memcpy(&depth, data + 51, 4);
    std::memcpy(&shots, data + 57, 4);
    roundTrip(data, SETTINGS_SIZE, desktop, out);
    if (valid && usableDepth(depth) && shots >= 0 && std::memcmp(data, out, SETTINGS_SIZE) != 0) std::abort();
    return 0;
}
