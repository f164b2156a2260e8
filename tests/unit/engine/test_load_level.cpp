// Reading level files: what a sound file gives, and a clear reason for every kind of bad file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "engine/engine_fixtures.h"

namespace {

const std::vector<std::string> ROOM = {"#####", "#.,*#", "#..B#", "#####"};

struct Loader {
    TempDir dir;
    levelfile::Level level;
    Loader() {
        level = makeLevel(dir.path(), ROOM, 1.5f, 2.25f);
        level.sprites = {{2.5f, 1.5f, 7, 0}, {3.25f, 2.75f, 0, 2}};
    }
    // Loads the bytes; returns what loadData says, with the structural flag.
    std::string load(const std::string& bytes, bool* structural = nullptr) {
        Kelda_engine e;
        std::string result = loadBytes(e, bytes);
        if (structural) *structural = e.loadError();
        return result;
    }
    std::string loadLevel(bool* structural = nullptr) { return load(levelfile::write(level), structural); }
};

void putU32(std::string& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(LoadLevel, SoundFileFillsTheEngine) {
    Loader l;
    Kelda_engine e;
    e.dirX = 0.5f;
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");
    EXPECT_FALSE(e.loadError());
    EXPECT_EQ(e.textureCount, 5);
    EXPECT_EQ(e.textureWidthShift[2], 5);  // 32 x 64
    EXPECT_EQ(e.textureHeightShift[2], 6);
    EXPECT_EQ(e.textureWidthShift[4], 4);  // 16 x 32
    EXPECT_EQ(e.textureHeightShift[4], 5);
    EXPECT_EQ(e.mapWidth, 5);
    EXPECT_EQ(e.mapHeight, 4);
    EXPECT_EQ(e.walls[0], 1);
    EXPECT_EQ(e.floors[0], 1);  // a wall cell's floor and ceiling are its code's low byte
    EXPECT_EQ(e.ceilings[0], 1);
    EXPECT_EQ(e.walls[5 + 1], 0xFFFF);
    EXPECT_EQ(e.floors[5 + 1], 3);
    EXPECT_EQ(e.ceilings[5 + 1], 4);
    EXPECT_EQ(e.ceilings[5 + 2], 0xFF);
    EXPECT_EQ(e.floors[5 + 3], 4);
    EXPECT_EQ(e.walls[10 + 3], 2);
    EXPECT_EQ(e.posX, 1.5f);
    EXPECT_EQ(e.posY, 2.25f);
    EXPECT_EQ(e.dirX, 0.5f);  // the view is not part of the file
    EXPECT_EQ(e.skyColor, makecol(10, 20, 30));
    ASSERT_EQ(e.getSprites(), 2);
    EXPECT_EQ(e.getSpriteList()[0].health, 7);
    EXPECT_EQ(e.getSpriteList()[1].x, 3.25f);
    EXPECT_EQ(e.getSpriteList()[1].textureIndex, 2);
    EXPECT_EQ(e.getSpriteList()[1].bitmap, e.textures[2]);
    EXPECT_EQ(e.getVisibleList()[0], 0);
    EXPECT_EQ(e.getSpriteInCrosshair(), -1);
}

TEST(LoadLevel, SmallestLevelAndNoSprites) {
    Loader l;
    l.level = makeLevel(l.dir.path(), {"###", "#.#", "###"}, 1.5f, 1.5f);
    const std::string bytes = levelfile::write(l.level);
    // 8 wall records of 2 bytes and one free cell of 4, after the paths and the size.
    size_t paths = 2;
    for (const auto& p : l.level.texturePaths) paths += p.size() + 1;
    EXPECT_EQ(bytes.size(), paths + 8 + 8 * 2 + 4 + 8 + 3 + 4);
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, bytes), "");
    EXPECT_EQ(e.getSprites(), 0);
}

TEST(LoadLevel, LoadingAgainStartsAfresh) {
    Loader l;
    Kelda_engine e;
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");
    e.getVisibleList()[0] = 1;
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");
    EXPECT_EQ(e.getVisibleList()[0], 0);
}

