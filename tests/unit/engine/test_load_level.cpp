// Reading level files: what a sound file gives, and a clear reason for every kind of bad file.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "engine/engine_fixtures.h"

namespace {
struct Loader {
    TempDir dir;
    levelfile::Level level = makeLevel(dir.path(), {"#####", "#.,*#", "#..B#", "#####"}, 1.5f, 2.25f);
    Loader() { level.sprites = {{2.5f, 1.5f, 7, 0}, {3.25f, 2.75f, 0, 2}}; }
    // What loading the bytes says; *structural: whether the file itself is at fault.
    std::string load(const std::string& bytes, bool* structural = nullptr) {
        Kelda_engine e;
        std::string result = loadBytes(e, bytes);
        if (structural) *structural = e.loadError();
        return result;
    }
    std::string loadLevel(bool* structural = nullptr) { return load(levelfile::write(level), structural); }
};
}  // namespace

TEST(LoadLevel, SoundFileFillsTheEngineAfreshARefusedOneChangesNothing) {
    Loader l;
    l.level.texturePaths.resize(levelfile::MAX_TEXTURES, l.level.texturePaths[4]);  // the most there may be
    l.level.walls[0] = 0x0104;  // a wide wall code: its low byte gives the floor and ceiling
    l.level.sprites[0].x = 60.5f;  // off the map but finite: the level loop pulls it in
    const std::string good = levelfile::write(l.level);
    Kelda_engine e;
    e.dirX = 0.5f;
    ASSERT_EQ(loadBytes(e, good), "");
    e.getVisibleList()[0] = 1, e.crosshairSprite = 1;
    ASSERT_EQ(loadBytes(e, good), "");  // and again: it starts afresh
    EXPECT_TRUE(e.getVisibleList()[0] == 0 && e.getSpriteInCrosshair() == -1 && !e.loadError());
    EXPECT_EQ(std::vector<int>(e.textureWidthShift, e.textureWidthShift + 5), (std::vector<int>{6, 6, 5, 7, 4}));
    EXPECT_EQ(std::vector<int>(e.textureHeightShift, e.textureHeightShift + 5), (std::vector<int>{6, 6, 7, 3, 5}));
    l.level.floors[0] = l.level.ceilings[0] = 4;
    EXPECT_EQ(std::vector<unsigned short>(e.walls, e.walls + 20), l.level.walls);
    EXPECT_EQ(std::vector<unsigned char>(e.floors, e.floors + 20), l.level.floors);
    EXPECT_EQ(std::vector<unsigned char>(e.ceilings, e.ceilings + 20), l.level.ceilings);
    EXPECT_EQ(std::make_tuple(e.posX, e.posY, e.dirX), std::make_tuple(1.5f, 2.25f, 0.5f));  // the view is not in the file
    e.crosshairSprite = 1;
    for (const std::string& bad : {std::string(), good.substr(0, 40), std::string(good).replace(2, 4, "nope")}) {
        EXPECT_NE(loadBytes(e, bad), "");
        ASSERT_EQ(e.getSprites(), 2);
        const Kelda_sprite& s = e.getSpriteList()[1];
        EXPECT_TRUE(s.x == 3.25f && s.y == 2.75f && s.health == 0 && s.textureIndex == 2 && s.bitmap == e.textures[2]);
        EXPECT_EQ(std::make_tuple(e.getSpriteList()[0].x, e.mapWidth, e.mapHeight, e.textureCount, e.crosshairSprite),
                  std::make_tuple(60.5f, 5, 4, static_cast<unsigned short>(1024), 1));
    }
    l.level.sprites.pop_back();
    ASSERT_EQ(loadBytes(e, levelfile::write(l.level)), "");
    EXPECT_EQ(e.getSpriteInCrosshair(), -1) << "the old level's sprite number must not survive";
}

