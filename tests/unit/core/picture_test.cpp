// Pictures as editors save them, and files that only pretend to be pictures.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/bmpDecode.h"
#include "core/picture.h"
#include "test_support.h"

namespace {
using Bytes = std::vector<unsigned char>;

void put(Bytes& b, size_t at, uint32_t v, int n = 4) {
    for (int i = 0; i < n; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A BMP with a header of `header` bytes (masks in it) and the pixels as given, rows in file order.
Bytes bmp(uint32_t header, int32_t w, int32_t h, int bits, uint32_t compression, const Bytes& pixels,
          std::vector<uint32_t> masks = {}) {
    Bytes b(14 + header, 0);
    b[0] = 'B', b[1] = 'M';
    put(b, 10, static_cast<uint32_t>(b.size())), put(b, 14, header);
    put(b, 18, static_cast<uint32_t>(w)), put(b, 22, static_cast<uint32_t>(h));
    put(b, 28, bits, 2), put(b, 30, compression);
    for (size_t i = 0; i < masks.size(); ++i) put(b, 54 + 4 * i, masks[i]);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}
}  // namespace

TEST(Pictures, EditorFilesReadInEveryDepth) {
    const struct {
        const char* file;
        int depth, x, y, rgb[3];
    } cases[] = {
        {"gimp.bmp", 32, 3, 1, {96, 223, 64}},  // version 5 header, as GIMP and ImageMagick write
        {"gimp.bmp", 16, 0, 0, {0, 255, 66}},
        {"alpha.png", 32, 1, 0, {32, 255, 64}},
        {"alpha.png", 32, 0, 1, {255, 0, 255}},  // transparent: the game's magenta
        {"alpha.png", 16, 0, 1, {255, 0, 255}},  // also where the depth keeps no alpha
        {"alpha.png", 24, 7, 7, {224, 31, 64}},
    };
    for (const auto& c : cases) {
        set_color_depth(c.depth);
        BITMAP* b = readPicture(std::string(BRAWNWICK_SOURCE_DIR "/tests/data/pictures/") + c.file);
        set_color_depth(32);
        ASSERT_NE(b, nullptr) << c.file;
        const int px = getpixel(b, c.x, c.y), d = c.depth;
        const int got[3] = {getr_depth(d, px), getg_depth(d, px), getb_depth(d, px)};
        for (int i = 0; i < 3; ++i) EXPECT_EQ(got[i] / 8, c.rgb[i] / 8) << c.file << " at depth " << d;
        EXPECT_EQ(bitmap_color_depth(b), d);
        destroy_bitmap(b);
    }
}

TEST(Pictures, HeadersOfEveryKindDecodeOrSayWhyNot) {
    // 1 x 2, red over blue: bottom-up with a 40-byte header is the plain form the others must match.
    const Bytes redOverBlue = bmp(40, 1, 2, 24, 0, {255, 0, 0, 0, 0, 0, 255, 0}), pixel = {1, 2, 3, 0};
    Bytes hugeHeader = bmp(40, 1, 1, 24, 0, pixel), offsetPastEnd = hugeHeader, same;
    put(hugeHeader, 14, 0xFFFFFFFF);
    put(offsetPastEnd, 10, 0xFFFFFFF0);  // ignored: the pixels follow the header
    const Bytes magentaThenGreen = {255, 0, 255, 0, 255, 0, 0, 0};
    const struct {
        Bytes file;
        const char* trouble;
        const Bytes* decoded;  // the pixels it must give
    } cases[] = {
        {bmp(124, 1, -2, 24, 0, {0, 0, 255, 0, 255, 0, 0, 0}), "", &same},  // top-down, version 5
        {bmp(124, 2, 1, 32, 3, {0, 0, 255, 0, 0, 255, 0, 255}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}), "",
         &magentaThenGreen},  // ImageMagick's 32 bits with alpha
        {offsetPastEnd, "", nullptr},
        {bmp(40, 1, 1, 24, 0, {1, 2}), "truncated BMP (the file ends inside its pixels)", nullptr},
        {bmp(40, 2, 1, 8, 0, {0, 0, 0, 0}), "truncated BMP (the file ends inside its palette)", nullptr},
        {bmp(40, 2, 1, 16, 3, {0, 0, 0, 0}), "truncated BMP (the file ends inside its colour masks)", nullptr},
        {hugeHeader, "truncated BMP (the file ends inside its header)", nullptr},
        {Bytes{'B', 'M', 0, 0}, "truncated BMP", nullptr},
        {bmp(40, 0x7FFFFFFF, 1, 24, 0, pixel), "larger than the game reads", nullptr},
        {bmp(40, 1, INT32_MIN, 24, 0, pixel), "larger than the game reads", nullptr},
        {bmp(40, 5000, 5000, 1, 0, pixel), "larger than the game reads", nullptr},
        {bmp(40, 0, 1, 24, 0, pixel), "damaged BMP (it says it is 0 x 1 pixels)", nullptr},
        {bmp(40, 1, 1, 2, 0, pixel), "a BMP with 2 bits per pixel", nullptr},
        {bmp(40, 1, 1, 8, 1, pixel), "compressed (run-length encoded) BMP", nullptr},
        {Bytes{'G', 'I', 'F', '8'}, "not a BMP file", nullptr},
    };
    ASSERT_EQ(decodeBmp(redOverBlue.data(), redOverBlue.size(), same), "");
    same.erase(same.begin(), same.begin() + 54);
    for (const auto& c : cases) {
        Bytes plain;
        const std::string trouble = decodeBmp(c.file.data(), c.file.size(), plain);
        EXPECT_NE(trouble.find(c.trouble), std::string::npos) << "'" << trouble << "', expected '" << c.trouble << "'";
        EXPECT_EQ(trouble.empty(), !plain.empty()) << c.trouble;
        if (c.decoded && plain.size() >= 54) {
            EXPECT_EQ(Bytes(plain.begin() + 54, plain.end()), *c.decoded);
        }
    }
    TempDir dir;
    writeFile(dir.file("x.png"), "\x89PNG\r\n\x1a\nIHDR");
    const struct {
        std::string path, trouble;
    } files[] = {{dir.file("x.png"), "a truncated or damaged PNG"}, {dir.file("none.bmp"), "file not found"},
                 {dir.path(), "not a file (a folder?)"}};
    for (const auto& f : files) {
        std::string trouble;
        EXPECT_EQ(readPicture(f.path, &trouble), nullptr);
        EXPECT_EQ(trouble, f.trouble);
    }
}
