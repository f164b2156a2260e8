#include "levelcheck.h"

#include "engine/levelLoad.h"

std::string loadLevelFile(Kelda_engine& engine, const std::string& path) {
    return levelLoadText(loadLevel(engine, path));
}