TEST(LoadLevel, EveryShortenedFileIsTruncatedAndAbsurdCountsAreRefusedBeforeAnythingIsAllocated) {
    Loader l;
    const std::string bytes = levelfile::write(l.level);
    for (size_t n = 0; n < bytes.size(); ++n) {
        bool structural = false;
        ASSERT_EQ(l.load(bytes.substr(0, n), &structural), "File is truncated") << n << " bytes";
        ASSERT_TRUE(structural);
    }
    EXPECT_EQ(l.load(bytes + '\n'), "") << "an editor's newline after the sprites is harmless";
    EXPECT_EQ(l.load(std::string("\xff\xff", 2) + bytes.substr(2)), "Too many textures (65535, at most 1024)");
    EXPECT_EQ(l.load(std::string("\x01\x04", 2) + bytes.substr(2)), "Too many textures (1025, at most 1024)");
    auto patched = [&](size_t at, uint32_t v) {
        std::string b = bytes;
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return b;
    };
    size_t sizeAt = 2;
    for (const auto& p : l.level.texturePaths) sizeAt += p.size() + 1;
    for (uint32_t w : {0u, 2u, 1025u, 0x7fffffffu, 0x80000000u, 0xffffffffu})
        for (size_t at : {sizeAt, sizeAt + 4}) {
            bool structural = false;
            EXPECT_NE(l.load(patched(at, w), &structural).find("Map size"), std::string::npos) << w;
            EXPECT_TRUE(structural);
        }
    for (uint32_t n : {0xffffffffu, 4097u, 0x7fffffffu})
        EXPECT_NE(l.load(patched(bytes.size() - 4 - 2 * 11, n)).find("Sprite count"), std::string::npos) << n;
}

TEST(LoadLevel, BadContentIsRefusedWithItsReason) {
    using L = levelfile::Level;
    const std::pair<void (*)(L&), std::string> cases[] = {
        {[](L& v) { v.walls[2] = 5; }, "Wall texture 5 at cell (2, 0) is not in the texture list"},
        {[](L& v) { v.floors[6] = 9; }, "Floor texture 9 at cell (1, 1) is not in the texture list"},
        {[](L& v) { v.ceilings[6] = 0xFE; }, "Ceiling texture 254 at cell (1, 1) is not in the texture list"},
        {[](L& v) { v.sprites[1].texture = 5; }, "Sprite 1 uses texture 5, which is not in the texture list"},
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
        c.first(l.level);
        bool structural = false;
        EXPECT_EQ(l.loadLevel(&structural), c.second);
        EXPECT_TRUE(structural) << c.second;
    }
    for (int cell : {2, 10, 9, 18, 0, 19}) {  // every side and corner of the border
        l.level = good;
        l.level.walls[cell] = 0xFFFF;
        EXPECT_EQ(l.loadLevel(), "Map border is not closed at cell (" + std::to_string(cell % 5) + ", " +
                                     std::to_string(cell / 5) + ")");
    }
}

// A texture that cannot be used gives its path, and what follows it is never read. Names are read
// as the library's text format reads them; a CR LF line end shifts the LF into the next path.
TEST(LoadLevel, TexturesThatFailAndHowPathsAreRead) {
    Loader l;
    std::string crlf = levelfile::write(l.level);
    EXPECT_EQ(l.load(crlf.insert(crlf.find('\r') + 1, "\n")), "\n" + l.level.texturePaths[1]);
    int n = 0;
    for (const std::string& path : {l.dir.file("missing.bmp"), writeTexture(l.dir.path(), "odd.bmp", 48, 64, 1),
                                    writeTexture(l.dir.path(), "flat.bmp", 64, 48, 1),
                                    l.dir.file("w\xc3\xa4nde.bmp"),     // well-formed UTF-8: a missing file
                                    std::string("gfx/\xff\xfe.bmp")}) {  // read as plain bytes: part of a name
        l.level.texturePaths[2] = path;
        const std::string b = levelfile::write(l.level);
        set_uformat(++n == 5 ? U_ASCII : U_UTF8);
        bool structural = true;
        EXPECT_EQ(l.load(b.substr(0, b.find(path) + path.size() + 1), &structural), path);
        EXPECT_FALSE(structural) << path;
    }
    set_uformat(U_UTF8);
}
