// The heads-up display, probed pixel by pixel on a memory back buffer.
#include <gtest/gtest.h>

#include <allegro.h>

#include <limits>

#include "core/constants.h"
#include "game/hud.h"

namespace {
const int W = 320;
const int H = 240;

class Hud : public ::testing::Test {
protected:
    void SetUp() override {
        dest = create_bitmap(W, H);
        view = makecol(0, 128, 0);
        clear_to_color(dest, view);
        const int magenta = makecol(255, 0, 255);
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
    // The text black on white with its top left corner at (x, y), and the view left and right of it.
    void expectText(const char* text, int x, int y) {
        const int len = text_length(font, text), th = text_height(font);
        BITMAP* want = create_bitmap(len + 2, th);
        clear_to_color(want, view);
        textout_ex(want, font, text, 1, 0, 0, makecol(255, 255, 255));
        int wrong = 0;
        for (int j = 0; j < th; ++j)
            for (int i = 0; i < len + 2; ++i)
                if (x - 1 + i >= 0 && x - 1 + i < W) wrong += at(x - 1 + i, y + j) != getpixel(want, i, j);
        destroy_bitmap(want);
        EXPECT_EQ(wrong, 0) << text;
    }
    void draw(float frameSeconds = 0.02f) { drawHud(dest, s, art, frameSeconds); }

    BITMAP* dest = nullptr;
    BITMAP* frames[WEAPON_FRAMES] = {};
    BITMAP* crosshair = nullptr;
    int view = 0;
    HudArt art;
    LevelState s;
};
}  // namespace

TEST_F(Hud, HealthBarRunsRightFromTenOneUnitPerPointAndNeverBackwards) {
    const int red = makecol(255, 0, 0);
    const struct {
        int health, lastRed;
    } cases[] = {{MAX_HEALTH, 310}, {3, 190}, {0, -1}, {-1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "health " << c.health);
        s.health = c.health;
        clear_to_color(dest, view);
        draw();
        for (int x = 0; x < W; ++x) ASSERT_EQ(at(x, 15) == red, x >= 10 && x <= c.lastRed) << x;
        for (int y = 0; y < H; ++y) ASSERT_EQ(at(100, y) == red, c.lastRed >= 100 && y >= 10 && y <= 20) << y;
    }
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
    expectText("Impact Cannon: 12 bullets", 10, H - th - 30);
    expectText("Buzzsaw: 345 bullets", 10, H - th - 10);
    expectText("3 lifes", W - 10 - text_length(font, "3 lifes"), H - th - 30);
    expectText("77 points", W - 10 - text_length(font, "77 points"), H - th - 10);
}

TEST_F(Hud, WeaponFrameAndCrosshairAreCentredAndMasked) {
    s.weapon = WEAPON_IMPACT_CANNON;
    s.weaponFrame = 4;
    draw();
    const int x0 = (W - 40) / 2, y0 = H - 40;  // the weapon stands on the bottom edge
    EXPECT_EQ(at(x0, H - 1), makecol(50, 0, 200));
    EXPECT_EQ(at(x0 + 39, y0), makecol(50, 0, 200));
    EXPECT_EQ(at(x0 - 1, H - 1), view);
    EXPECT_EQ(at(x0 + 5, y0 - 1), view);
    EXPECT_EQ(at(x0 + 20, y0 + 10), view) << "magenta is see-through";
    const int cx = (W - 9) / 2, cy = (H - 9) / 2;
    EXPECT_EQ(at(cx, cy), view);
    EXPECT_EQ(at(cx + 1, cy), makecol(0, 0, 255));
    EXPECT_EQ(at(cx + 9, cy + 8), view);
}

TEST_F(Hud, MessageShowsWhileItsTimerRunsAndIsNeverAFormat) {
    const int y = static_cast<int>(H * 0.8);
    s.message = "Extra ammo";
    draw();
    for (int x = 0; x < W; ++x) ASSERT_NE(at(x, y + 2), 0) << "no message at timer 0, x " << x;
    s.messageTimer = 1;
    for (const char* text : {"Extra ammo", "100%s %n %d"}) {
        s.message = text;
        clear_to_color(dest, view);
        draw();
        expectText(text, W / 2 - text_length(font, text) / 2, y);
    }
}

TEST_F(Hud, FrameRateLineOnlyWhenToggledAndSaneForAnyFrameTime) {
    draw(0.02f);
    EXPECT_EQ(at(0, 0), view);
    s.showFps = true;
    draw(0.02f);
    expectText("50 FPS", 0, 0);
    EXPECT_EQ(fpsText(1.0f), "1 FPS");
    EXPECT_EQ(fpsText(0.03f), "33 FPS");
    EXPECT_EQ(fpsText(0.1f), "9 FPS") << "1.0 / 0.1f in double is just under 10";
    for (float t : {0.0f, 1e-30f, -1.0f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(fpsText(t), "99999 FPS") << t;
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
