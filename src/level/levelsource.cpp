// Level source compiler and writer.
#include "level/levelsource.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

namespace levelsource {
namespace {

using levelfile::Level;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Printable ASCII except the blank and the comment sign.
bool isGridChar(char c) { return c > ' ' && c < 127 && c != ';'; }

// A level file ends each path with a carriage return, so no control character goes into one.
bool pathChar(char c) { return c == '\t' || static_cast<unsigned char>(c) >= 0x20; }

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a])) ++a;
    while (b > a && isBlank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

std::string withoutComment(const std::string& s) { return trim(s.substr(0, s.find(';'))); }

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && isBlank(s[i])) ++i;
        size_t j = i;
        while (j < s.size() && !isBlank(s[j])) ++j;
        if (j > i) out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

bool parseInt(const std::string& s, long low, long high, long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    out = v;
    return true;
}

bool parseFloat(const std::string& s, float& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const float v = std::strtof(s.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// The shortest decimal text that reads back as the same float.
std::string floatText(float v) {
    char text[64];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(v));
        if (std::strtof(text, nullptr) == v && std::signbit(std::strtof(text, nullptr)) == std::signbit(v)) break;
    }
    return text;
}

std::string quoteChar(char c) {
    if (c >= ' ' && c < 127) return std::string("'") + c + "'";
    char text[16];
    std::snprintf(text, sizeof text, "byte %d", static_cast<unsigned char>(c));
    return text;
}

