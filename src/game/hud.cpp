#include "game/hud.h"

#include "game/weapons.h"
#include "settings/global.h"

HudArt campaignHudArt() {
    HudArt art;
    for (int w = 0; w < WEAPON_COUNT; ++w) {
        art.weapons[w] = weaponFrames(w);
        art.weaponSprites[w] = weaponSprites(w);
    }
    art.crosshair = global.crosshair;
    art.textFont = global.textFont;
    art.menuFont = global.menuFont;
    return art;
}

std::string fpsText(float frameSeconds) {
    // A frame too short to measure would be an infinite rate: show the ceiling instead.
    const int maxRate = 99999;
    int rate = maxRate;
    if (frameSeconds > 1.0f / maxRate) rate = static_cast<int>(1.0 / static_cast<double>(frameSeconds));
    return std::to_string(rate) + " FPS";
}

namespace {
// A weapon frame centred on the bottom edge: its run-length sprite where there is one (the same
// picture, drawn faster), else the bitmap with its see-through colour left out.
void drawCentreBottom(BITMAP* dest, BITMAP* bmp, RLE_SPRITE* sprite) {
    if (!bmp) return;
    const int x = (dest->w - bmp->w) / 2, y = dest->h - bmp->h;
    if (sprite)
        draw_rle_sprite(dest, sprite, x, y);
    else
        masked_blit(bmp, dest, 0, 0, x, y, bmp->w, bmp->h);
}
}  // namespace

void drawHud(BITMAP* dest, const LevelState& s, const HudArt& art, float frameSeconds) {
    const int W = dest->w;
    const int H = dest->h;
    const int black = 0;
    const int white = makecol(255, 255, 255);

    if (art.textFont) {
        FONT* f = art.textFont;
        const int th = text_height(f);
        if (s.showFps) textprintf_ex(dest, f, 0, 0, black, white, "%s", fpsText(frameSeconds).c_str());
        textprintf_ex(dest, f, 10, H - th - 30, black, white, "Impact Cannon: %i bullets", s.impactBullets);
        textprintf_ex(dest, f, 10, H - th - 10, black, white, "Buzzsaw: %i bullets", s.buzzsawBullets);
        textprintf_right_ex(dest, f, W - 10, H - th - 30, black, white, "%i lifes", s.lives);
        textprintf_right_ex(dest, f, W - 10, H - th - 10, black, white, "%i points", s.points);
    }

    if (s.weapon >= 0 && s.weapon < WEAPON_COUNT && s.weaponFrame >= 0 && s.weaponFrame < WEAPON_FRAMES &&
        art.weapons[s.weapon])
        drawCentreBottom(dest, art.weapons[s.weapon][s.weaponFrame],
                         art.weaponSprites[s.weapon] ? art.weaponSprites[s.weapon][s.weaponFrame] : nullptr);

    if (art.crosshair) {
        BITMAP* c = art.crosshair;
        masked_blit(c, dest, 0, 0, (W - c->w) / 2, (H - c->h) / 2, c->w, c->h);
    }

    if (s.health > 0) rectfill(dest, 10, 10, 10 + s.health * s.healthUnit, 20, makecol(255, 0, 0));

    if (s.messageTimer > 0 && art.menuFont)
        textprintf_centre_ex(dest, art.menuFont, W / 2, static_cast<int>(H * 0.8), black, white, "%s",
                             s.message.c_str());
}