TEST(LoadLevel, EveryShortenedFileIsTruncated) {
    Loader l;
    const std::string bytes = levelfile::write(l.level);
    for (size_t n = 0; n < bytes.size(); ++n) {
        bool structural = false;
        ASSERT_EQ(l.load(bytes.substr(0, n), &structural), "File is truncated") << n << " bytes";
        ASSERT_TRUE(structural);
    }
    EXPECT_EQ(l.load(bytes + '\0'), "File goes on after the last sprite");
}

TEST(LoadLevel, AbsurdCountsAreRefusedBeforeAnythingIsAllocated) {
    Loader l;
    std::string bytes = levelfile::write(l.level);
    EXPECT_EQ(l.load(std::string("\xff\xff", 2) + bytes.substr(2)), "Too many textures (65535, at most 1024)");
    size_t sizeAt = 2;
    for (const auto& p : l.level.texturePaths) sizeAt += p.size() + 1;
    for (uint32_t w : {0u, 2u, 1025u, 0x7fffffffu, 0x80000000u, 0xffffffffu}) {
        std::string b = bytes;
        putU32(b, sizeAt, w);
        bool structural = false;
        EXPECT_NE(l.load(b, &structural).find("Map size"), std::string::npos) << w;
        EXPECT_TRUE(structural);
        b = bytes;
        putU32(b, sizeAt + 4, w);
        EXPECT_NE(l.load(b).find("Map size"), std::string::npos) << w;
    }
    const size_t countAt = bytes.size() - 4 - 2 * 11;
    for (uint32_t n : {0xffffffffu, 4097u, 0x7fffffffu}) {
        std::string b = bytes;
        putU32(b, countAt, n);
        EXPECT_NE(l.load(b).find("Sprite count"), std::string::npos) << n;
    }
}

TEST(LoadLevel, IndicesOutsideTheTextureList) {
    Loader l;
    l.level.walls[2] = 5;
    EXPECT_EQ(l.loadLevel(), "Wall texture 5 at cell (2, 0) is not in the texture list");
    l.level.walls[2] = 1;
    l.level.floors[6] = 9;
    EXPECT_EQ(l.loadLevel(), "Floor texture 9 at cell (1, 1) is not in the texture list");
    l.level.floors[6] = 3;
    l.level.ceilings[6] = 0xFE;
    EXPECT_EQ(l.loadLevel(), "Ceiling texture 254 at cell (1, 1) is not in the texture list");
    l.level.ceilings[6] = 4;
    l.level.sprites[1].texture = 5;
    bool structural = false;
    EXPECT_EQ(l.loadLevel(&structural), "Sprite 1 uses texture 5, which is not in the texture list");
    EXPECT_TRUE(structural);
}

TEST(LoadLevel, BorderMustBeClosed) {
    Loader l;
    const levelfile::Level good = l.level;
    const int cells[][2] = {{2, 0}, {0, 2}, {4, 1}, {3, 3}, {0, 0}, {4, 3}};
    for (const auto& c : cells) {
        l.level = good;
        l.level.walls[c[1] * 5 + c[0]] = 0xFFFF;
        bool structural = false;
        EXPECT_EQ(l.loadLevel(&structural), "Map border is not closed at cell (" + std::to_string(c[0]) + ", " +
                                                 std::to_string(c[1]) + ")");
        EXPECT_TRUE(structural);
    }
}

TEST(LoadLevel, StartMustBeInAFreeCell) {
    Loader l;
    l.level.startX = 3.5f;
    l.level.startY = 2.5f;
    EXPECT_EQ(l.loadLevel(), "Start (3.5, 2.5) is inside a wall");
    l.level.startX = 0.5f;
    EXPECT_EQ(l.loadLevel(), "Start (0.5, 2.5) is inside a wall");
    l.level.startX = 7.0f;
    EXPECT_EQ(l.loadLevel(), "Start (7, 2.5) is outside the map");
    l.level.startX = -0.5f;
    EXPECT_EQ(l.loadLevel(), "Start (-0.5, 2.5) is outside the map");
    l.level.startX = NAN;
    EXPECT_NE(l.loadLevel().find("is outside the map"), std::string::npos);
}

