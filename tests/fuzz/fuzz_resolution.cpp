// Fuzzes the "resolution.txt" reader: any text gives a resolution the game can ask for, and
// two plain integers in range are taken as they stand.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/resolution.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Resolution r = parseResolution(text);
    const bool inRange = r.width >= MIN_GAME_WIDTH && r.width <= MAX_GAME_WIDTH && r.height >= MIN_GAME_HEIGHT &&
                         r.height <= MAX_GAME_HEIGHT;
    if (!inRange) std::abort();

    // The text the game would have accepted must round-trip.
    const std::string plain = std::to_string(r.width) + " " + std::to_string(r.height) + "\n";
    const Resolution again = parseResolution(plain);
    if (again.width != r.width || again.height != r.height) std::abort();
    return 0;
}
