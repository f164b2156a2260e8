#pragma once
// Menu screens without a display: scripted platform, 800 x 600 navy picture, the 8-pixel font, default keys.
#include <allegro.h>
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "input/keyStates.h"
#include "settings/global.h"

using Keys = std::vector<std::vector<int>>;  // one step each, with these keys down

struct MenuTest : ::testing::Test {
    void SetUp() override {
        global.setDefaults(32), global.firstStart = false, keyStates.resetAll();
        clear_bitmap(global.buffer = create_bitmap(800, 600));
        clear_to_color(global.menuBackground = create_bitmap(800, 600), makecol(0, 0, 128));
        global.menuFont = global.textFont = global.warningFont = font;
    }
    void TearDown() override { destroy_bitmap(global.buffer), destroy_bitmap(global.menuBackground); }
    // A step per entry (at least one) with its keys down; all go up after each, so presses are fresh.
    template <class F> void steps(const Keys& keys, F&& step, int x = 0, int y = 0, int click = 0, int wheel = 0) {
        for (const auto& down : keys.empty() ? Keys(1) : keys) {
            platform::Input now;
            now.mouseX = x, now.mouseY = y, now.click = click, now.wheel = wheel;
            for (int k : down) now.held[k] = true;
            platform::use(now), step(now);
            platform::use(platform::Input()), keyStates.anyKey();
        }
    }
    FakePlatform fake;
};

// The text's glyphs in that colour (align -1: ending at x, 0: centred, 1: from x), nothing else of it around.
inline bool textAt(const std::string& text, int x, int y, int color, int align = 0, BITMAP* b = nullptr) {
    const int len = text_length(font, text.c_str()), x0 = (align < 0 ? x - len : align ? x : x - len / 2) - 3;
    BITMAP* want = create_bitmap(len + 6, 8);
    clear_to_color(want, color ^ 1), textout_ex(want, font, text.c_str(), 3, 0, color, -1);
    int wrong = 0;
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < want->w; ++i)
            wrong += (getpixel(want, i, j) == color) != (getpixel(b ? b : global.buffer, x0 + i, y + j) == color);
    destroy_bitmap(want);
    return wrong == 0;
}
