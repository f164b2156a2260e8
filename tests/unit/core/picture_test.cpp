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

// A BMP with a header of `header` bytes whose masks (if any) sit in it; pixels as given, rows in file order.
Bytes bmp(uint32_t header, int32_t w, int32_t h, int bits, uint32_t compression, const Bytes& pixels,
          std::vector<uint32_t> masks = {}) {
    Bytes b(14 + header, 0);
    b[0] = 'B', b[1] = 'M';
    put(b, 10, static_cast<uint32_t>(b.size()));
    put(b, 14, header), put(b, 18, static_cast<uint32_t>(w)), put(b, 22, static_cast<uint32_t>(h));
    put(b, 26, 1, 2), put(b, 28, bits, 2), put(b, 30, compression);
    for (size_t i = 0; i < masks.size(); ++i) put(b, 54 + 4 * i, masks[i]);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

struct Rgb {
    int r, g, b;
};
}  // namespace

TEST(Pictures, EditorFilesReadInEveryDepth) {
    const struct {
        const char* file;
        int depth, x, y;
        Rgb want;
    } cases[] = {
        {"gimp.bmp", 32, 3, 1, {96, 223, 64}},  // version 5 header, as GIMP and ImageMagick write
        {"gimp.bmp", 16, 0, 0, {0, 255, 66}},
        {"alpha.png", 32, 1, 0, {32, 255, 64}},
        {"alpha.png", 32, 0, 1, {255, 0, 255}},  // transparent: the game's magenta
        {"alpha.png", 16, 0, 1, {255, 0, 255}},  // also where the depth has no alpha to keep
        {"alpha.png", 24, 7, 7, {224, 31, 64}},
    };
    for (const auto& c : cases) {
        set_color_depth(c.depth);
        BITMAP* bmp = readPicture(std::string(BRAWNWICK_SOURCE_DIR "/tests/data/pictures/") + c.file);
        set_color_depth(32);
        ASSERT_NE(bmp, nullptr) << c.file;
        EXPECT_EQ(bitmap_color_depth(bmp), c.depth);
        const int px = getpixel(bmp, c.x, c.y), d = c.depth;
        EXPECT_EQ(getr_depth(d, px) / 8, c.want.r / 8) << c.file << " at depth " << d;
        EXPECT_EQ(getg_depth(d, px) / 8, c.want.g / 8) << c.file << " at depth " << d;
        EXPECT_EQ(getb_depth(d, px) / 8, c.want.b / 8) << c.file << " at depth " << d;
        destroy_bitmap(bmp);
    }
}

TEST(Pictures, TopDownRowsAndAlphaBitFieldsDecodeAsThePlainFile) {
    // 1 x 2: red over blue, stored bottom-up and top-down; an ImageMagick-like 32-bit file with alpha.
    const Bytes up = bmp(40, 1, 2, 24, 0, {255, 0, 0, 0, 0, 0, 255, 0});
    const Bytes down = bmp(124, 1, -2, 24, 0, {0, 0, 255, 0, 255, 0, 0, 0});
    const Bytes alpha = bmp(124, 2, 1, 32, 3, {0, 0, 255, 0, 0, 255, 0, 255},
                            {0xFF0000, 0xFF00, 0xFF, 0xFF000000});
    Bytes a, b, c;
    ASSERT_EQ(decodeBmp(up.data(), up.size(), a), "");
    ASSERT_EQ(decodeBmp(down.data(), down.size(), b), "");
    EXPECT_EQ(a, b);
    ASSERT_EQ(decodeBmp(alpha.data(), alpha.size(), c), "");
    ASSERT_EQ(c.size(), 54u + 8);
    EXPECT_EQ(Bytes(c.begin() + 54, c.begin() + 60), (Bytes{255, 0, 255, 0, 255, 0}));  // magenta, then green
}

TEST(Pictures, DamagedAndHostileFilesAreRefusedWithTheirReason) {
    const Bytes pixel = {1, 2, 3, 0};
    Bytes offsetPastEnd = bmp(40, 1, 1, 24, 0, pixel);
    put(offsetPastEnd, 10, 0xFFFFFFF0);  // ignored: the pixels follow the header
    Bytes hugeHeader = bmp(40, 1, 1, 24, 0, pixel);
    put(hugeHeader, 14, 0xFFFFFFFF);
    const struct {
        Bytes file;
        const char* trouble;
    } cases[] = {
        {bmp(40, 1, 1, 24, 0, {1, 2}), "truncated BMP (the file ends inside its pixels)"},
        {bmp(40, 2, 1, 8, 0, {0, 0, 0, 0}), "truncated BMP (the file ends inside its palette)"},
        {bmp(40, 2, 1, 16, 3, {0, 0, 0, 0}), "truncated BMP (the file ends inside its colour masks)"},
        {hugeHeader, "truncated BMP (the file ends inside its header)"},
        {Bytes{'B', 'M', 0, 0}, "truncated BMP"},
        {bmp(40, 0x7FFFFFFF, 1, 24, 0, pixel), "larger than the game reads"},
        {bmp(40, 1, INT32_MIN, 24, 0, pixel), "larger than the game reads"},
        {bmp(40, 5000, 5000, 1, 0, pixel), "larger than the game reads"},
        {bmp(40, 0, 1, 24, 0, pixel), "damaged BMP (it says it is 0 x 1 pixels)"},
        {bmp(40, 1, 1, 2, 0, pixel), "a BMP with 2 bits per pixel"},
        {bmp(40, 1, 1, 8, 1, pixel), "compressed (run-length encoded) BMP"},
        {bmp(40, 1, 1, 24, 3, pixel), "compressed BMP (method 3)"},
        {Bytes{'G', 'I', 'F', '8'}, "not a BMP file"},
        {offsetPastEnd, ""},
    };
    for (const auto& c : cases) {
        Bytes plain;
        const std::string trouble = decodeBmp(c.file.data(), c.file.size(), plain);
        EXPECT_NE(trouble.find(c.trouble), std::string::npos) << "'" << trouble << "', expected '" << c.trouble << "'";
        EXPECT_EQ(trouble.empty(), !plain.empty());
    }
    TempDir dir;
    writeFile(dir.file("x.png"), "\x89PNG\r\n\x1a\nIHDR");
    std::string trouble;
    EXPECT_EQ(readPicture(dir.file("x.png"), &trouble), nullptr);
    EXPECT_EQ(trouble, "a truncated or damaged PNG");
    EXPECT_EQ(readPicture(dir.file("none.bmp"), &trouble), nullptr);
    EXPECT_EQ(trouble, "file not found");
}
