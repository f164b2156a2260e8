// The settings file: read, repaired, and written so that a crash never leaves it half written.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <string>
#include <vector>

#include "core/ElementaryFunctions.h"
#include "settings/global.h"
#include "test_support.h"

// What the settings writer asks of the file system, in order: these stand in for the C library's.
static std::vector<std::string> fileSystemCalls;
extern "C" int fsync(int fd) {
    char target[PATH_MAX] = {};
    ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    fileSystemCalls.push_back("fsync " + std::string(target, n > 0 ? static_cast<size_t>(n) : 0));
    return static_cast<int>(syscall(SYS_fsync, fd));
}
extern "C" int rename(const char* from, const char* to) {
    fileSystemCalls.push_back(std::string("rename ") + from + " " + to);
    static auto real = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}

namespace {
void putInt(std::string& b, size_t at, int v) { for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(unsigned(v) >> (8 * i)); }

// A file as a player's earlier run would have written it, field by field.
std::string handBuiltFile() {
    std::string b(61, '\0');
    b[0] = 2;  // window, and b[1] = 0: no vsync
    const int keys[12] = {KEY_J, KEY_L, KEY_I, KEY_K, KEY_U, KEY_LCONTROL,
                          KEY_PGUP, KEY_PGDN, KEY_F1, KEY_F2, KEY_H, KEY_SEMICOLON};
    for (int i = 0; i < 12; ++i) putInt(b, 2 + 4 * i, keys[i]);
    b[50] = 7, b[55] = static_cast<char>(200), b[56] = 3;  // frame skip, volumes
    putInt(b, 51, 16);
    putInt(b, 57, 123456);
    return b;
}

struct SettingsFile : ::testing::Test {
    TempDir dir;
    ScopedChdir cd{dir.path()};
    globals g;
};
}  // namespace

TEST_F(SettingsFile, ValidFileReadsAndWritesBackByteForByteReachingTheDiskBeforeTheRename) {
    const std::string bytes = handBuiltFile();
    writeFile(SETTINGS_FILE, bytes);
    ASSERT_TRUE(g.load());
    EXPECT_TRUE(g.screenMode == 2 && !g.vsync && !g.firstStart);
    EXPECT_TRUE(g.keyTurnLeft == KEY_J && g.keyShoot == KEY_LCONTROL && g.keyStrafeRight == KEY_SEMICOLON);
    EXPECT_TRUE(g.maxFrameSkip == 7 && g.colorDepth == 16 && g.sfxVolume == 200 && g.musicVolume == 3);
    EXPECT_EQ(g.screenshotCount, 123456);
    writeFile(SETTINGS_FILE, "");
    fileSystemCalls.clear();
    g.save();
    EXPECT_EQ(readFile(SETTINGS_FILE), bytes);
    const std::string here = dir.path();
    EXPECT_EQ(fileSystemCalls,
              (std::vector<std::string>{"fsync " + here + "/settings.tmp", "rename settings.tmp settings", "fsync " + here}));
}

TEST_F(SettingsFile, MissingFieldsKeepTheirValuesDamagedOnesAreRepaired) {
    g.keyForward = 99;
    EXPECT_TRUE(!g.load() && g.keyForward == 99);
    writeFile(SETTINGS_FILE, handBuiltFile().substr(0, 12));  // ends two bytes into keyForward
    ASSERT_TRUE(g.load());
    EXPECT_TRUE(g.keyTurnRight == KEY_L && g.keyForward == KEY_I) << "low bytes from the file, upper from the default";
    EXPECT_TRUE(g.keyShoot == KEY_SPACE && g.keyMission == KEY_TAB && g.sfxVolume == 255 && g.maxFrameSkip == 4);

    std::string b = handBuiltFile();
    b[0] = 0;
    putInt(b, 10, KEY_MAX);  // keyForward past the last key
    putInt(b, 22, -3);       // keyShoot negative
    putInt(b, 51, 12);       // no such colour depth
    putInt(b, 57, -9);
    writeFile(SETTINGS_FILE, b);
    ::mkdir("screenshots", 0755), writeFile(screenshotPath(0), "taken");
    ASSERT_TRUE(g.load());
    EXPECT_TRUE(g.screenMode == 2 && g.keyForward == KEY_W && g.keyShoot == KEY_SPACE && g.keyTurnLeft == KEY_J);
    EXPECT_TRUE(g.colorDepth == 15 || g.colorDepth == 16 || g.colorDepth == 24 || g.colorDepth == 32);
    EXPECT_EQ(g.screenshotCount, 1) << "the player's first picture must not be overwritten";

    g.screenMode = 0;
    g.save();
    EXPECT_TRUE(g.screenMode == 2 && readFile(SETTINGS_FILE)[0] == 2) << "mode 0 is written as window";
}

TEST_F(SettingsFile, UnwritableFileIsReportedAndLeavesNoTemporary) {
    g.setDefaults(32);
    ::mkdir(SETTINGS_FILE, 0755);  // a folder where the file should be: the rename must fail
    testing::internal::CaptureStderr();
    g.save();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Brawnwick: could not write the settings file \"settings\"\n");
    EXPECT_FALSE(fileExists("settings.tmp"));
}
