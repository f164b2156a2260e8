// Reading a level into the engine: the file is checked completely before the level replaces
// whatever the engine held.
#include <cstring>

#include "core/picture.h"
#include "engine/engine.h"
#include "level/levelfile.h"

namespace {
// Beyond this a texture's integer texel arithmetic could leave 64 bits; no real texture comes close.
const int MAX_TEXTURE_SIDE = 65536;

// The library reads file names in its current text format; in UTF-8 a malformed sequence makes
// its string routines read astray, so such a path is refused before it gets there.
bool usableAsFileName(const std::string& path) {
    if (get_uformat() != U_UTF8) return true;
    for (size_t i = 0; i < path.size();) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        size_t more = c < 0x80 ? 0 : (c >= 0xC2 && c <= 0xDF) ? 1 : (c >= 0xE0 && c <= 0xEF) ? 2
                                                             : (c >= 0xF0 && c <= 0xF4) ? 3 : 99;
        if (more == 99 || i + more >= path.size()) return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(path[i + k]) & 0xC0) != 0x80) return false;
        i += more + 1;
    }
    return true;
}
}

std::string Kelda_engine::loadData(std::ifstream& in) { return loadStream(in); }

std::string Kelda_engine::loadStream(std::istream& in) {
    levelfile::Level level;
    std::string problem;
    // Textures load as their paths are read, so a missing one stops the reading right there.
    std::vector<BITMAP*> loaded;
    std::vector<int> widthShift, heightShift;
    int unusablePath = -1;
    auto loadTexture = [&](int index, const std::string& path) {
        if (!usableAsFileName(path)) {
            unusablePath = index;
            return false;
        }
        BITMAP* bmp = readPicture(path);
        if (!bmp) return false;
        loaded.push_back(bmp);
        widthShift.push_back(isPowerOfTwo(bmp->w));
        heightShift.push_back(isPowerOfTwo(bmp->h));
        return widthShift.back() >= 0 && heightShift.back() >= 0 && bmp->w <= MAX_TEXTURE_SIDE &&
               bmp->h <= MAX_TEXTURE_SIDE;
    };
    levelfile::ReadResult result = levelfile::read(in, level, problem, loadTexture);
    if (unusablePath >= 0) {
        result = levelfile::ReadResult::malformed;
        problem = "Texture path " + std::to_string(unusablePath) + " is not valid UTF-8";
    }
    if (result == levelfile::ReadResult::ok) {
        problem = levelfile::validate(level);
        if (!problem.empty()) result = levelfile::ReadResult::malformed;
    }
    structuralError = result == levelfile::ReadResult::malformed;
    if (result != levelfile::ReadResult::ok) {
        // A refused level leaves the one the engine held as it was.
        for (BITMAP* bmp : loaded) destroy_bitmap(bmp);
        return problem;
    }

    releaseLevel();
    textureCount = static_cast<unsigned short>(level.texturePaths.size());
    textures = new BITMAP*[textureCount > 0 ? textureCount : 1]();
    textureWidthShift = new int[textureCount > 0 ? textureCount : 1]();
    textureHeightShift = new int[textureCount > 0 ? textureCount : 1]();
    for (size_t i = 0; i < loaded.size(); ++i) {
        textures[i] = loaded[i];
        textureWidthShift[i] = widthShift[i];
        textureHeightShift[i] = heightShift[i];
    }

    mapWidth = level.width;
    mapHeight = level.height;
    const size_t cells = level.walls.size();
    walls = new unsigned short[cells];
    floors = new unsigned char[cells];
    ceilings = new unsigned char[cells];
    ++levelLoads;
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
    crosshairSprite = -1;  // it named a sprite of the old level
    for (int i = 0; i < spriteCount; ++i) {
        const levelfile::Sprite& s = level.sprites[i];
        sprites[i].x = s.x;
        sprites[i].y = s.y;
        sprites[i].health = s.health;
        sprites[i].textureIndex = s.texture;
        sprites[i].bitmap = textures[s.texture];
    }
    prepareTextures();
    return "";
}
