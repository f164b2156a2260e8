// The heads-up display, probed pixel by pixel on a memory back buffer.
#include <gtest/gtest.h>

#include <allegro.h>

#include <cmath>
#include <limits>

#include "common/test_support.h"
#include "core/constants.h"
#include "game/hud.h"
#include "game/ticks.h"

namespace {
const int W = 320;
const int H = 240;

class Hud : public ::testing::Test {
protected:
    void SetUp() override {
        dest = create_bitmap(W, H);
        view = makecol(0, 128, 0);
        clear_to_color(dest, view);
        magenta = makecol(255, 0, 255);
        for (int i = 0; i < WEAPON_FRAMES; ++i) {
            frames[i] = create_bitmap(40, 40);
            clear_to_color(frames[i], makecol(10 * i + 10, 0, 200));
            putpixel(frames[i], 20, 10, magenta);
        }
        crosshair = create_bitmap(9, 9);
        clear_to_color(crosshair, makecol(0, 0, 255));
        putpixel(crosshair, 0, 0, magenta);
        for (int w = 0; w < WEAPON_COUNT; ++w) art.weapons[w] = frames;
        art.crosshair = crosshair;
        art.textFont = font;
        art.menuFont = font;
        s.healthUnit = (W - 20) / 5;
    }
    void TearDown() override {
        destroy_bitmap(dest);
        destroy_bitmap(crosshair);
        for (BITMAP* f : frames) destroy_bitmap(f);
    }
    int at(int x, int y) { return getpixel(dest, x, y); }
    // A text box: only black and white inside, some black.
    void expectTextBox(int x0, int y0, int x1, int y1) {
        int blacks = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                int c = at(x, y);
                ASSERT_TRUE(c == 0 || c == makecol(255, 255, 255)) << x << "," << y;
                blacks += c == 0;
            }
        EXPECT_GT(blacks, 0);
    }
    void draw(float frameSeconds = 0.02f) { drawHud(dest, s, art, frameSeconds); }

    BITMAP* dest = nullptr;
    BITMAP* frames[WEAPON_FRAMES] = {};
    BITMAP* crosshair = nullptr;
    int view = 0;
    int magenta = 0;
    HudArt art;
    LevelState s;
};
}  // namespace

TEST_F(Hud, HealthBarIsRedFromTenToHealthUnitsAndShrinksPerHit) {
    const int red = makecol(255, 0, 0);
    draw();
    EXPECT_EQ(at(10, 10), red);
    EXPECT_EQ(at(310, 20), red);
    EXPECT_NE(at(311, 15), red);
    EXPECT_NE(at(9, 15), red);
    EXPECT_NE(at(100, 21), red);
    EXPECT_NE(at(100, 9), red);
    clear_to_color(dest, view);
    s.health = 3;
    draw();
    EXPECT_EQ(at(190, 15), red);
    EXPECT_EQ(at(191, 15), view);
}

TEST_F(Hud, CountersSitInTheFourCorners) {
    s.impactBullets = 12;
    s.buzzsawBullets = 345;
    s.lives = 3;
    s.points = 77;
    s.weapon = WEAPON_BUZZSAW;
    art.weapons[WEAPON_BUZZSAW] = nullptr;  // on a screen this small the weapon covers the lines
    draw();
    const int th = text_height(font);
    const int row1 = H - th - 30, row2 = H - th - 10;
    int impactLen = text_length(font, "Impact Cannon: 12 bullets");
    int buzzLen = text_length(font, "Buzzsaw: 345 bullets");
    int livesLen = text_length(font, "3 lifes");
    int pointsLen = text_length(font, "77 points");
    expectTextBox(10, row1, 10 + impactLen - 1, row1 + th - 1);
    expectTextBox(10, row2, 10 + buzzLen - 1, row2 + th - 1);
    expectTextBox(W - 10 - livesLen, row1, W - 11, row1 + th - 1);
    expectTextBox(W - 10 - pointsLen, row2, W - 11, row2 + th - 1);
    EXPECT_EQ(at(9, row1), view);
    EXPECT_EQ(at(W - 10, row1), view);
    EXPECT_EQ(at(W - 10, row2), view);
    EXPECT_EQ(at(10, row1 - 1), view);
}

