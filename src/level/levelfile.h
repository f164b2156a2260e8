#pragma once
// The level file as plain data: reading it safely, checking it, writing it back byte for byte.
// The engine, the level tools, the tests and the fuzzers share this one reader.
#include <functional>
#include <istream>
#include <string>
#include <vector>

namespace levelfile {

// Limits that keep a hostile header from making us allocate or loop absurdly.
const int MAX_TEXTURES = 1024;
const int MAX_PATH_BYTES = 4096;
const int MIN_MAP_SIDE = 3;  // a closed border around at least one free cell
const int MAX_MAP_SIDE = 1024;
const int MAX_SPRITES = 4096;
const unsigned short EMPTY_CELL = 0xFFFF;
const unsigned char OPEN_SKY = 0xFF;

struct Sprite {
    float x = 0.0f;
    float y = 0.0f;
    unsigned char health = 0;
    unsigned short texture = 0;
};

struct Level {
    std::vector<std::string> texturePaths;
    int width = 0;
    int height = 0;
    std::vector<unsigned short> walls;   // row by row
    std::vector<unsigned char> floors;   // for a wall cell: the wall code's low byte, as the game keeps it
    std::vector<unsigned char> ceilings;
    float startX = 0.0f;
    float startY = 0.0f;
    unsigned char skyRed = 153, skyGreen = 153, skyBlue = 255;
    std::vector<Sprite> sprites;
    bool trailingBytes = false;  // the file went on after the last sprite (an editor's newline, say)
};

enum class ReadResult { ok, malformed, textureRejected };

// Called after each texture path is read; returning false stops reading there.
using TextureHook = std::function<bool(int index, const std::string& path)>;

// Reads one level from the stream's position. On malformed input `problem` holds a short reason;
// when the hook rejects a texture it holds that texture's path. Never reads past the end.
ReadResult read(std::istream& in, Level& level, std::string& problem, const TextureHook& hook = nullptr);

// What the game needs besides a well-formed file: indices inside the texture list, a closed
// border, a start in a free cell, sprites at finite positions. "" when the level is sound.
std::string validate(const Level& level);
// The parts of validate, for tools that want to point at the source of a fault.
std::string validateCells(const Level& level, int& badCell);
std::string validateStart(const Level& level);
std::string validateSprite(const Level& level, size_t index);
// Sprite `index` lies off the map: the game pulls it to the nearest edge. "" when it is on the map.
std::string spriteOffMap(const Level& level, size_t index);
// What a level maker should hear about a level the game still plays.
std::vector<std::string> warnings(const Level& level);

// The file's bytes.
std::string write(const Level& level);

}  // namespace levelfile
