// Reading level files: what a sound file gives, and a clear reason for every kind of bad file.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "engine/engine_fixtures.h"

namespace {

const std::vector<std::string> ROOM = {"#####", "#.,*#", "#..B#", "#####"};

struct Loader {
    TempDir dir;
    levelfile::Level level = makeLevel(dir.path(), ROOM, 1.5f, 2.25f);
    Loader() { level.sprites = {{2.5f, 1.5f, 7, 0}, {3.25f, 2.75f, 0, 2}}; }
    // What loading the bytes says, with the structural flag.
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

TEST(LoadLevel, SoundFileFillsTheEngineAfresh) {
    Loader l;
    Kelda_engine e;
    e.dirX = 0.5f;
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");
    e.getVisibleList()[0] = 1;
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");  // and again: it starts afresh
    EXPECT_FALSE(e.loadError());
    ASSERT_EQ(e.textureCount, 5);
    EXPECT_EQ(std::vector<int>(e.textureWidthShift, e.textureWidthShift + 5), (std::vector<int>{6, 6, 5, 6, 4}));
    EXPECT_EQ(std::vector<int>(e.textureHeightShift, e.textureHeightShift + 5), (std::vector<int>{6, 6, 6, 6, 5}));
    ASSERT_EQ(std::make_pair(e.mapWidth, e.mapHeight), std::make_pair(5, 4));
    EXPECT_EQ(std::vector<unsigned short>(e.walls, e.walls + 20), l.level.walls);
    EXPECT_EQ(std::vector<unsigned char>(e.floors, e.floors + 20), l.level.floors);
    EXPECT_EQ(std::vector<unsigned char>(e.ceilings, e.ceilings + 20), l.level.ceilings);
    EXPECT_EQ(std::make_pair(e.posX, e.posY), std::make_pair(1.5f, 2.25f));
    EXPECT_EQ(e.dirX, 0.5f);  // the view is not part of the file
    ASSERT_EQ(e.getSprites(), 2);
    const Kelda_sprite& s = e.getSpriteList()[1];
    EXPECT_TRUE(s.x == 3.25f && s.y == 2.75f && s.health == 0 && s.textureIndex == 2 && s.bitmap == e.textures[2]);
    EXPECT_EQ(e.getVisibleList()[0], 0);
    EXPECT_EQ(e.getSpriteInCrosshair(), -1);
}

TEST(LoadLevel, EveryShortenedFileIsTruncated) {
    Loader l;
    const std::string bytes = levelfile::write(l.level);
    for (size_t n = 0; n < bytes.size(); ++n) {
        bool structural = false;
        ASSERT_EQ(l.load(bytes.substr(0, n), &structural), "File is truncated") << n << " bytes";
        ASSERT_TRUE(structural);
    }
    EXPECT_EQ(l.load(bytes + '\n'), "") << "an editor's newline after the sprites is harmless";
}

TEST(LoadLevel, RefusedLevelLeavesTheOneHeldBefore) {
    Loader l;
    Kelda_engine e;
    l.level.sprites[0].x = 60.5f;  // off the map but finite: the level loop pulls it in
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");
    e.crosshairSprite = 1;
    const std::string good = levelfile::write(l.level);
    for (const std::string& bad : {good.substr(0, 40), std::string(good).replace(2, 4, "nope")}) {
        EXPECT_NE(loadBytes(e, bad), "");
        ASSERT_EQ(e.getSprites(), 2);
        EXPECT_EQ(e.getSpriteList()[0].x, 60.5f);
        EXPECT_EQ(e.getSpriteList()[1].bitmap, e.textures[2]);
        EXPECT_EQ(std::make_pair(e.mapWidth, e.textureCount), std::make_pair(5, static_cast<unsigned short>(5)));
    }
    l.level.sprites.pop_back();
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");
    EXPECT_EQ(e.getSpriteInCrosshair(), -1) << "the old level's sprite number must not survive";
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

TEST(LoadLevel, BadContentIsRefusedWithItsReason) {
    using L = levelfile::Level;
    const struct {
        void (*spoil)(L&);
        std::string error;
    } cases[] = {
        {[](L& v) { v.walls[2] = 5; }, "Wall texture 5 at cell (2, 0) is not in the texture list"},
        {[](L& v) { v.floors[6] = 9; }, "Floor texture 9 at cell (1, 1) is not in the texture list"},
        {[](L& v) { v.ceilings[6] = 0xFE; }, "Ceiling texture 254 at cell (1, 1) is not in the texture list"},
        {[](L& v) { v.sprites[1].texture = 5; }, "Sprite 1 uses texture 5, which is not in the texture list"},
        // Gaps in the border, corners included.
        {[](L& v) { v.walls[2] = 0xFFFF; }, "Map border is not closed at cell (2, 0)"},
        {[](L& v) { v.walls[10] = 0xFFFF; }, "Map border is not closed at cell (0, 2)"},
        {[](L& v) { v.walls[9] = 0xFFFF; }, "Map border is not closed at cell (4, 1)"},
        {[](L& v) { v.walls[18] = 0xFFFF; }, "Map border is not closed at cell (3, 3)"},
        {[](L& v) { v.walls[0] = 0xFFFF; }, "Map border is not closed at cell (0, 0)"},
        {[](L& v) { v.walls[19] = 0xFFFF; }, "Map border is not closed at cell (4, 3)"},
        {[](L& v) { v.startX = 3.5f, v.startY = 2.5f; }, "Start (3.5, 2.5) is inside a wall"},
        {[](L& v) { v.startX = 0.5f; }, "Start (0.5, 2.25) is inside a wall"},
        {[](L& v) { v.startX = 5.0f; }, "Start (5, 2.25) is outside the map"},
        {[](L& v) { v.startX = -0.5f; }, "Start (-0.5, 2.25) is outside the map"},
        {[](L& v) { v.startY = NAN; }, "Start (1.5, nan) is outside the map"},
        {[](L& v) { v.sprites[0].y = INFINITY; }, "Sprite 0 at (2.5, inf) is outside the map"},
        {[](L& v) { v.texturePaths[1] = ""; }, "Texture path 1 is empty"},
        {[](L& v) { v.texturePaths[1] = std::string("a\0b", 3); }, "Texture path 1 contains a zero byte"},
        {[](L& v) { v.texturePaths[1] = std::string(5000, 'a'); }, "Texture path 1 is longer than 4096 bytes"},
        {[](L& v) { v.texturePaths[1] = "gfx/\xff\xfe.bmp"; }, "Texture path 1 is not valid UTF-8"},
    };
    Loader l;
    const L good = l.level;
    for (const auto& c : cases) {
        l.level = good;
        c.spoil(l.level);
        bool structural = false;
        EXPECT_EQ(l.loadLevel(&structural), c.error);
        EXPECT_TRUE(structural) << c.error;
    }
}

TEST(LoadLevel, PathsAreReadAsTheLibrarysTextFormatReadsThem) {
    Loader l;
    bool structural = true;
    l.level.texturePaths[1] = l.dir.file("w\xc3\xa4nde.bmp");  // well-formed UTF-8: an ordinary missing file
    EXPECT_EQ(l.loadLevel(&structural), l.level.texturePaths[1]);
    EXPECT_FALSE(structural);
    // The game reads names as plain bytes; then any byte is just part of a name.
    set_uformat(U_ASCII);
    l.level.texturePaths[1] = "gfx/\xff\xfe.bmp";
    EXPECT_EQ(l.loadLevel(&structural), "gfx/\xff\xfe.bmp");
    EXPECT_FALSE(structural);
    set_uformat(U_UTF8);
}

// A missing texture, or one with a side not a power of two, gives its path; what follows it in
// the file is never read, so it may be anything.
TEST(LoadLevel, ReadingStopsAtATextureThatFails) {
    Loader l;
    const std::string missing = l.dir.file("missing.bmp");
    l.level.texturePaths[2] = missing;
    const std::string bytes = levelfile::write(l.level);
    bool structural = true;
    EXPECT_EQ(l.load(bytes.substr(0, bytes.find(missing) + missing.size() + 1), &structural), missing);
    EXPECT_FALSE(structural);
    l.level.texturePaths[2] = writeTexture(l.dir.path(), "odd.bmp", 48, 64, 1);
    EXPECT_EQ(l.loadLevel(&structural), l.level.texturePaths[2]);
    EXPECT_FALSE(structural);
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
