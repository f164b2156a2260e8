// The heads-up display drawn on a memory back buffer, compared with the picture it must make.
#include <gtest/gtest.h>

#include <cmath>

#include "game/hud.h"

TEST(Hud, EverythingInItsPlace) {
    const int W = 320, H = 240, view = makecol(0, 128, 0), white = makecol(255, 255, 255), th = text_height(font);
    BITMAP *dest = create_bitmap(W, H), *want = create_bitmap(W, H), *cross = create_bitmap(9, 9), *frames[6];
    for (int i = 0; i < WEAPON_FRAMES; ++i) clear_to_color(frames[i] = create_bitmap(40, 40), makecol(10 * i, 0, 200));
    clear_to_color(cross, makecol(0, 0, 255)), putpixel(frames[4], 20, 10, makecol(255, 0, 255));
    LevelState s;
    s.impactBullets = 12, s.buzzsawBullets = 345, s.lives = 3, s.points = 77, s.healthUnit = (W - 20) / 5;
    s.message = "100%s %n %d";  // never a format
    // Health, message timer, frame rate shown, frame time, weapon, frame; without art, or out of the tables: none.
    const float cases[][6] = {{5, 0, 0, 0.1f, 1, 4}, {3, 1, 1, 0.1f, 7, 9}, {0, 1, 1, 0, 0, 0},
                              {-1, 0, 1, 1e-30f, 2, 5}};
    for (const auto& c : cases) {
        s.health = static_cast<int>(c[0]), s.messageTimer = static_cast<int>(c[1]), s.showFps = c[2] > 0;
        s.weapon = static_cast<int>(c[4]), s.weaponFrame = static_cast<int>(c[5]);
        clear_to_color(dest, view), clear_to_color(want, view);
        drawHud(dest, s, HudArt{{nullptr, frames, frames}, cross, font, font}, c[3]);
        drawHud(dest, s, HudArt(), c[3]);  // without any art only the bar
        if (s.showFps) textout_ex(want, font, c[3] > 0.05f ? "9 FPS" : "99999 FPS", 0, 0, 0, white);  // 1.0 / 0.1f < 10
        textout_ex(want, font, "Impact Cannon: 12 bullets", 10, H - th - 30, 0, white);
        textout_ex(want, font, "Buzzsaw: 345 bullets", 10, H - th - 10, 0, white);
        textout_right_ex(want, font, "3 lifes", W - 10, H - th - 30, 0, white);
        textout_right_ex(want, font, "77 points", W - 10, H - th - 10, 0, white);
        if (s.weapon > 0 && s.weapon < 3) rectfill(want, 140, 200, 179, 239, makecol(10 * s.weaponFrame, 0, 200));
        if (s.weaponFrame == 4) putpixel(want, 160, 210, view);  // centred on the bottom edge; magenta is see-through
        rectfill(want, (W - 9) / 2, (H - 9) / 2, (W - 9) / 2 + 8, (H - 9) / 2 + 8, makecol(0, 0, 255));  // centred
        if (s.health > 0) rectfill(want, 10, 10, 10 + 60 * s.health, 20, makecol(255, 0, 0));
        if (s.messageTimer > 0) textout_centre_ex(want, font, s.message.c_str(), W / 2, H * 8 / 10, 0, white);
        int differences = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) differences += getpixel(dest, x, y) != getpixel(want, x, y);
        EXPECT_EQ(differences, 0) << "health " << c[0];
    }
    EXPECT_EQ(fpsText(1.0f) + fpsText(0.03f) + fpsText(-1.0f) + fpsText(NAN), "1 FPS33 FPS99999 FPS99999 FPS");
    for (BITMAP* b : {dest, want, cross, frames[0], frames[1], frames[2], frames[3], frames[4], frames[5]})
        destroy_bitmap(b);
}

// The weapon frames as run-length sprites draw the very picture of their bitmaps: see-through
// pixels, odd sizes and frames larger than the screen, in every colour depth.
TEST(Hud, WeaponSpritesDrawAsTheirFrames) {
    const int original = get_color_depth();
    for (int depth : {15, 16, 24, 32}) {
        set_color_depth(depth);
        for (const auto& side : {std::pair<int, int>{41, 40}, {401, 301}}) {
            BITMAP* frames[WEAPON_FRAMES];
            RLE_SPRITE* sprites[WEAPON_FRAMES];
            for (int i = 0; i < WEAPON_FRAMES; ++i) {
                frames[i] = create_bitmap(side.first, side.second);
                for (int y = 0; y < side.second; ++y)
                    for (int x = 0; x < side.first; ++x)
                        putpixel(frames[i], x, y, (x * 7 + y * 3) % 5 == 0 ? bitmap_mask_color(frames[i]) : makecol(x, y, 40 * i));
                sprites[i] = get_rle_sprite(frames[i]);
            }
            BITMAP *viaFrames = create_bitmap(320, 240), *viaSprites = create_bitmap(320, 240);
            const int view = makecol(0, 128, 0);
            clear_to_color(viaFrames, view), clear_to_color(viaSprites, view);
            LevelState s;
            s.weapon = 1, s.weaponFrame = 3;
            HudArt plain;
            plain.weapons[1] = frames;
            HudArt quick = plain;
            quick.weaponSprites[1] = sprites;
            drawHud(viaFrames, s, plain, 0.1f);
            drawHud(viaSprites, s, quick, 0.1f);
            int differences = 0, drawn = 0;
            for (int y = 0; y < 240; ++y)
                for (int x = 0; x < 320; ++x) {
                    differences += getpixel(viaFrames, x, y) != getpixel(viaSprites, x, y);
                    drawn += getpixel(viaFrames, x, y) != view;
                }
            EXPECT_EQ(differences, 0) << depth << " bits, " << side.first << "x" << side.second;
            EXPECT_GT(drawn, side.first * 2) << depth << " bits, " << side.first << "x" << side.second;
            destroy_bitmap(viaFrames), destroy_bitmap(viaSprites);
            for (int i = 0; i < WEAPON_FRAMES; ++i) destroy_rle_sprite(sprites[i]), destroy_bitmap(frames[i]);
        }
    }
    set_color_depth(original);
}
