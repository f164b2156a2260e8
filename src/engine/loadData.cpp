// Reading a level into the engine: the file is checked completely before the level replaces
// whatever the engine held.
#include <cstring>

#include "engine/engine.h"
#include "engine/levelfile.h"

namespace {
// Beyond this a texture's integer texel arithmetic could leave 64 bits; no real texture comes close.
const int MAX_TEXTURE_SIDE = 65536;
}

std::string Kelda_engine::loadData(std::ifstream& in) { return loadStream(in); }

std::string Kelda_engine::loadStream(std::istream& in) {
    releaseLevel();
    structuralError = false;

    levelfile::Level level;
    std::string problem;
    // Textures load as their paths are read, so a missing one stops the reading right there.
    std::vector<BITMAP*> loaded;
    std::vector<int> widthShift, heightShift;
    auto loadTexture = [&](int, const std::string& path) {
        BITMAP* bmp = load_bitmap(path.c_str(), nullptr);
        if (!bmp) return false;
        loaded.push_back(bmp);
        widthShift.push_back(isPowerOfTwo(bmp->w));
        heightShift.push_back(isPowerOfTwo(bmp->h));
        return widthShift.back() >= 0 && heightShift.back() >= 0 && bmp->w <= MAX_TEXTURE_SIDE &&
               bmp->h <= MAX_TEXTURE_SIDE;
    };
    levelfile::ReadResult result = levelfile::read(in, level, problem, loadTexture);
    if (result == levelfile::ReadResult::ok) {
        problem = levelfile::validate(level);
        if (!problem.empty()) result = levelfile::ReadResult::malformed;
    }

    // The textures belong to the engine from here on, whatever the outcome.
    textureCount = static_cast<unsigned short>(level.texturePaths.size());
    textures = new BITMAP*[textureCount > 0 ? textureCount : 1]();
    textureWidthShift = new int[textureCount > 0 ? textureCount : 1]();
    textureHeightShift = new int[textureCount > 0 ? textureCount : 1]();
    for (size_t i = 0; i < loaded.size(); ++i) {
        textures[i] = loaded[i];
        textureWidthShift[i] = widthShift[i];
        textureHeightShift[i] = heightShift[i];
    }
    if (result == levelfile::ReadResult::textureRejected) return problem;
    if (result == levelfile::ReadResult::malformed) {
        structuralError = true;
        return problem;
    }

    mapWidth = level.width;
    mapHeight = level.height;
    const size_t cells = level.walls.size();
    walls = new unsigned short[cells];
    floors = new unsigned char[cells];
    ceilings = new unsigned char[cells];
    std::memcpy(walls, level.walls.data(), cells * sizeof(unsigned short));
    std::memcpy(floors, level.floors.data(), cells);
    std::memcpy(ceilings, level.ceilings.data(), cells);
    posX = level.startX;
    posY = level.startY;
    skyColor = makecol(level.skyRed, level.skyGreen, level.skyBlue);

    spriteCount = static_cast<int>(level.sprites.size());
    const size_t n = spriteCount > 0 ? level.sprites.size() : 1;
    sprites = new Kelda_sprite[n]();
    visible = new unsigned char[n]();
    spriteOrder = new int[n]();
    spriteDistance = new float[n]();
    for (int i = 0; i < spriteCount; ++i) {
        const levelfile::Sprite& s = level.sprites[i];
        sprites[i].x = s.x;
        sprites[i].y = s.y;
        sprites[i].health = s.health;
        sprites[i].textureIndex = s.texture;
        sprites[i].bitmap = textures[s.texture];
    }
    prepareTexelSources();
    return "";
}
