// Damaged datafiles are refused before the library's reader (which would crash on them) sees them.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "core/datafileCheck.h"
#include "test_support.h"

namespace {
std::string be32(long v) {
    std::string b;
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<char>((static_cast<unsigned long>(v) >> s) & 0xFF));
    return b;
}
// A plain datafile (without the outer magic number) of the given objects.
std::string image(const std::string& objects, long count) { return "ALL." + be32(count) + objects; }
std::string object(const char* type, const std::string& body) {
    return std::string(type, 4) + be32(static_cast<long>(body.size())) + be32(static_cast<long>(body.size())) + body;
}
std::string be16(int v) { return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)}; }
// A new-style font of one range of glyphs, each w x h with its bit rows.
std::string fontBody(int depth, long first, long last, int w, int h) {
    std::string body = be16(0) + be16(1) + static_cast<char>(depth) + be32(first) + be32(last);
    const size_t bytes = static_cast<size_t>(depth == 1 ? (w + 7) / 8 : w) * h;
    for (long c = first; c <= last; ++c) body += be16(w) + be16(h) + std::string(bytes, '\x55');
    return body;
}
bool intact(const std::string& b) {
    return datafileImageIntact(reinterpret_cast<const unsigned char*>(b.data()), b.size());
}
}  // namespace

TEST(DatafileCheck, ShippedFilesAreIntactAndEveryCutOrGarbledCopyIsNot) {
    TempDir dir;
    for (const char* name : {"data.dat", "intro.dat"}) {
        const std::string bytes = readFile(std::string(BRAWNWICK_SOURCE_DIR) + "/data/" + name);
        ASSERT_GT(bytes.size(), 100u) << name;
        writeFile(dir.file("whole.dat"), bytes);
        EXPECT_TRUE(datafileIntact(dir.file("whole.dat"))) << name;
        // Packed as a whole (what dat -c2 writes), it is refused: see datafileIntact.
        PACKFILE* packed = pack_fopen(dir.file("packed.dat").c_str(), F_WRITE_PACKED);
        ASSERT_NE(packed, nullptr);
        pack_fwrite(bytes.data() + 4, static_cast<long>(bytes.size() - 4), packed);
        pack_fclose(packed);
        EXPECT_FALSE(datafileIntact(dir.file("packed.dat"))) << name;
        for (size_t cut : {size_t(0), size_t(4), size_t(8), size_t(12), size_t(20), bytes.size() / 2,
                           bytes.size() - 1}) {
            writeFile(dir.file("cut.dat"), bytes.substr(0, cut));
            EXPECT_FALSE(datafileIntact(dir.file("cut.dat"))) << name << " cut at " << cut;
        }
        std::string garbled = bytes;
        garbled[20] = static_cast<char>(0x7F);  // the first object's stored size far beyond the file
        writeFile(dir.file("garbled.dat"), garbled);
        EXPECT_FALSE(datafileIntact(dir.file("garbled.dat"))) << name;
    }
    EXPECT_FALSE(datafileIntact(dir.file("none.dat")));
}

TEST(DatafileCheck, PropertiesAndNestedFilesAreWalkedAndPackedObjectsRefused) {
    const std::string prop = "propNAME" + be32(3) + "abc";
    const std::string one = object("DATA", "xyz");
    EXPECT_TRUE(intact(image(prop + one, 1)));
    EXPECT_TRUE(intact(image("", 0)));
    EXPECT_FALSE(intact(image(one, 2))) << "a second object that is not there";
    EXPECT_FALSE(intact(image(one, -1)));
    EXPECT_FALSE(intact(image(prop.substr(0, prop.size() - 1), 1)));
    EXPECT_FALSE(intact(image("prop" + be32(-1) + be32(3) + "abc" + one, 1))) << "a property typed as the end marker";

    EXPECT_TRUE(intact(image(object("FILE", be32(1) + one), 1)));
    EXPECT_FALSE(intact(image(object("FILE", be32(2) + one), 1))) << "claims two objects, holds one";

    // A packed object stores its size negated; the walk cannot follow the unpacker, so none is taken.
    EXPECT_FALSE(intact(image("DATA" + be32(80) + be32(-3) + "abc", 1)));
    // The reader allocates the unpacked size before it reads a byte.
    EXPECT_FALSE(intact(image("DATA" + be32(0x46000000) + be32(3) + "abc", 1))) << "claims more than it holds";
    EXPECT_FALSE(intact(std::string("ALX.\0\0\0\0", 8)));
}

