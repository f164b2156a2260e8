// The level text: compile, decompile, and errors that name the line.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "engine/engine_fixtures.h"
#include "level/levelsource.h"

namespace {
const std::string ROOM =
    "; a room\ntexture gfx/sprites/monster0.bmp   ; 0\ntexture \"gfx/odd; name.bmp\"\ntexture gfx/floors/tiles.bmp\n"
    "sky 90 120 200\nstart 2.5 1.5\nwall X 1\nfloor . 2 0\nfloor , 2 sky\n\n"
    "map\nXXXXX\nX.,.X   ; row 1\nXXXXX\nend\nsprite 2.5 1.5 health 1 texture 0\n";

std::string compileError(const std::string& text) {
    levelfile::Level level;
    std::string error;
    EXPECT_FALSE(levelsource::compile(text, level, error)) << text;
    return error;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);  // throws, failing the test, when from is missing
}
}  // namespace

TEST(LevelSource, ErrorsNameTheLine) {
    const std::string cases[][3] = {  // replaced, by, error
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
    for (const auto& c : cases) EXPECT_EQ(compileError(replaced(ROOM, c[0], c[1])), c[2]);
    EXPECT_EQ(compileError("texture a.bmp\nstart 1 1\nwall # 0\nmap\n###\n###\nend\n"),
              "line 4: the map is 3 x 2 cells; each side must be 3 to 1024");
}

// The shipped levels hold the ordinary content; here awkward spellings, Windows line ends, and
// awkward floats, paths and wide wall codes through the round trip byte for byte (the fuzzer tries
// the rest). What the text cannot hold is refused with its reason.
TEST(LevelSource, AwkwardContentSurvivesTheRoundTripOrIsRefused) {
    levelfile::Level level, back;
    std::string text, error, crlf;
    ASSERT_TRUE(levelsource::compile(ROOM, level, error)) << error;
    EXPECT_EQ(level.texturePaths[1], "gfx/odd; name.bmp");
    EXPECT_EQ(std::make_tuple(level.width, level.ceilings[6], level.ceilings[7]), std::make_tuple(5, 0, 0xFF));
    for (char c : ROOM) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_TRUE(levelsource::compile(crlf, back, error)) << error;
    EXPECT_EQ(levelfile::write(back), levelfile::write(level));
    level.texturePaths.resize(300, " leading blank.bmp");
    level.walls[0] = 299, level.floors[0] = level.ceilings[0] = 299 & 0xFF;
    level.startX = 1.0f + std::ldexp(1.0f, -20), level.startY = 1.1f;
    level.sprites = {{0.1f, 1.0f / 3.0f, 255, 299}, {-0.0f, 0.0f, 0, 0}, {2.9999998f, 1e-7f, 3, 1}};
    ASSERT_TRUE(levelsource::decompile(level, text, error)) << error;
    ASSERT_TRUE(levelsource::compile(text, back, error)) << error << "\n" << text;
    EXPECT_EQ(levelfile::write(back), levelfile::write(level)) << text;
    level.texturePaths[3] = "line\nbreak.bmp";
    EXPECT_FALSE(levelsource::decompile(level, text, error));
    EXPECT_EQ(error, "texture 3 has a control character in its path");
    level.texturePaths[3] = "t.bmp", level.width = 100;
    level.walls.assign(300, 0), level.floors.assign(300, 0), level.ceilings.assign(300, 0);
    for (int i = 101; i < 199; ++i) level.walls[i] = 0xFFFF, level.floors[i] = static_cast<unsigned char>(i);
    EXPECT_FALSE(levelsource::decompile(level, text, error));
    EXPECT_NE(error.find("more kinds of cells"), std::string::npos) << error;
}
