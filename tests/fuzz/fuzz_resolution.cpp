// Fuzzes the "resolution.txt" reader: any text gives a resolution the game can ask for, and two
// plain integers in range are taken as they stand.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/resolution.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Resolution r = parseResolution(std::string(reinterpret_cast<const char*>(data), size));
    if (r.width < MIN_GAME_WIDTH || r.width > MAX_GAME_WIDTH || r.height < MIN_GAME_HEIGHT || r.height > MAX_GAME_HEIGHT)
        std::abort();
    const Resolution again = parseResolution(std::to_string(r.width) + " " + std::to_string(r.height) + "\n");
    if (again.width != r.width || again.height != r.height) std::abort();
    return 0;
}