TEST(DatafileCheck, WhatObjectsDeclareMustBeThere) {
    struct Case {
        const char* name;
        const char* type;
        std::string body;
        bool good;
    };
    const std::string midiTracks = [] {
        std::string t;
        for (int i = 0; i < 32; ++i) t += be32(i == 0 ? 3 : 0) + (i == 0 ? "abc" : "");
        return t;
    }();
    const Case cases[] = {
        {"mono font", "FONT", fontBody(1, 32, 126, 9, 12), true},
        {"colour font", "FONT", fontBody(8, 65, 66, 3, 2), false},
        {"font glyph short of its rows", "FONT", fontBody(1, 65, 66, 9, 12).substr(0, 40), false},
        {"font range backwards", "FONT", fontBody(1, 66, 65, 8, 1), false},
        {"font range of two thousand million glyphs", "FONT", be16(0) + be16(1) + '\x01' + be32(0) + be32(0x7FFFFFF0), false},
        {"font of no ranges", "FONT", be16(0) + be16(0), false},
        {"font of an unknown depth", "FONT", fontBody(17, 65, 65, 8, 1), false},
        {"font glyph no wide but high", "FONT", fontBody(1, 65, 65, 0, 5), false},
        {"font glyph of no size", "FONT", fontBody(1, 65, 65, 0, 0), true},
        {"font glyph wide but flat", "FONT", fontBody(1, 65, 65, 9, 0), true},
        {"font glyph wider than a short", "FONT", fontBody(1, 65, 65, 0x8000, 1), false},
        {"font glyph of 65535 x 65535 without its rows", "FONT", be16(0) + be16(1) + '\x01' + be32(65) + be32(65) + be16(0xFFFF) + be16(0xFFFF), false},
        {"old 8x8 font", "FONT", be16(8) + std::string(95 * 8, 'x'), false},
        {"font of an unknown kind", "FONT", be16(3), false},
        {"24-bit bitmap", "BMP ", be16(24) + be16(4) + be16(3) + std::string(36, 'x'), true},
        {"32-bit bitmap stores three bytes a pixel", "BMP ", be16(32) + be16(2) + be16(2) + std::string(12, 'x'), true},
        {"bitmap short of a pixel", "BMP ", be16(16) + be16(4) + be16(3) + std::string(23, 'x'), false},
        {"bitmap of 65535 x 65535", "BMP ", be16(24) + be16(0xFFFF) + be16(0xFFFF), false},
        {"bitmap of 12 bits", "BMP ", be16(12) + be16(1) + be16(1) + "xx", false},
        {"stereo 16-bit sample", "SAMP", be16(-16) + be16(22050) + be32(5) + std::string(20, 'x'), true},
        {"sample longer than its bytes", "SAMP", be16(8) + be16(22050) + be32(0x7FFFFFFF) + "x", false},
        {"sample of a negative length", "SAMP", be16(8) + be16(22050) + be32(-1), false},
        {"sample of 12 bits", "SAMP", be16(12) + be16(22050) + be32(0), false},
        {"music", "MIDI", be16(96) + midiTracks, true},
        {"music short of a track", "MIDI", be16(96) + midiTracks.substr(0, midiTracks.size() - 4), false},
        {"run-length sprite", "RLE ", be16(8) + be16(1) + be16(1) + be32(0), false},
        {"raw data", "DATA", "anything", true},
        {"an object typed as the end marker", "\xFF\xFF\xFF\xFF", "anything", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(intact(image(object(c.type, c.body), 1)), c.good) << c.name;
        EXPECT_EQ(intact(image(object("FILE", be32(1) + object(c.type, c.body)), 1)), c.good) << c.name << ", nested";
    }
}
