#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include <sys/stat.h>

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "core/constants.h"
#include "settings/global.h"
#include "test_support.h"

TEST(ElementaryFunctions, PaddingScreenshotNamesAndVersionText) {
    EXPECT_EQ(i2str(123456, 5), "123456");  // never cut
    EXPECT_EQ(i2str(0, 0), "0");
    EXPECT_EQ(i2str(-5, 4), "-005");  // the sign stays in front of the padding
    EXPECT_EQ(i2str(-2147483647 - 1, 3), "-2147483648");
    EXPECT_EQ(screenshotPath(42), "screenshots/screenshot00042.bmp");
    EXPECT_EQ(buildVersionString("Dec  6 2026"), "Brawnwick 0.2 Alpha, built Dec 6 2026");
}

TEST(ElementaryFunctions, FileExistsAndBoundedCopyTakeHostileArguments) {
    TempDir dir;
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(dir.file("missing")));
    writeFile(dir.file("there"), "x");
    EXPECT_TRUE(fileExists(dir.file("there")));
    EXPECT_FALSE(fileExists(dir.path())) << "a folder is no file";

    char buf[8];
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(copyBounded(buf, sizeof buf, "short"), 5u);
    EXPECT_STREQ(buf, "short");
    EXPECT_EQ(copyBounded(buf, sizeof buf, std::string(5000, 'a')), 7u);
    EXPECT_EQ(std::strlen(buf), 7u);
    EXPECT_EQ(copyBounded(buf, 0, "x"), 0u);
}

TEST(ElementaryFunctions, ScreenshotNumbersNeverOverflowNorOverwriteAfterARepair) {
    TempDir dir;
    ScopedChdir here(dir.path());
    ::mkdir("screenshots", 0755);
    writeFile(screenshotPath(0), "taken");
    writeFile(screenshotPath(1), "taken");
    global.screenshotCount = 7;
    EXPECT_EQ(takeScreenshotPath(), screenshotPath(7));
    EXPECT_EQ(global.screenshotCount, 8);
    global.screenshotCount = INT_MAX;
    EXPECT_EQ(takeScreenshotPath(), "screenshots/screenshot2147483647.bmp");
    EXPECT_EQ(global.screenshotCount, 2);
    global.screenshotCount = -4;
    EXPECT_EQ(takeScreenshotPath(), screenshotPath(2));
    EXPECT_EQ(global.screenshotCount, 3);
    global.screenshotCount = 0;
}

TEST(ErrorsDeathTest, FatalReportersEndWithCodeOneAndShowPercentSigns) {
    EXPECT_EXIT(errors::loadBitError("gfx/100%s.tga"), ::testing::ExitedWithCode(1),
                "Error006: Loading bitmap \"gfx/100%s.tga\" failed");
    EXPECT_EXIT(errors::datafileError("data/data.dat"), ::testing::ExitedWithCode(1),
                "Error007: Loading datafile \"data/data.dat\" failed");
    EXPECT_EXIT(errors::timerError(), ::testing::ExitedWithCode(1), "Error001: Timer could not be initialised");
    EXPECT_EXIT(errors::mouseError(), ::testing::ExitedWithCode(1), "Error011: Failed to initialise mouse");
    EXPECT_EXIT(errors::mapLoadError("maps/9.map", "File not found"), ::testing::ExitedWithCode(1),
                "Error010: Could not load map \"maps/9.map\" for the following reason:\nFile not found");
}

TEST(Errors, DivisionWarningReturns) {
    testing::internal::CaptureStderr();
    errors::divBy0Error("renderer");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error009: A division by 0 error was prevented in the following modul:\n\"renderer\"\n");
}
