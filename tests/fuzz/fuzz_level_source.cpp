// Fuzzes the level text compiler: whatever it accepts must be a sound level whose text, written
// back and compiled again, gives the same bytes; every refusal has a reason.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "level/levelfile.h"
#include "level/levelsource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    levelfile::Level level, read, back;
    std::string error, again;
    if (!levelsource::compile(std::string(reinterpret_cast<const char*>(data), size), level, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (!levelfile::validate(level).empty()) std::abort();
    const std::string bytes = levelfile::write(level);
    std::istringstream in(bytes);
    if (levelfile::read(in, read, error) != levelfile::ReadResult::ok) std::abort();
    if (!levelsource::decompile(read, again, error)) return 0;  // e.g. more kinds of cells than the text has
    if (!levelsource::compile(again, back, error) || levelfile::write(back) != bytes) std::abort();
    return 0;
}
