#pragma once
// A menu screen without a display: an 800 x 600 memory back buffer, the library's built-in font
// for every font, the default keys, no pending ticks, the pointer parked in the top-left corner.
#include <allegro.h>
#include <gtest/gtest.h>

#include <functional>

#include "common/test_support.h"
#include "settings/global.h"

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Holds the key down for one step, lets it go and lets the latch see the release.
    void tap(int code, const std::function<void()>& step);
    int pixel(int x, int y) const { return getpixel(global.buffer, x, y); }

    globals saved;
    BITMAP* background = nullptr;
};

// Fills a bitmap with one colour; returned bitmaps belong to the caller.
BITMAP* solidBitmap(int w, int h, int color);
// Pixels of the colour in rows y0 .. y1 - 1 across the whole width.
int countColor(BITMAP* b, int y0, int y1, int color);
