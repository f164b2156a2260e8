#include <gtest/gtest.h>

#include <string>

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <vector>

#include "core/ElementaryFunctions.h"
#include "settings/global.h"
#include "test_support.h"

// What the settings writer asks of the file system, in order: these stand in for the C library's.
static std::vector<std::string> fileSystemCalls;
extern "C" int fsync(int fd) {
    char link[64], target[PATH_MAX] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, target, sizeof target - 1);
    fileSystemCalls.push_back("fsync " + std::string(target, n > 0 ? static_cast<size_t>(n) : 0));
    return static_cast<int>(syscall(SYS_fsync, fd));
}
extern "C" int rename(const char* from, const char* to) {
    fileSystemCalls.push_back(std::string("rename ") + from + " " + to);
    using Rename = int (*)(const char*, const char*);
    static Rename real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

namespace {
void putInt(std::string& b, size_t off, int v) {
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<char>((static_cast<unsigned>(v) >> (8 * i)) & 0xFF);
}

// A file as a player's earlier run would have written it, field by field.
std::string handBuiltFile() {
    std::string b(61, '\0');
    b[0] = 2;  // window, and b[1] = 0: no vsync
    const int keys[12] = {KEY_J, KEY_L, KEY_I, KEY_K, KEY_U, KEY_LCONTROL,
                          KEY_PGUP, KEY_PGDN, KEY_F1, KEY_F2, KEY_H, KEY_SEMICOLON};
    for (int i = 0; i < 12; ++i) putInt(b, 2 + 4 * i, keys[i]);
    b[50] = 7;
    putInt(b, 51, 16);
    b[55] = static_cast<char>(200);
    b[56] = 3;
    putInt(b, 57, 123456);
    return b;
}

class SettingsFile : public ::testing::Test {
protected:
    TempDir dir;
    ScopedChdir cd{dir.path()};
    globals g;
};
}  // namespace

TEST_F(SettingsFile, ValidFileReadsAndWritesBackByteForByte) {
    const std::string bytes = handBuiltFile();
    writeFile(SETTINGS_FILE, bytes);
    ASSERT_TRUE(g.load());
    EXPECT_EQ(g.screenMode, 2);
    EXPECT_FALSE(g.vsync);
    EXPECT_EQ(g.keyTurnLeft, KEY_J);
    EXPECT_EQ(g.keyShoot, KEY_LCONTROL);
    EXPECT_EQ(g.keyStrafeRight, KEY_SEMICOLON);
    EXPECT_EQ(g.maxFrameSkip, 7);
    EXPECT_EQ(g.colorDepth, 16);
    EXPECT_EQ(g.sfxVolume, 200);
    EXPECT_EQ(g.musicVolume, 3);
    EXPECT_EQ(g.screenshotCount, 123456);
    EXPECT_FALSE(g.firstStart);
    writeFile(SETTINGS_FILE, "");
    fileSystemCalls.clear();
    g.save();
    EXPECT_EQ(readFile(SETTINGS_FILE), bytes);
    char here[PATH_MAX];
    ASSERT_TRUE(getcwd(here, sizeof here));
    const std::vector<std::string> durable = {"fsync " + std::string(here) + "/settings.tmp",
                                              "rename settings.tmp settings", "fsync " + std::string(here)};
    EXPECT_EQ(fileSystemCalls, durable) << "the file reaches the disk before the rename, the rename after it";
}

TEST_F(SettingsFile, MissingOrShortFileKeepsValuesForMissingFields) {
    g.keyForward = 99;
    EXPECT_FALSE(g.load());
    EXPECT_EQ(g.keyForward, 99);

    writeFile(SETTINGS_FILE, handBuiltFile().substr(0, 12));  // ends two bytes into keyForward
    ASSERT_TRUE(g.load());
    EXPECT_EQ(g.keyTurnRight, KEY_L);
    EXPECT_EQ(g.keyForward, KEY_I);  // low bytes from the file, upper bytes from the default
    EXPECT_EQ(g.keyShoot, KEY_SPACE);
    EXPECT_EQ(g.sfxVolume, 255);
    EXPECT_EQ(g.maxFrameSkip, 4);

    writeFile(SETTINGS_FILE, "");
    ASSERT_TRUE(g.load());
    EXPECT_EQ(g.screenMode, 1);
    EXPECT_EQ(g.keyStrafeLeft, KEY_A);
}

TEST_F(SettingsFile, DamagedValuesAreRepaired) {
    std::string b = handBuiltFile();
    b[0] = 0;
    putInt(b, 10, 127);  // keyForward past the last key
    putInt(b, 22, -3);   // keyShoot negative
    putInt(b, 51, 12);   // no such colour depth
    putInt(b, 57, -9);
    writeFile(SETTINGS_FILE, b);
    ::mkdir("screenshots", 0755);
    writeFile(screenshotPath(0), "taken");
    ASSERT_TRUE(g.load());
    EXPECT_EQ(g.screenMode, 2);
    EXPECT_EQ(g.keyForward, KEY_W);
    EXPECT_EQ(g.keyShoot, KEY_SPACE);
    EXPECT_TRUE(g.colorDepth == 15 || g.colorDepth == 16 || g.colorDepth == 24 || g.colorDepth == 32);
    EXPECT_EQ(g.screenshotCount, 1) << "the player's first picture must not be overwritten";
    EXPECT_EQ(g.keyTurnLeft, KEY_J);  // the sound fields are kept

    b[0] = 77;
    writeFile(SETTINGS_FILE, b);
    ASSERT_TRUE(g.load());
    EXPECT_EQ(g.screenMode, 2);

    g.screenMode = 0;
    g.save();
    EXPECT_EQ(g.screenMode, 2) << "mode 0 is written as window";
    EXPECT_EQ(readFile(SETTINGS_FILE)[0], 2);
}

TEST_F(SettingsFile, RandomBytesNeverLeaveInvalidValues) {
    unsigned seed = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string b(round % 70, '\0');
        for (char& c : b) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
        writeFile(SETTINGS_FILE, b);
        ASSERT_TRUE(g.load());
        EXPECT_TRUE(g.screenMode == 1 || g.screenMode == 2);
        for (int k : {g.keyTurnLeft, g.keyTurnRight, g.keyForward, g.keyBackward, g.keyUse, g.keyShoot,
                      g.keyNextWeapon, g.keyPrevWeapon, g.keyMission, g.keyMessages, g.keyStrafeLeft,
                      g.keyStrafeRight})
            ASSERT_TRUE(k >= 0 && k < KEY_MAX) << k;
        g.save();
        EXPECT_EQ(readFile(SETTINGS_FILE).size(), 61u);
    }
}

TEST_F(SettingsFile, UnwritableFileIsReportedAndLeavesNoTemporary) {
    g.setDefaults(32);
    ::mkdir(SETTINGS_FILE, 0755);  // a folder where the file should be: the rename must fail
    testing::internal::CaptureStderr();
    g.save();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not write the settings file"), std::string::npos);
    EXPECT_FALSE(fileExists("settings.tmp"));
}
