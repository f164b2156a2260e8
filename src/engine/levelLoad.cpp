#include "engine/levelLoad.h"

#include <fstream>

#include "core/ElementaryFunctions.h"

std::string levelPath(int level) { return "maps/" + i2str(level, 0) + ".map"; }

LevelLoad loadLevel(Kelda_engine& engine, const std::string& path) {
    LevelLoad load;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open() || !fileExists(path)) {
        load.kind = LevelLoad::notFound;
        load.detail = "File not found";
        return load;
    }
    std::string failed = engine.loadData(in);
    if (!failed.empty()) {
        load.kind = engine.loadError() ? LevelLoad::malformed : LevelLoad::badTexture;
        load.detail = failed;
    }
    return load;
}

std::string levelLoadText(const LevelLoad& load) {
    if (load.kind == LevelLoad::badTexture)
        return "Texture \"" + load.detail + "\" cannot be loaded, or a side of it is not a power of two";
    return load.detail;
}
