#include <gtest/gtest.h>

#include <cstring>

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "core/constants.h"
#include "test_support.h"

TEST(I2str, PadsWithZerosAndNeverCuts) {
    EXPECT_EQ(i2str(7, 5), "00007");
    EXPECT_EQ(i2str(123456, 5), "123456");
    EXPECT_EQ(i2str(12, 0), "12");
    EXPECT_EQ(i2str(0, 0), "0");
    EXPECT_EQ(i2str(-5, 0), "-5");
    EXPECT_EQ(i2str(-5, 4), "-005");  // the sign stays in front of the padding
    EXPECT_EQ(i2str(-2147483647 - 1, 3), "-2147483648");
}

TEST(Paths, ScreenshotsAndSaveSlots) {
    EXPECT_EQ(screenshotPath(0), "screenshots/screenshot00000.bmp");
    EXPECT_EQ(screenshotPath(42), "screenshots/screenshot00042.bmp");
    EXPECT_EQ(screenshotPath(1234567), "screenshots/screenshot1234567.bmp");
    EXPECT_EQ(getSavegamePath(3), "save/slot3.sav");
}

TEST(FileExists, OnlyReadableFilesCount) {
    TempDir dir;
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(dir.file("missing")));
    writeFile(dir.file("there"), "x");
    EXPECT_TRUE(fileExists(dir.file("there")));
}

TEST(CopyBounded, NeverOverflowsTheBuffer) {
    char buf[8];
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(copyBounded(buf, sizeof buf, "short"), 5u);
    EXPECT_STREQ(buf, "short");
    EXPECT_EQ(copyBounded(buf, sizeof buf, std::string(5000, 'a')), 7u);
    EXPECT_EQ(std::strlen(buf), 7u);
    EXPECT_EQ(copyBounded(buf, 0, "x"), 0u);
}

TEST(Version, TextFromCompilerDate) {
    EXPECT_EQ(buildVersionString("Jul 31 2005"), "Brawnwick 0.2 Alpha, built Jul 31 2005");
    EXPECT_EQ(buildVersionString("Dec  6 2026"), "Brawnwick 0.2 Alpha, built Dec 6 2026");
    EXPECT_EQ(VERSIONSTRING.rfind("Brawnwick 0.2 Alpha, built ", 0), 0u);
}

TEST(Errors, MessagesKeepTheirExactText) {
    EXPECT_EQ(errors::loadBitMessage("gfx/x.tga"), "Error006: Loading bitmap \"gfx/x.tga\" failed");
    EXPECT_EQ(errors::datafileMessage("data/data.dat"), "Error007: Loading datafile \"data/data.dat\" failed");
    EXPECT_EQ(errors::sampleLoadMessage("a%sb.wav"), "Error008: Loading sample \"a%sb.wav\" failed");
    EXPECT_EQ(errors::mapLoadMessage("maps/0.map", "File not found"),
              "Error010: Could not load map \"maps/0.map\" for the following reason:\nFile not found");
}

TEST(ErrorsDeathTest, FatalReportersEndWithCodeOneAndShowPercentSigns) {
    EXPECT_EXIT(errors::loadBitError("gfx/100%s.tga"), ::testing::ExitedWithCode(1),
                "Error006: Loading bitmap \"gfx/100%s.tga\" failed");
    EXPECT_EXIT(errors::timerError(), ::testing::ExitedWithCode(1), "Error001: Timer could not be initialised");
    EXPECT_EXIT(errors::mouseError(), ::testing::ExitedWithCode(1), "Error011: Failed to initialise mouse");
    EXPECT_EXIT(errors::mapLoadError("maps/9.map", "File not found"), ::testing::ExitedWithCode(1),
                "Error010: Could not load map \"maps/9.map\" for the following reason:\nFile not found");
}

TEST(Errors, DivisionWarningReturns) {
    testing::internal::CaptureStderr();
    errors::divBy0Error("renderer");
    std::string out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "Error009: A division by 0 error was prevented in the following modul:\n\"renderer\"\n");
}
