#include "engine/levelLoad.h"

#include <fstream>

#include "core/ElementaryFunctions.h"
#include "core/picture.h"

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

namespace {
int nearestPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p / 2 >= 1 && n - p / 2 < p - n ? p / 2 : p;
}
}  // namespace

std::string textureTrouble(const std::string& path) {
    std::string trouble;
    BITMAP* bmp = readPicture(path, &trouble);
    if (!bmp) {
        if (trouble == "file not found")
            return path + ": file not found (texture paths are relative to the folder the game runs in)";
        return path + ": not a picture the game can read: " + trouble;
    }
    const int w = bmp->w, h = bmp->h;
    destroy_bitmap(bmp);
    if (isPowerOfTwo(w) < 0 || isPowerOfTwo(h) < 0)
        return path + ": " + std::to_string(w) + " x " + std::to_string(h) +
               " pixels: texture sides must be powers of two (scale it to " + std::to_string(nearestPowerOfTwo(w)) +
               " x " + std::to_string(nearestPowerOfTwo(h)) + ")";
    return path + ": cannot be loaded";
}

std::string levelLoadText(const LevelLoad& load) {
    if (load.kind == LevelLoad::badTexture) return textureTrouble(load.detail);
    return load.detail;
}