TEST_F(Hud, WeaponFrameStandsCentredOnTheBottomEdgeWithMaskedPixels) {
    s.weapon = WEAPON_IMPACT_CANNON;
    s.weaponFrame = 4;
    draw();
    const int x0 = (W - 40) / 2, y0 = H - 40;
    EXPECT_EQ(at(x0, H - 1), makecol(50, 0, 200));
    EXPECT_EQ(at(x0 + 39, y0), makecol(50, 0, 200));
    EXPECT_EQ(at(x0 - 1, H - 1), view);
    EXPECT_EQ(at(x0 + 40, H - 1), view);
    EXPECT_EQ(at(x0 + 5, y0 - 1), view);
    EXPECT_EQ(at(x0 + 20, y0 + 10), view) << "magenta is see-through";
}

TEST_F(Hud, CrosshairIsCentredAndMasked) {
    draw();
    const int x0 = (W - 9) / 2, y0 = (H - 9) / 2;
    EXPECT_EQ(at(x0, y0), view);
    EXPECT_EQ(at(x0 + 1, y0), makecol(0, 0, 255));
    EXPECT_EQ(at(x0 + 8, y0 + 8), makecol(0, 0, 255));
    EXPECT_EQ(at(x0 + 9, y0 + 8), view);
}

TEST_F(Hud, MessageShowsWhileItsTimerRunsAndIsNeverAFormat) {
    s.message = "Extra ammo";
    s.messageTimer = 0;
    draw();
    const int y = static_cast<int>(H * 0.8);
    const int len = text_length(font, "Extra ammo");
    for (int x = 0; x < W; ++x) ASSERT_NE(at(x, y + 2), 0) << "no message at timer 0, x " << x;
    s.messageTimer = 1;
    draw();
    expectTextBox(W / 2 - len / 2, y, W / 2 - len / 2 + len - 1, y + text_height(font) - 1);

    // Percent signs are shown as they stand.
    const char* tricky = "100%s %n %d";
    s.message = tricky;
    clear_to_color(dest, view);
    draw();
    BITMAP* expected = create_bitmap(W, text_height(font));
    clear_to_color(expected, view);
    textout_centre_ex(expected, font, tricky, W / 2, 0, 0, makecol(255, 255, 255));
    for (int x = 0; x < W; ++x) ASSERT_EQ(at(x, y + 3), getpixel(expected, x, 3)) << x;
    destroy_bitmap(expected);
}

TEST_F(Hud, FrameRateLineOnlyWhenToggledAndSaneForAnyFrameTime) {
    draw(0.02f);
    EXPECT_EQ(at(0, 0), view);
    s.showFps = true;
    draw(0.02f);
    expectTextBox(0, 0, text_length(font, "50 FPS") - 1, text_height(font) - 1);
    EXPECT_EQ(fpsText(0.02f), "50 FPS");
    EXPECT_EQ(fpsText(1.0f), "1 FPS");
    EXPECT_EQ(fpsText(0.03f), "33 FPS");
    EXPECT_EQ(fpsText(0.0f), "99999 FPS");
    EXPECT_EQ(fpsText(1e-30f), "99999 FPS");
    EXPECT_EQ(fpsText(-1.0f), "99999 FPS");
    EXPECT_EQ(fpsText(std::numeric_limits<float>::quiet_NaN()), "99999 FPS");
    draw(0.0f);  // must not convert an infinity
}

TEST_F(Hud, MissingArtIsLeftOut) {
    HudArt none;
    drawHud(dest, s, none, 0.02f);
    EXPECT_EQ(at(W / 2, H - 1), view);
    s.weapon = 7;
    s.weaponFrame = 9;
    draw();
    EXPECT_EQ(at(W / 2, H - 1), view);
}

TEST(MessageTimer, RunsDownOnTicksNotFrames) {
    LevelState s;
    s.message = "Extra life";
    s.messageTimer = 32;
    ShotTarget none;
    timerCounter = 5;
    processTicks(s, KEY_SPACE, none);
    EXPECT_EQ(timerCounter.load(), 0);
    EXPECT_EQ(s.messageTimer, 27);
    processTicks(s, KEY_SPACE, none);  // a frame without ticks changes nothing
    EXPECT_EQ(s.messageTimer, 27);
    timerCounter = 40;
    processTicks(s, KEY_SPACE, none);
    EXPECT_EQ(s.messageTimer, 0);
    EXPECT_EQ(timerCounter.load(), 0);
}