std::string lowerFirst(std::string s) {
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

struct Cell {
    unsigned short wall;
    unsigned char floor, ceiling;
};

class Compiler {
public:
    bool run(const std::string& text, Level& level, std::string& error) {
        splitLines(text);
        for (size_t i = 0; i < lines.size(); ++i) {
            lineNo = static_cast<int>(i) + 1;
            if (lines[i].find('\0') != std::string::npos) {
                fail("the line holds a zero byte");
                break;
            }
            if (inMap ? !mapLine(lines[i]) : !keywordLine(lines[i])) break;
        }
        if (problem.empty()) finish(level);
        error = problem;
        return problem.empty();
    }

private:
    std::vector<std::string> lines;
    int lineNo = 0;
    std::string problem;
    Level out;
    bool inMap = false;
    int mapLineNo = 0, skyLine = 0, startLine = 0;
    std::vector<std::pair<std::string, int>> rows;  // text and line
    std::map<char, std::pair<Cell, int>> legend;    // cell and line
    std::vector<int> spriteLines;

    void splitLines(const std::string& text) {
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            start = end + 1;
        }
    }

    bool fail(const std::string& reason) {
        problem = "line " + std::to_string(lineNo) + ": " + reason;
        return false;
    }
    bool failAt(int line, const std::string& reason) {
        lineNo = line;
        return fail(reason);
    }

    bool mapLine(const std::string& raw) {
        const std::string trimmed = trim(raw);
        if (!trimmed.empty() && trimmed[0] == ';') return true;
        const std::string row = withoutComment(raw);
        if (row == "end") {
            inMap = false;
            return true;
        }
        if (row.empty()) return fail("blank line inside the map (the map ends with 'end')");
        for (char c : row) {
            if (isGridChar(c)) continue;
            const std::vector<std::string> w = words(row);
            for (const char* keyword : {"texture", "sky", "start", "wall", "floor", "map", "sprite"})
                if (w[0] == keyword) return fail("'" + w[0] + "' inside the map (is its 'end' missing?)");
            return fail(quoteChar(c) + " cannot be a grid character");
        }
        if (!rows.empty() && row.size() != rows[0].first.size())
            return fail("the row is " + std::to_string(row.size()) + " cells long, the first row " +
                        std::to_string(rows[0].first.size()));
        if (rows.size() >= static_cast<size_t>(levelfile::MAX_MAP_SIDE))
            return fail("more than " + std::to_string(levelfile::MAX_MAP_SIDE) + " rows");
        rows.emplace_back(row, lineNo);
        return true;
    }

    bool texture(const std::string& rest) {
        if (out.texturePaths.size() >= static_cast<size_t>(levelfile::MAX_TEXTURES))
            return fail("more than " + std::to_string(levelfile::MAX_TEXTURES) + " textures");
        std::string path;
        const std::string r = trim(rest);
        if (!r.empty() && r[0] == '"') {
            const size_t close = r.find('"', 1);
            if (close == std::string::npos) return fail("the texture path has no closing '\"'");
            path = r.substr(1, close - 1);
            const std::string after = trim(r.substr(close + 1));
            if (!after.empty() && after[0] != ';') return fail("unexpected text after the texture path");
        } else {
            path = withoutComment(r);
        }
        if (path.empty()) return fail("'texture' needs a path");
        for (char c : path)
            if (!pathChar(c)) return fail("the texture path holds the control character " + quoteChar(c));
        if (path.size() > static_cast<size_t>(levelfile::MAX_PATH_BYTES))
            return fail("the texture path is longer than " + std::to_string(levelfile::MAX_PATH_BYTES) + " bytes");
        out.texturePaths.push_back(path);
        return true;
    }

    bool legendEntry(const std::vector<std::string>& w, bool wall) {
        const char* usage = wall ? "'wall' takes a grid character and a texture number (0 to 65534)"
                                 : "'floor' takes a grid character, a floor texture number and a ceiling "
                                   "texture number or 'sky'";
        if (w.size() != (wall ? 3u : 4u) || w[1].size() != 1) return fail(usage);
        const char c = w[1][0];
        if (!isGridChar(c)) return fail(quoteChar(c) + " cannot be a grid character");
        auto known = legend.find(c);
        if (known != legend.end())
            return fail("grid character " + quoteChar(c) + " is already given on line " +
                        std::to_string(known->second.second));
        Cell cell{levelfile::EMPTY_CELL, 0, 0};
        long a, b = levelfile::OPEN_SKY;
        if (wall) {
            if (!parseInt(w[2], 0, 0xFFFE, a)) return fail(usage);
            cell.wall = static_cast<unsigned short>(a);
            cell.floor = cell.ceiling = static_cast<unsigned char>(a & 0xFF);
        } else {
            if (!parseInt(w[2], 0, 255, a) || (w[3] != "sky" && !parseInt(w[3], 0, 255, b))) return fail(usage);
            cell.floor = static_cast<unsigned char>(a);
            cell.ceiling = static_cast<unsigned char>(b);
        }
        legend[c] = {cell, lineNo};
        return true;
    }

    bool keywordLine(const std::string& raw) {
        const std::string trimmed = trim(raw);
        if (trimmed.empty() || trimmed[0] == ';') return true;
        size_t kwEnd = 0;
        while (kwEnd < trimmed.size() && !isBlank(trimmed[kwEnd]) && trimmed[kwEnd] != ';') ++kwEnd;
        const std::string keyword = trimmed.substr(0, kwEnd);
        if (keyword == "texture") return texture(trimmed.substr(kwEnd));
        const std::vector<std::string> w = words(withoutComment(trimmed));
        if (keyword == "sky") {
            if (skyLine) return fail("a second 'sky' (the first is on line " + std::to_string(skyLine) + ")");
            long r, g, b;
            if (w.size() != 4 || !parseInt(w[1], 0, 255, r) || !parseInt(w[2], 0, 255, g) ||
                !parseInt(w[3], 0, 255, b))
                return fail("'sky' takes red, green and blue, each 0 to 255");
            out.skyRed = static_cast<unsigned char>(r);
            out.skyGreen = static_cast<unsigned char>(g);
            out.skyBlue = static_cast<unsigned char>(b);
            skyLine = lineNo;
            return true;
        }
        if (keyword == "start") {
            if (startLine) return fail("a second 'start' (the first is on line " + std::to_string(startLine) + ")");
            if (w.size() != 3 || !parseFloat(w[1], out.startX) || !parseFloat(w[2], out.startY))
                return fail("'start' takes the camera's x and y");
            startLine = lineNo;
            return true;
        }
        if (keyword == "wall") return legendEntry(w, true);
        if (keyword == "floor") return legendEntry(w, false);
        if (keyword == "map") {
            if (mapLineNo) return fail("a second map (the first starts on line " + std::to_string(mapLineNo) + ")");
            if (w.size() != 1) return fail("'map' stands alone on its line; the rows follow it");
            mapLineNo = lineNo;
            inMap = true;
            return true;
        }
        if (keyword == "end") return fail("'end' without 'map'");
        if (keyword == "sprite") {
            levelfile::Sprite s;
            long health, tex;
            if (w.size() != 7 || w[3] != "health" || w[5] != "texture" || !parseFloat(w[1], s.x) ||
                !parseFloat(w[2], s.y) || !parseInt(w[4], 0, 255, health) || !parseInt(w[6], 0, 65535, tex))
                return fail("'sprite' takes x y health H texture T (H 0 to 255)");
            if (out.sprites.size() >= static_cast<size_t>(levelfile::MAX_SPRITES))
                return fail("more than " + std::to_string(levelfile::MAX_SPRITES) + " sprites");
            s.health = static_cast<unsigned char>(health);
            s.texture = static_cast<unsigned short>(tex);
            out.sprites.push_back(s);
            spriteLines.push_back(lineNo);
            return true;
        }
        return fail("unknown keyword '" + keyword + "'");
    }

    void finish(Level& level) {
        lineNo = static_cast<int>(lines.size());
        if (inMap) return (void)failAt(mapLineNo, "the map has no 'end'");
        // Something missing has no line of its own.
        if (!mapLineNo) return (void)(problem = "the source has no map (a 'map' line, the rows, then 'end')");
        if (!startLine) return (void)(problem = "the source has no camera start ('start X Y')");
        const int w = rows.empty() ? 0 : static_cast<int>(rows[0].first.size());
        const int h = static_cast<int>(rows.size());
        if (w < levelfile::MIN_MAP_SIDE || w > levelfile::MAX_MAP_SIDE || h < levelfile::MIN_MAP_SIDE)
            return (void)failAt(mapLineNo, "the map is " + std::to_string(w) + " x " + std::to_string(h) +
                                               " cells; each side must be " +
                                               std::to_string(levelfile::MIN_MAP_SIDE) + " to " +
                                               std::to_string(levelfile::MAX_MAP_SIDE));
        out.width = w;
        out.height = h;
        for (const auto& row : rows) {
            for (char c : row.first) {
                auto entry = legend.find(c);
                if (entry == legend.end())
                    return (void)failAt(row.second, "unknown grid character " + quoteChar(c));
                out.walls.push_back(entry->second.first.wall);
                out.floors.push_back(entry->second.first.floor);
                out.ceilings.push_back(entry->second.first.ceiling);
            }
        }
        int badCell = -1;
        std::string reason = levelfile::validateCells(out, badCell);
        if (!reason.empty()) return (void)failAt(rows[badCell / w].second, lowerFirst(reason));
        reason = levelfile::validateStart(out);
        if (!reason.empty()) return (void)failAt(startLine, lowerFirst(reason));
        for (size_t i = 0; i < out.sprites.size(); ++i) {
            // The game would pull a sprite off the map to its edge; in a source that is a typing slip.
            reason = levelfile::validateSprite(out, i);
            if (reason.empty()) reason = levelfile::spriteOffMap(out, i);
            if (!reason.empty()) return (void)failAt(spriteLines[i], lowerFirst(reason));
        }
        level = out;
    }
};

