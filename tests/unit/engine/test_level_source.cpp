// The level text: compile, decompile, and errors that name the line.
#include <gtest/gtest.h>

#include <random>

#include "engine/engine_fixtures.h"
#include "engine/levelsource.h"

namespace {

const char ROOM[] =
    "; a room\n"
    "texture gfx/sprites/monster0.bmp   ; 0\n"
    "texture \"gfx/odd; name.bmp\"\n"
    "texture gfx/floors/tiles.bmp\n"
    "sky 90 120 200\n"
    "start 2.5 1.5\n"
    "wall X 1\n"
    "floor . 2 0\n"
    "floor , 2 sky\n"
    "\n"
    "map\n"
    "XXXXX\n"
    "X.,.X   ; row 1\n"
    "XXXXX\n"
    "end\n"
    "sprite 2.5 1.5 health 1 texture 0\n";

std::string compileError(const std::string& text) {
    levelfile::Level level;
    std::string error;
    EXPECT_FALSE(levelsource::compile(text, level, error)) << text;
    return error;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

}  // namespace

// Every shipped level compiles its ordinary content; here the awkward spellings.
TEST(LevelSource, QuotedPathsCommentsSkyAndWindowsLineEnds) {
    levelfile::Level level;
    std::string error;
    ASSERT_TRUE(levelsource::compile(ROOM, level, error)) << error;
    EXPECT_EQ(level.texturePaths[1], "gfx/odd; name.bmp");
    EXPECT_EQ(level.width, 5);
    EXPECT_EQ(level.ceilings[6], 0);
    EXPECT_EQ(level.ceilings[7], 0xFF);
    std::string crlf;
    for (char c : std::string(ROOM)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    levelfile::Level again;
    ASSERT_TRUE(levelsource::compile(crlf, again, error)) << error;
    EXPECT_EQ(levelfile::write(again), levelfile::write(level));
}

TEST(LevelSource, ErrorsNameTheLine) {
    const struct {
        std::string from, to, error;
    } cases[] = {
        {"X.,.X", "X.,X", "line 13: the row is 4 cells long, the first row 5"},
        {"sky 90", "sky 290", "line 5: 'sky' takes red, green and blue, each 0 to 255"},
        {"start 2.5 1.5", "start 0.5 1.5", "line 6: start (0.5, 1.5) is inside a wall"},
        {"start 2.5 1.5", "start nan 1.5", "line 6: 'start' takes the camera's x and y"},
        {"wall X 1", "wall X 7", "line 12: wall texture 7 at cell (0, 0) is not in the texture list"},
        {"XXXXX\nend", "XX,XX\nend", "line 14: map border is not closed at cell (2, 2)"},
        {"texture 0\n", "texture 3\n", "line 16: sprite 0 uses texture 3, which is not in the texture list"},
        {"sprite 2.5", "sprite 12.5", "line 16: sprite 0 at (12.5, 1.5) is outside the map"},
        {"floor , 2 sky", "floor X 2 sky", "line 9: grid character 'X' is already given on line 7"},
        {"XXXXX\nend\n", "XXXXX\n", "line 15: 'sprite' inside the map (is its 'end' missing?)"},
        {"XXXXX\nend\nsprite 2.5 1.5 health 1 texture 0\n", "XXXXX\n", "line 11: the map has no 'end'"},
        {"X.,.X", "\n", "line 13: blank line inside the map (the map ends with 'end')"},
        {"sky 90 120 200", "skies 1", "line 5: unknown keyword 'skies'"},
        {"tiles.bmp", std::string("ti\0les.bmp", 10), "line 4: the line holds a zero byte"},
        {"tiles.bmp", "ti\rles.bmp", "line 4: the texture path holds the control character byte 13"},
        {"start 2.5 1.5\n", "", "the source has no camera start ('start X Y')"},
    };
    for (const auto& c : cases) EXPECT_EQ(compileError(replaced(ROOM, c.from, c.to)), c.error);
    EXPECT_EQ(compileError("texture a.bmp\nstart 1 1\nwall # 0\nmap\n###\n###\nend\n"),
              "line 4: the map is 3 x 2 cells; each side must be 3 to 1024");
}

// Odd but valid content: wide wall codes, every floor and ceiling pair, awkward floats and paths.
TEST(LevelSource, DecompileThenCompileGivesTheSameBytes) {
    std::mt19937 rng(99);
    for (int round = 0; round < 60; ++round) {
        levelfile::Level level;
        level.texturePaths.resize(300 + round, "gfx/walls/stone.bmp");
        level.texturePaths[7] = " leading blank.bmp";
        level.texturePaths[8] = "semi;colon.bmp";
        level.width = 3 + round % 20;
        level.height = 3 + round % 7;
        for (int j = 0; j < level.height; ++j)
            for (int i = 0; i < level.width; ++i) {
                const bool border = i == 0 || j == 0 || i == level.width - 1 || j == level.height - 1;
                const bool wall = border || ((i > 1 || j > 1) && rng() % 4 == 0);  // (1, 1) stays free
                const unsigned short code = border ? 0 : static_cast<unsigned short>(rng() % level.texturePaths.size());
                level.walls.push_back(wall ? code : 0xFFFF);
                level.floors.push_back(static_cast<unsigned char>(wall ? code & 0xFF : rng() % 6));
                level.ceilings.push_back(static_cast<unsigned char>(wall ? code & 0xFF : rng() % 3 == 0 ? 0xFF : rng() % 4));
            }
        level.startX = 1.0f + std::ldexp(1.0f, -20);
        level.startY = 1.1f;
        level.sprites = {{0.1f, 1.0f / 3.0f, 255, 299}, {-0.0f, 0.0f, 0, 0}, {2.9999998f, 1e-7f, 3, 1}};
        std::string text, error;
        ASSERT_TRUE(levelsource::decompile(level, text, error)) << error;
        levelfile::Level back;
        ASSERT_TRUE(levelsource::compile(text, back, error)) << error << "\n" << text;
        ASSERT_EQ(levelfile::write(back), levelfile::write(level)) << text;
    }
}

TEST(LevelSource, ManyKindsOfCellsAndPathsTheTextCannotHold) {
    levelfile::Level level;
    level.texturePaths.assign(256, "t.bmp");
    level.width = 100;
    level.height = 3;
    level.walls.assign(300, 0);
    level.floors.assign(300, 0);
    level.ceilings.assign(300, 0);
    for (int i = 1; i < 99; ++i) level.walls[100 + i] = 0xFFFF, level.floors[100 + i] = static_cast<unsigned char>(i);
    level.startX = level.startY = 1.5f;
    std::string text, error;
    EXPECT_FALSE(levelsource::decompile(level, text, error));
    EXPECT_NE(error.find("more kinds of cells"), std::string::npos);
    level.floors.assign(300, 0);
    level.texturePaths[3] = "line\nbreak.bmp";
    EXPECT_FALSE(levelsource::decompile(level, text, error));
    EXPECT_EQ(error, "texture 3 has a control character in its path");
}
