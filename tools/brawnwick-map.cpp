// Level maker's tool: compiles level sources into level files, writes the source of a level file,
// checks a level file the way the game loads it, and lets a bot play levels through.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "game/campaign.h"
#include "engine/levelLoad.h"
#include "playtest/opening.h"
#include "playtest/session.h"
#include "level/levelfile.h"
#include "level/levelsource.h"

namespace {

const char USAGE[] =
    "usage: brawnwick-map compile SOURCE OUTPUT.map   make a level file from its text\n"
    "       brawnwick-map decompile LEVEL.map         print the text of a level file\n"
    "       brawnwick-map check LEVEL.map             load a level as the game does (run it where the game runs)\n"
    "       brawnwick-map playtest [--human] LEVEL.map...\n"
    "                                                 let a bot play the levels in a row (run it where the game runs);\n"
    "                                                 --human: one that reacts, sees and learns the way as a player does\n";

int fail(const std::string& where, const std::string& reason) {
    std::cerr << "brawnwick-map: " << where << ": " << reason << "\n";
    return 1;
}

void warn(const std::string& levelPath, const levelfile::Level& level) {
    for (const std::string& w : levelfile::warnings(level))
        std::cerr << "brawnwick-map: " << levelPath << ": warning: " << w << "\n";
}

bool readAll(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

int compile(const std::string& sourcePath, const std::string& outputPath) {
    std::string text, error;
    if (!readAll(sourcePath, text)) return fail(sourcePath, "cannot be read");
    levelfile::Level level;
    if (!levelsource::compile(text, level, error)) return fail(sourcePath, error);
    // Written beside the target and renamed, so a failed write never leaves half a level behind.
    const std::string temporary = outputPath + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        const std::string bytes = levelfile::write(level);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.good()) {
            std::remove(temporary.c_str());
            return fail(outputPath, "cannot be written");
        }
    }
    if (std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
        std::remove(temporary.c_str());
        return fail(outputPath, "cannot be written");
    }
    return 0;
}

int decompile(const std::string& levelPath) {
    std::ifstream in(levelPath, std::ios::binary);
    if (!in.is_open()) return fail(levelPath, "File not found");
    levelfile::Level level;
    std::string problem, text;
    if (levelfile::read(in, level, problem) != levelfile::ReadResult::ok) return fail(levelPath, problem);
    if (!levelsource::decompile(level, text, problem)) return fail(levelPath, problem);
    std::cout << text;
    const std::string fault = levelfile::validate(level);
    if (!fault.empty())
        std::cerr << "brawnwick-map: " << levelPath << ": warning: " << fault
                  << "; the game refuses this level, and compile refuses the text until it is mended\n";
    warn(levelPath, level);
    return 0;
}

// Bitmaps in memory only: the tools never open a window.
bool startLibrary() {
    set_uformat(U_ASCII);  // file names are plain bytes, as in the game
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return false;
    set_color_depth(32);
    return true;
}

int check(const std::string& levelPath) {
    if (!startLibrary()) return fail(levelPath, "the graphics library did not start");
    Kelda_engine engine;
    const std::string problem = levelLoadText(loadLevel(engine, levelPath));
    if (!problem.empty()) return fail(levelPath, problem);
    std::ifstream in(levelPath, std::ios::binary);
    levelfile::Level level;
    std::string unused;
    if (levelfile::read(in, level, unused) == levelfile::ReadResult::ok) warn(levelPath, level);
    for (const std::string& w : playtest::openingWarnings(engine))
        std::cerr << "brawnwick-map: " << levelPath << ": warning: " << w << "\n";
    std::cout << levelPath << ": ok, " << engine.mapWidth << " x " << engine.mapHeight << " cells, "
              << engine.textureCount << " textures, " << engine.getSprites() << " sprites\n";
    return 0;
}

// The levels are played in the given order with the points, bullets and lives the ones won before
// leave, as in a campaign: a later level may count on the ammunition an earlier one pays out.
int playAll(int count, char** levelPaths, bool human) {
    if (!startLibrary()) return fail(levelPaths[0], "the graphics library did not start");
    LevelState counters;
    counters.lives = CampaignState().lives;
    bool allWon = true;
    for (int i = 0; i < count; ++i) {
        const playtest::PlayReport r = playtest::playLevel(levelPaths[i], i, counters, human);
        if (r.outcome == playtest::PlayReport::notLoaded) {
            fail(levelPaths[i], r.problem);
        } else {
            std::cout << levelPaths[i] << ": " << playtest::describe(r) << std::endl;
        }
        if (r.outcome == playtest::PlayReport::won)
            counters = r.end;
        else
            allWon = false;
    }
    return allWon ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "compile" && argc == 4) return compile(argv[2], argv[3]);
    if (command == "decompile" && argc == 3) return decompile(argv[2]);
    if (command == "check" && argc == 3) return check(argv[2]);
    const bool human = argc > 2 && std::string(argv[2]) == "--human";
    if (command == "playtest" && argc >= (human ? 4 : 3)) return playAll(argc - (human ? 3 : 2), argv + (human ? 3 : 2), human);
    std::cerr << USAGE;
    return 2;
}
