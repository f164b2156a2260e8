// Level file reader, checks and writer. Little-endian fields, no padding.
#include "level/levelfile.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/constants.h"

namespace levelfile {
namespace {

const char* const TRUNCATED = "File is truncated";

// Buffered reads from a stream that report a short read instead of going past the end.
class ByteReader {
public:
    explicit ByteReader(std::istream& in) : in(in) {}

    bool bytes(unsigned char* out, size_t n) {
        while (n > 0) {
            if (pos == len && !refill()) return false;
            size_t take = std::min(n, len - pos);
            std::memcpy(out, buf + pos, take);
            pos += take;
            out += take;
            n -= take;
        }
        return true;
    }
    bool byte(unsigned char& b) { return bytes(&b, 1); }
    bool u16(unsigned short& v) {
        unsigned char b[2];
        if (!bytes(b, 2)) return false;
        v = static_cast<unsigned short>(b[0] | (b[1] << 8));
        return true;
    }
    bool i32(int& v) {
        unsigned char b[4];
        if (!bytes(b, 4)) return false;
        uint32_t u = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
        std::memcpy(&v, &u, 4);
        return true;
    }
    bool f32(float& v) {
        int bits;
        if (!i32(bits)) return false;
        std::memcpy(&v, &bits, 4);
        return true;
    }
    bool atEnd() { return pos == len && !refill(); }

private:
    bool refill() {
        if (!in.good()) return false;
        in.read(reinterpret_cast<char*>(buf), sizeof buf);
        len = static_cast<size_t>(in.gcount());
        pos = 0;
        return len > 0;
    }

    std::istream& in;
    unsigned char buf[65536];
    size_t pos = 0;
    size_t len = 0;
};

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    char text[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return text;
}

// Reads a path up to its terminator; "" on success, else the reason.
std::string readPath(ByteReader& r, int index, std::string& path) {
    path.clear();
    unsigned char c;
    for (;;) {
        if (!r.byte(c)) return TRUNCATED;
        if (c == static_cast<unsigned char>(DELIMITER)) break;
        if (path.size() >= static_cast<size_t>(MAX_PATH_BYTES))
            return format("Texture path %d is longer than %d bytes", index, MAX_PATH_BYTES);
        path.push_back(static_cast<char>(c));
    }
    if (path.empty()) return format("Texture path %d is empty", index);
    if (path.find('\0') != std::string::npos) return format("Texture path %d contains a zero byte", index);
    return "";
}

void putU16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void putU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putF32(std::string& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    putU32(out, bits);
}

bool insideMap(const Level& level, float x, float y) {
    return std::isfinite(x) && std::isfinite(y) && x >= 0.0f && y >= 0.0f && x < static_cast<float>(level.width) &&
           y < static_cast<float>(level.height);
}

}  // namespace

ReadResult read(std::istream& in, Level& level, std::string& problem, const TextureHook& hook) {
    level = Level();
    problem.clear();
    ByteReader r(in);
    auto truncated = [&problem] {
        problem = TRUNCATED;
        return ReadResult::malformed;
    };
    unsigned short textureCount;
    if (!r.u16(textureCount)) return truncated();
    if (textureCount > MAX_TEXTURES) {
        problem = format("Too many textures (%d, at most %d)", textureCount, MAX_TEXTURES);
        return ReadResult::malformed;
    }
    for (int i = 0; i < textureCount; ++i) {
        std::string path;
        problem = readPath(r, i, path);
        if (!problem.empty()) return ReadResult::malformed;
        level.texturePaths.push_back(path);
        if (hook && !hook(i, path)) {
            problem = path;
            return ReadResult::textureRejected;
        }
    }
    if (!r.i32(level.width) || !r.i32(level.height)) return truncated();
    if (level.width < MIN_MAP_SIDE || level.width > MAX_MAP_SIDE || level.height < MIN_MAP_SIDE ||
        level.height > MAX_MAP_SIDE) {
        problem = format("Map size %d x %d is outside %d to %d cells a side", level.width, level.height,
                         MIN_MAP_SIDE, MAX_MAP_SIDE);
        return ReadResult::malformed;
    }
    const size_t cells = static_cast<size_t>(level.width) * static_cast<size_t>(level.height);
    level.walls.resize(cells);
    level.floors.resize(cells);
    level.ceilings.resize(cells);
    for (size_t i = 0; i < cells; ++i) {
        unsigned short code;
        if (!r.u16(code)) return truncated();
        level.walls[i] = code;
        if (code == EMPTY_CELL) {
            if (!r.byte(level.floors[i]) || !r.byte(level.ceilings[i])) return truncated();
        } else {
            level.floors[i] = level.ceilings[i] = static_cast<unsigned char>(code & 0xFF);
        }
    }
    int spriteCount;
    if (!r.f32(level.startX) || !r.f32(level.startY) || !r.byte(level.skyRed) || !r.byte(level.skyGreen) ||
        !r.byte(level.skyBlue) || !r.i32(spriteCount))
        return truncated();
    if (spriteCount < 0 || spriteCount > MAX_SPRITES) {
        problem = format("Sprite count %d is outside 0 to %d", spriteCount, MAX_SPRITES);
        return ReadResult::malformed;
    }
    level.sprites.resize(static_cast<size_t>(spriteCount));
    for (Sprite& s : level.sprites) {
        if (!r.f32(s.x) || !r.f32(s.y) || !r.byte(s.health) || !r.u16(s.texture))
            return truncated();
    }
    // Nothing is stored after the sprites; what an editor adds there is no fault of the level.
    level.trailingBytes = !r.atEnd();
    return ReadResult::ok;
}

std::string validateCells(const Level& level, int& badCell) {
    const int textures = static_cast<int>(level.texturePaths.size());
    const int w = level.width, h = level.height;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const int c = j * w + i;
            badCell = c;
            const unsigned short code = level.walls[c];
            if (code != EMPTY_CELL) {
                if (code >= textures)
                    return format("Wall texture %d at cell (%d, %d) is not in the texture list", code, i, j);
                continue;
            }
            if (level.floors[c] >= textures)
                return format("Floor texture %d at cell (%d, %d) is not in the texture list", level.floors[c], i, j);
            if (level.ceilings[c] != OPEN_SKY && level.ceilings[c] >= textures)
                return format("Ceiling texture %d at cell (%d, %d) is not in the texture list", level.ceilings[c],
                              i, j);
            if (i == 0 || j == 0 || i == w - 1 || j == h - 1)
                return format("Map border is not closed at cell (%d, %d)", i, j);
        }
    }
    badCell = -1;
    return "";
}