// Grid characters in the order a reader finds natural. No 'e', so that no row can read "end".
const char WALL_CHARS[] = "#ABCDFGHIJKLMNOPQRSTUVWXYZ0123456789@$%&*=?!|";
const char FREE_CHARS[] = ".,:_-~+^abcdfghijklmnopqrstuvwxyz<>()[]{}/\\";

std::string pathText(const std::string& path, std::string& error, size_t index) {
    for (char c : path) {
        if (!pathChar(c)) {
            error = "texture " + std::to_string(index) + " has a control character in its path";
            return "";
        }
    }
    const bool needsQuotes = path.find(';') != std::string::npos || isBlank(path.front()) ||
                             isBlank(path.back()) || path.front() == '"';
    if (!needsQuotes) return path;
    if (path.find('"') != std::string::npos) {
        error = "texture " + std::to_string(index) + " has both '\"' and ';' or outer blanks in its path";
        return "";
    }
    return "\"" + path + "\"";
}

}  // namespace

bool compile(const std::string& text, levelfile::Level& level, std::string& error) {
    return Compiler().run(text, level, error);
}

bool decompile(const levelfile::Level& level, std::string& text, std::string& error) {
    error.clear();
    std::string out = "; Brawnwick level\n";
    for (size_t i = 0; i < level.texturePaths.size(); ++i) {
        if (level.texturePaths[i].empty()) {
            error = "texture " + std::to_string(i) + " has an empty path";
            return false;
        }
        const std::string path = pathText(level.texturePaths[i], error, i);
        if (!error.empty()) return false;
        out += "texture " + path + "   ; " + std::to_string(i) + "\n";
    }
    out += "sky " + std::to_string(level.skyRed) + " " + std::to_string(level.skyGreen) + " " +
           std::to_string(level.skyBlue) + "\n";
    out += "start " + floatText(level.startX) + " " + floatText(level.startY) + "\n";

    // One grid character per kind of cell, in order of first appearance.
    std::map<std::pair<int, int>, char> chars;  // (wall code, or -1 with floor * 256 + ceiling)
    std::string used, legend;
    size_t nextWall = 0, nextFree = 0;
    std::string all;
    for (char c = '!'; c < 127; ++c)
        if (isGridChar(c) && c != 'e') all.push_back(c);
    for (size_t i = 0; i < level.walls.size(); ++i) {
        const bool wall = level.walls[i] != levelfile::EMPTY_CELL;
        const std::pair<int, int> kind = wall ? std::make_pair(static_cast<int>(level.walls[i]), 0)
                                              : std::make_pair(-1, level.floors[i] * 256 + level.ceilings[i]);
        if (chars.count(kind)) continue;
        const char* prefer = wall ? WALL_CHARS : FREE_CHARS;
        size_t& next = wall ? nextWall : nextFree;
        char c = 0;
        while (prefer[next] && used.find(prefer[next]) != std::string::npos) ++next;
        if (prefer[next]) c = prefer[next];
        for (size_t k = 0; !c && k < all.size(); ++k)
            if (used.find(all[k]) == std::string::npos) c = all[k];
        if (!c) {
            error = "the level has more kinds of cells than the text form has grid characters (" +
                    std::to_string(all.size()) + ")";
            return false;
        }
        used.push_back(c);
        chars[kind] = c;
        if (wall) {
            legend += "wall " + std::string(1, c) + " " + std::to_string(level.walls[i]) + "\n";
        } else {
            const int ceiling = level.ceilings[i];
            legend += "floor " + std::string(1, c) + " " + std::to_string(level.floors[i]) + " " +
                      (ceiling == levelfile::OPEN_SKY ? std::string("sky") : std::to_string(ceiling)) + "\n";
        }
    }
    out += legend + "map\n";
    for (int j = 0; j < level.height; ++j) {
        for (int i = 0; i < level.width; ++i) {
            const size_t c = static_cast<size_t>(j) * level.width + i;
            const bool wall = level.walls[c] != levelfile::EMPTY_CELL;
            out.push_back(chars[wall ? std::make_pair(static_cast<int>(level.walls[c]), 0)
                                     : std::make_pair(-1, level.floors[c] * 256 + level.ceilings[c])]);
        }
        out.push_back('\n');
    }
    out += "end\n";
    for (const levelfile::Sprite& s : level.sprites)
        out += "sprite " + floatText(s.x) + " " + floatText(s.y) + " health " + std::to_string(s.health) +
               " texture " + std::to_string(s.texture) + "\n";
    text = out;
    return true;
}

}  // namespace levelsource