TEST(LoadLevel, SpritesMustBeOnTheMap) {
    Loader l;
    l.level.sprites[0].y = 4.0f;
    EXPECT_EQ(l.loadLevel(), "Sprite 0 at (2.5, 4) is outside the map");
    l.level.sprites[0].y = INFINITY;
    EXPECT_NE(l.loadLevel().find("Sprite 0 at"), std::string::npos);
}

TEST(LoadLevel, BadPaths) {
    Loader l;
    l.level.texturePaths[1] = "";
    EXPECT_EQ(l.loadLevel(), "Texture path 1 is empty");
    l.level.texturePaths[1] = std::string("a\0b", 3);
    EXPECT_EQ(l.loadLevel(), "Texture path 1 contains a zero byte");
    l.level.texturePaths[1] = std::string(5000, 'a');
    EXPECT_EQ(l.loadLevel(), "Texture path 1 is longer than 4096 bytes");
}

TEST(LoadLevel, PathsTheLibraryCannotReadAsTextAreRefused) {
    Loader l;
    l.level.texturePaths[1] = "gfx/\xff\xfe.bmp";
    bool structural = false;
    EXPECT_EQ(l.loadLevel(&structural), "Texture path 1 is not valid UTF-8");
    EXPECT_TRUE(structural);
    l.level.texturePaths[1] = l.dir.file("w\xc3\xa4nde.bmp");  // well-formed: an ordinary missing file
    EXPECT_EQ(l.loadLevel(&structural), l.level.texturePaths[1]);
    // The game reads names as plain bytes; then any byte is just part of a name.
    set_uformat(U_ASCII);
    l.level.texturePaths[1] = "gfx/\xff\xfe.bmp";
    EXPECT_EQ(l.loadLevel(&structural), "gfx/\xff\xfe.bmp");
    EXPECT_FALSE(structural);
    set_uformat(U_UTF8);
}

TEST(LoadLevel, TextureFailuresReturnThePath) {
    Loader l;
    const std::string missing = l.dir.file("missing.bmp");
    l.level.texturePaths[2] = missing;
    bool structural = true;
    EXPECT_EQ(l.loadLevel(&structural), missing);
    EXPECT_FALSE(structural);
    // Reading stops at the failed texture: what follows may be anything.
    const std::string bytes = levelfile::write(l.level);
    EXPECT_EQ(l.load(bytes.substr(0, bytes.find(missing) + missing.size() + 1), &structural), missing);
    const std::string odd = writeTexture(l.dir.path(), "odd.bmp", 48, 64, 1);
    l.level.texturePaths[2] = odd;
    EXPECT_EQ(l.loadLevel(&structural), odd);
    EXPECT_FALSE(structural);
    l.level.texturePaths[2] = writeTexture(l.dir.path(), "wide.bmp", 64, 32, 1);
    EXPECT_EQ(l.loadLevel(), "");
}

TEST(LoadLevel, CarriageReturnLineFeedShiftsTheNextPath) {
    Loader l;
    std::string bytes = levelfile::write(l.level);
    const size_t firstEnd = bytes.find('\r');
    bytes.insert(firstEnd + 1, "\n");
    EXPECT_EQ(l.load(bytes), "\n" + l.level.texturePaths[1]);
}

TEST(LevelFile, WallCodeLowByteGivesFloorAndCeiling) {
    Loader l;
    l.level.walls[0] = 0x01FF;
    std::istringstream in(levelfile::write(l.level));
    levelfile::Level read;
    std::string problem;
    ASSERT_EQ(levelfile::read(in, read, problem), levelfile::ReadResult::ok);
    EXPECT_EQ(read.floors[0], 0xFF);
    EXPECT_EQ(read.ceilings[0], 0xFF);
    EXPECT_EQ(levelfile::validate(read), "Wall texture 511 at cell (0, 0) is not in the texture list");
}
