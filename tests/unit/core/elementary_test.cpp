#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <sys/stat.h>

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "core/constants.h"
#include "screen/show.h"
#include "settings/global.h"
#include "test_support.h"

TEST(ElementaryFunctions, PaddingNamesVersionAndHostileArguments) {
    EXPECT_EQ(i2str(123456, 5), "123456");  // never cut
    EXPECT_EQ(i2str(-5, 4), "-005");        // the sign stays in front of the padding
    EXPECT_EQ(i2str(INT_MIN, 3), "-2147483648");
    EXPECT_EQ(screenshotPath(42), "screenshots/screenshot00042.bmp");
    EXPECT_EQ(buildVersionString("Dec  6 2026"), "Brawnwick 0.2 Alpha, built Dec 6 2026");

    TempDir dir;
    writeFile(dir.file("there"), "x");
    EXPECT_TRUE(fileExists(dir.file("there")));
    for (const std::string& no : {std::string(), dir.file("missing"), dir.path()}) EXPECT_FALSE(fileExists(no)) << no;
    char buf[8];
    EXPECT_TRUE(copyBounded(buf, sizeof buf, "short") == 5u && std::string(buf) == "short");
    EXPECT_TRUE(copyBounded(buf, sizeof buf, std::string(5000, 'a')) == 7u && std::strlen(buf) == 7u);
    EXPECT_EQ(copyBounded(buf, 0, "x"), 0u);
}

TEST(ElementaryFunctions, ScreenshotNumbersNeverOverflowNorOverwriteAfterARepair) {
    TempDir dir;
    ScopedChdir here(dir.path());
    ::mkdir("screenshots", 0755);
    for (int taken : {0, 1}) writeFile(screenshotPath(taken), "taken");
    const int rows[][3] = {{7, 7, 8}, {INT_MAX, INT_MAX, 2}, {-4, 2, 3}};  // count, picture taken, next count
    for (const auto& r : rows) {
        global.screenshotCount = r[0];
        EXPECT_EQ(takeScreenshotPath(), "screenshots/screenshot" + i2str(r[1], 5) + ".bmp") << r[0];
        EXPECT_EQ(global.screenshotCount, r[2]) << r[0];
    }
    global.screenshotCount = 0;
}

TEST(ErrorsDeathTest, FatalReportersEndWithCodeOneAndShowPercentSigns) {
    EXPECT_EXIT(errors::loadBitError("gfx/100%s.tga"), ::testing::ExitedWithCode(1),
                "Error006: Loading bitmap \"gfx/100%s.tga\" failed");
    EXPECT_EXIT(errors::timerError(), ::testing::ExitedWithCode(1), "Error001: Timer could not be initialised");
    EXPECT_EXIT(errors::mouseError(), ::testing::ExitedWithCode(1), "Error011: Failed to initialise mouse");
    testing::internal::CaptureStderr();
    errors::divBy0Error("renderer");  // a warning: the game goes on
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error009: A division by 0 error was prevented in the following modul:\n\"renderer\"\n");
}
