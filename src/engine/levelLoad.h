#pragma once
// Finding and reading a level's file, with the reason when it cannot be played.
#include <string>

#include "engine/engine.h"

// "maps/<n>.map"
std::string levelPath(int level);

// Why a level file could not be used; ok when it loaded.
struct LevelLoad {
    enum Kind { ok, notFound, badTexture, malformed } kind = ok;
    std::string detail;  // the texture path or the reason
};
LevelLoad loadLevel(Kelda_engine& engine, const std::string& path);
// Why a texture cannot be used and how to mend it: "gfx/x.bmp: 48 x 64 pixels: texture sides must be ...".
std::string textureTrouble(const std::string& path);
// One sentence for what went wrong, as the level tools print it; "" when the level loaded.
std::string levelLoadText(const LevelLoad& load);
