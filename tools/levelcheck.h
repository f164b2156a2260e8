#pragma once
// Loading a level file by path the way the game does, with one sentence for whatever is wrong.
#include <string>

#include "engine/engine.h"

// "" when the level loaded into the engine; else "File not found", the file's fault, or the texture
// that could not be used. The tools print this; the game shows the same facts as Error010/Error006.
std::string loadLevelFile(Kelda_engine& engine, const std::string& path);