std::string validateStart(const Level& level) {
    if (!insideMap(level, level.startX, level.startY))
        return format("Start (%g, %g) is outside the map", level.startX, level.startY);
    const int cell = static_cast<int>(level.startY) * level.width + static_cast<int>(level.startX);
    if (level.walls[cell] != EMPTY_CELL)
        return format("Start (%g, %g) is inside a wall", level.startX, level.startY);
    return "";
}

std::string validateSprite(const Level& level, size_t index) {
    const Sprite& s = level.sprites[index];
    if (s.texture >= level.texturePaths.size())
        return format("Sprite %d uses texture %d, which is not in the texture list", static_cast<int>(index),
                      s.texture);
    if (!std::isfinite(s.x) || !std::isfinite(s.y))
        return format("Sprite %d at (%g, %g) is outside the map", static_cast<int>(index), s.x, s.y);
    return "";
}

std::string spriteOffMap(const Level& level, size_t index) {
    const Sprite& s = level.sprites[index];
    if (insideMap(level, s.x, s.y)) return "";
    return format("Sprite %d at (%g, %g) is outside the map", static_cast<int>(index), s.x, s.y);
}

std::vector<std::string> warnings(const Level& level) {
    std::vector<std::string> found;
    for (size_t i = 0; i < level.sprites.size(); ++i) {
        const std::string off = spriteOffMap(level, i);
        if (!off.empty()) found.push_back(off + "; the game moves it to the nearest edge");
    }
    if (level.trailingBytes) found.push_back("File goes on after the last sprite; the game ignores the rest");
    return found;
}

std::string validate(const Level& level) {
    int badCell;
    std::string problem = validateCells(level, badCell);
    if (problem.empty()) problem = validateStart(level);
    for (size_t i = 0; problem.empty() && i < level.sprites.size(); ++i) problem = validateSprite(level, i);
    return problem;
}

std::string write(const Level& level) {
    std::string out;
    putU16(out, static_cast<unsigned>(level.texturePaths.size()));
    for (const std::string& path : level.texturePaths) {
        out += path;
        out.push_back(DELIMITER);
    }
    putU32(out, static_cast<uint32_t>(level.width));
    putU32(out, static_cast<uint32_t>(level.height));
    for (size_t i = 0; i < level.walls.size(); ++i) {
        putU16(out, level.walls[i]);
        if (level.walls[i] == EMPTY_CELL) {
            out.push_back(static_cast<char>(level.floors[i]));
            out.push_back(static_cast<char>(level.ceilings[i]));
        }
    }
    putF32(out, level.startX);
    putF32(out, level.startY);
    out.push_back(static_cast<char>(level.skyRed));
    out.push_back(static_cast<char>(level.skyGreen));
    out.push_back(static_cast<char>(level.skyBlue));
    putU32(out, static_cast<uint32_t>(level.sprites.size()));
    for (const Sprite& s : level.sprites) {
        putF32(out, s.x);
        putF32(out, s.y);
        out.push_back(static_cast<char>(s.health));
        putU16(out, s.texture);
    }
    return out;
}

}  // namespace levelfile
