// Damaged datafiles are refused before the library's reader (which would crash on them) sees them;
// whatever the dat tool writes, packed or not, loads.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/datafileCheck.h"
#include "test_support.h"

namespace {
using Datafile = std::unique_ptr<DATAFILE, void (*)(DATAFILE*)>;
std::string be(long v, int bytes = 4) { return bytes ? be(v >> 8, bytes - 1) + static_cast<char>(v & 0xFF) : ""; }
long len(const std::string& s) { return static_cast<long>(s.size()); }
// A plain datafile (without the outer magic number) of the given objects.
std::string image(const std::string& objects, long count) { return "ALL." + be(count) + objects; }
std::string object(const char* type, const std::string& body) { return type + be(len(body)) + be(len(body)) + body; }
// The library's packing with every byte a literal: a flag byte of eight ones before each eight.
std::string literals(const std::string& body) {
    std::string packed;
    for (size_t i = 0; i < body.size(); i += 8) packed += '\xFF' + body.substr(i, 8);
    return packed;
}
std::string packedObject(const char* type, const std::string& b) {
    return type + be(len(literals(b))) + be(-len(b)) + literals(b);
}
// A new-style font of one range of glyphs, each w x h with its rows of bits or pixels.
std::string fontBody(int depth, long first, long last, int w, int h) {
    std::string body = be(0, 2) + be(1, 2) + static_cast<char>(depth) + be(first) + be(last);
    const int pixelBytes = depth <= 8 ? 1 : depth <= 16 ? 2 : 3;
    const size_t bytes = static_cast<size_t>(depth == 1 ? (w + 7) / 8 : w * pixelBytes) * h;
    for (long c = first; c <= last; ++c) body += be(w, 2) + be(h, 2) + std::string(bytes, '\x55');
    return body;
}
bool intact(const std::string& b) {
    return datafileImageIntact(reinterpret_cast<const unsigned char*>(b.data()), b.size());
}
// Writes a whole file (magic number included) and loads it as the game does.
Datafile load(const TempDir& dir, const std::string& file) {
    writeFile(dir.file("try.dat"), file);
    return Datafile(loadCheckedDatafile(dir.file("try.dat")), unload_datafile);
}
// Every font of the datafile: a text drawn in white and in its own colours.
std::string drawing(const DATAFILE* d) {
    std::string seen;
    std::unique_ptr<BITMAP, void (*)(BITMAP*)> canvas(create_bitmap(48, 40), destroy_bitmap);
    for (; d->type != DAT_END; ++d) {
        if (d->type != DAT_FONT) continue;
        FONT* f = static_cast<FONT*>(d->dat);
        clear_to_color(canvas.get(), makecol(0, 0, 90));
        textout_ex(canvas.get(), f, "!#Wg~", 1, 1, makecol(255, 255, 255), -1);
        textout_ex(canvas.get(), f, "!#\"", 1, 20, -1, -1);
        for (int p = 0; p < 48 * 40; ++p) seen += std::to_string(getpixel(canvas.get(), p % 48, p / 48)) + ",";
    }
    return seen;
}
}  // namespace

TEST(DatafileCheck, WhatTheDatToolWritesLoadsAsItsPlainFormAndCutCopiesDoNot) {
    ASSERT_EQ(std::system("command -v dat > /dev/null"), 0) << "needs the dat tool of liballegro4-dev";
    TempDir dir;
    writeFile(dir.file("data.dat"), readFile(std::string(BRAWNWICK_SOURCE_DIR) + "/data/data.dat"));
    // A colour font: glyphs "!" to "#" of 3 x 2 true-colour pixels, boxed in the border colour.
    std::unique_ptr<BITMAP, void (*)(BITMAP*)> grid(create_bitmap_ex(24, 13, 4), destroy_bitmap);
    clear_to_color(grid.get(), makecol24(255, 255, 0));
    for (int g = 0; g < 3; ++g)
        for (int p = 0; p < 6; ++p)
            putpixel(grid.get(), 1 + g * 4 + p % 3, 1 + p / 3, p == g ? makecol24(255, 0, 255) : makecol24(40 * p, 200, 60 * g));
    ASSERT_EQ(save_bmp(dir.file("grid.bmp").c_str(), grid.get(), nullptr), 0);
    ASSERT_EQ(std::system(("cd " + dir.path() + " && dat -s2 colour.dat -t FONT -a grid.bmp > /dev/null").c_str()), 0);

    for (const std::string name : {"data.dat", "colour.dat"}) {
        Datafile plain(load_datafile(dir.file(name).c_str()), unload_datafile);
        ASSERT_TRUE(plain && (is_color_font(static_cast<FONT*>(plain.get()->dat)) != 0) == (name == "colour.dat")) << name;
        for (const std::string packing : {"-c0", "-c1", "-c2"}) {
            const std::string copy = dir.file(packing + name);
            writeFile(copy, readFile(dir.file(name)));
            ASSERT_EQ(std::system(("dat " + packing + " " + copy + " > /dev/null").c_str()), 0);
            Datafile d(loadCheckedDatafile(copy), unload_datafile);
            ASSERT_NE(d, nullptr) << name << " " << packing;
            EXPECT_EQ(drawing(d.get()), drawing(plain.get())) << name << " " << packing;
            const std::string bytes = readFile(copy);
            for (size_t cut : {size_t(0), size_t(8), size_t(30), bytes.size() / 2, bytes.size() - 1})
                EXPECT_EQ(load(dir, bytes.substr(0, cut)), nullptr) << name << " " << packing << " cut at " << cut;
        }
    }
}

