#include "engine/levelcheck.h"

#include <fstream>

std::string loadLevelFile(Kelda_engine& engine, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return "File not found";
    const std::string failed = engine.loadData(in);
    if (failed.empty() || engine.loadError()) return failed;
    return "Texture \"" + failed + "\" cannot be loaded, or a side of it is not a power of two";
}
