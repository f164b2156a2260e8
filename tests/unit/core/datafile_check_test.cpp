// Damaged datafiles are refused before the library's reader (which would crash on them) sees them.
#include <gtest/gtest.h>

#include <string>

#include "core/datafileCheck.h"
#include "test_support.h"

namespace {
std::string shipped(const std::string& name) { return readFile(std::string(BRAWNWICK_SOURCE_DIR) + "/data/" + name); }

void be32(std::string& b, long v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<char>((static_cast<unsigned long>(v) >> s) & 0xFF));
}
// A plain datafile (without the outer magic number) of the given objects.
std::string image(const std::string& objects, long count) {
    std::string b = "ALL.";
    be32(b, count);
    return b + objects;
}
std::string object(const char* type, const std::string& body, long stored = -1) {
    std::string b(type, 4);
    be32(b, static_cast<long>(body.size()));
    be32(b, stored < 0 ? static_cast<long>(body.size()) : stored);
    return b + body;
}
bool intact(const std::string& b) {
    return datafileImageIntact(reinterpret_cast<const unsigned char*>(b.data()), b.size());
}
}  // namespace

TEST(DatafileCheck, ShippedFilesAreIntactAndEveryCutOrGarbledCopyIsNot) {
    TempDir dir;
    for (const char* name : {"data.dat", "intro.dat"}) {
        const std::string bytes = shipped(name);
        ASSERT_GT(bytes.size(), 100u) << name;
        writeFile(dir.file("whole.dat"), bytes);
        EXPECT_TRUE(datafileIntact(dir.file("whole.dat"))) << name;
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

TEST(DatafileCheck, PropertiesNestedFilesAndCompressedChunksAreWalked) {
    std::string prop = "prop";
    prop += "NAME";
    be32(prop, 3);
    prop += "abc";
    const std::string one = object("DATA", "xyz");
    EXPECT_TRUE(intact(image(prop + one, 1)));
    EXPECT_TRUE(intact(image("", 0)));
    EXPECT_FALSE(intact(image(one, 2))) << "a second object that is not there";
    EXPECT_FALSE(intact(image(one, -1)));
    EXPECT_FALSE(intact(image(prop.substr(0, prop.size() - 1), 1)));

    std::string nestedBody;
    be32(nestedBody, 1);
    nestedBody += one;
    EXPECT_TRUE(intact(image(object("FILE", nestedBody), 1)));
    std::string shortNested;
    be32(shortNested, 2);  // claims two objects, holds one
    shortNested += one;
    EXPECT_FALSE(intact(image(object("FILE", shortNested), 1)));

    // A compressed chunk stores its size negated.
    std::string packed = "DATA";
    be32(packed, 100);
    be32(packed, -3);
    packed += "abc";
    EXPECT_TRUE(intact(image(packed, 1)));
    packed.pop_back();
    EXPECT_FALSE(intact(image(packed, 1)));
    EXPECT_FALSE(intact("ALX.\0\0\0\0"));
}