TEST(DatafileCheck, WholeFilesPackedOrNotAreHeldToTheirSizesCountsAndTheLimit) {
    TempDir dir;
    const std::string font = fontBody(1, 65, 67, 9, 5), one = object("DATA", "xyz");
    std::string garbled = literals(font);
    for (size_t i = 0; i < garbled.size(); i += 9) garbled[i] = 0;  // literals read as references back
    auto nest = [&one](int levels) {
        std::string o = one;
        while (levels--) o = packedObject("FILE", be(1) + o);
        return o;
    };
    std::string deep;  // built from the outside in: deep enough to end a recursion without a bound
    for (long size = len(one) + 16L * 200000; size > len(one); size -= 16)
        deep += "FILE" + be(size - 12) + be(size - 12) + be(1);
    const long big = 65L << 20;
    std::string zeros;  // flag bytes of eight references back to the window's zeros, eighteen bytes each
    while (zeros.size() / 17 * 144 < static_cast<size_t>(big))
        zeros += '\0' + std::string("\0\x0F\0\x0F\0\x0F\0\x0F\0\x0F\0\x0F\0\x0F\0\x0F", 16);
    // A reference back to the end of the window before anything was written there reads zeros.
    Datafile d = load(dir, "slh." + image("DATA" + be(3) + be(-3) + std::string("\0\xFA\xF0", 3), 1));
    EXPECT_TRUE(d && std::string(static_cast<const char*>(d.get()->dat), 3) == std::string(3, '\0'));
    const struct { const char* name; std::string file; bool good; } cases[] = {
        {"packed font", "slh." + image(packedObject("FONT", font), 1), true},
        {"packed whole", "slh!" + literals(image(object("FONT", font) + one, 2)), true},
        {"packed stream cut short", "slh." + image("FONT" + be(30) + be(-len(font)) + literals(font), 1), false},
        {"packed stream garbled", "slh." + image("FONT" + be(len(garbled)) + be(-len(font)) + garbled, 1), false},
        {"packed stream longer than the file", "slh." + image("DATA" + be(100) + be(-3) + literals("xyz"), 1), false},
        {"packed whole unpacking beyond the limit", "slh!" + literals(image("DATA" + be(big) + be(big), 1) + std::string(4, '\0')) + zeros, false},
        {"unpacked size far beyond the limit", "slh." + image("DATA" + be(4) + be(-big) + literals("xyz"), 1), false},
        {"unpacked size of -2^31", "slh." + image("DATA" + be(4) + be(-0x80000000L) + literals("xyz"), 1), false},
        {"nested 16 deep", "slh." + image(nest(16), 1), true},
        {"nested 17 deep", "slh." + image(nest(17), 1), false},
        {"nested 200000 deep", "slh." + image(deep + one, 1), false},
        {"no objects", "slh." + image("", 0), true},
        {"a second object that is not there", "slh." + image(one, 2), false},
        {"a negative count", "slh." + image(one, -1), false},
        {"not a datafile inside", std::string("slh.ALX.\0\0\0\0", 12), false},
        {"no magic number", image(one, 1), false},
    };
    for (const auto& c : cases) EXPECT_EQ(load(dir, c.file) != nullptr, c.good) << c.name;
}

