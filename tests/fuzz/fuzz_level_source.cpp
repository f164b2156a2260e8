// Fuzzes the level text compiler: whatever it accepts must be a sound level whose text, written
// back and compiled again, gives the same bytes.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "engine/levelfile.h"
#include "engine/levelsource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    levelfile::Level level;
    std::string error;
    if (!levelsource::compile(text, level, error)) {
        if (error.empty()) std::abort();  // every refusal has a reason
        return 0;
    }
    if (!levelfile::validate(level).empty()) std::abort();
    const std::string bytes = levelfile::write(level);
    std::istringstream in(bytes);
    levelfile::Level read;
    if (levelfile::read(in, read, error) != levelfile::ReadResult::ok) std::abort();
    std::string again;
    if (!levelsource::decompile(read, again, error)) return 0;  // e.g. too many kinds of cells for the text
    levelfile::Level back;
    if (!levelsource::compile(again, back, error) || levelfile::write(back) != bytes) std::abort();
    return 0;
}