TEST(DatafileCheck, WhatObjectsDeclareMustBeThere) {
    std::string tracks = be(3) + "abc";
    for (int i = 1; i < 32; ++i) tracks += be(0);
    const std::string prop = "propNAME" + be(3) + "abc", one = object("DATA", "xyz");
    auto font = [](const std::string& b) { return object("FONT", b); };
    auto bmp = [](int bits, int w, int h, size_t n) { return object("BMP ", be(bits, 2) + be(w, 2) + be(h, 2) + std::string(n, 'x')); };
    auto sample = [](int bits, long len, size_t n) { return object("SAMP", be(bits, 2) + be(22050, 2) + be(len) + std::string(n, 'x')); };
    const struct { const char* name; std::string object; bool good; } cases[] = {
        {"mono font", font(fontBody(1, 32, 126, 9, 12)), true},
        {"8-bit colour as dat writes it", font(fontBody(0, 65, 66, 3, 2)), true},
        {"16-bit colour font", font(fontBody(16, 65, 66, 3, 2)), true},
        {"32-bit, three bytes a pixel", font(fontBody(32, 65, 66, 3, 2)), true},
        {"colour glyph short of a pixel", font(fontBody(24, 65, 65, 3, 2).substr(0, 30)), false},
        {"mono and colour ranges", font(be(0, 2) + be(2, 2) + fontBody(1, 65, 65, 8, 1).substr(4) + fontBody(24, 66, 66, 1, 1).substr(4)), false},
        {"planar depth", font(fontBody(4, 65, 65, 8, 1)), false},
        {"range to the last int", font(fontBody(1, 0x7FFFFFFF, 0x7FFFFFFF, 8, 1)), false},
        {"glyph short of its rows", font(fontBody(1, 65, 66, 9, 12).substr(0, 40)), false},
        {"range backwards", font(fontBody(1, 66, 65, 8, 1)), false},
        {"two thousand million glyphs", font(be(0, 2) + be(1, 2) + '\x01' + be(0) + be(0x7FFFFFF0)), false},
        {"no ranges", font(be(0, 2) + be(0, 2)), false},
        {"glyph no wide but high", font(fontBody(1, 65, 65, 0, 5)), false},
        {"glyph of no size", font(fontBody(1, 65, 65, 0, 0)), true},
        {"glyph wider than a short", font(fontBody(1, 65, 65, 0x8000, 1)), false},
        {"old 8x8 font", font(be(8, 2) + std::string(95 * 8, 'x')), false},
        {"24-bit bitmap", bmp(24, 4, 3, 36), true}, {"32-bit bitmap of three bytes a pixel", bmp(32, 2, 2, 12), true},
        {"bitmap short of a pixel", bmp(16, 4, 3, 23), false},
        {"bitmap of 65535 x 65535", bmp(24, 0xFFFF, 0xFFFF, 0), false},
        {"bitmap of 12 bits", bmp(12, 1, 1, 2), false}, {"stereo 16-bit sample", sample(-16, 5, 20), true},
        {"sample longer than its bytes", sample(8, 0x7FFFFFFF, 1), false},
        {"sample of a negative length", sample(8, -1, 0), false},
        {"sample of 12 bits", sample(12, 0, 0), false},
        {"run-length sprite", object("RLE ", be(8, 2) + be(1, 2) + be(1, 2) + be(0)), false},
        {"music", object("MIDI", be(96, 2) + tracks), true},
        {"music short of a track", object("MIDI", be(96, 2) + tracks.substr(0, tracks.size() - 4)), false},
        {"raw data with a property", prop + one, true},
        {"a property cut short", prop.substr(0, prop.size() - 1) + one, false},
        {"a property typed as the end marker", "prop" + be(-1) + be(3) + "abc" + one, false},
        {"an object typed as the end marker", object("\xFF\xFF\xFF\xFF", "xyz"), false},
        {"a nested file claiming two objects", object("FILE", be(2) + one), false},
        {"claims more than it holds", "DATA" + be(0x46000000) + be(3) + "abc", false},  // allocated before it is read
        {"a packed chunk: the walk takes only images unpacked beforehand", "DATA" + be(80) + be(-3) + "abc", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(intact(image(c.object, 1)), c.good) << c.name;
        EXPECT_EQ(intact(image(object("FILE", be(1) + c.object), 1)), c.good) << c.name << ", nested";
    }
}
