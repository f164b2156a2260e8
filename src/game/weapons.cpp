#include "game/weapons.h"

#include "game/scoring.h"
#include "settings/global.h"

BITMAP* weapon1[WEAPON_FRAMES] = {};
BITMAP* weapon2[WEAPON_FRAMES] = {};
BITMAP* weapon3[WEAPON_FRAMES] = {};
SAMPLE* sounds[WEAPON_COUNT] = {};

BITMAP* const* weaponFrames(int weapon) {
    switch (weapon) {
        case WEAPON_HUNTER: return weapon1;
        case WEAPON_IMPACT_CANNON: return weapon2;
        case WEAPON_BUZZSAW: return weapon3;
        default: return nullptr;
    }
}

namespace {
RLE_SPRITE* frameSprites[WEAPON_COUNT][WEAPON_FRAMES] = {};
}

void makeWeaponSprites() {
    releaseWeaponSprites();
    for (int w = 0; w < WEAPON_COUNT; ++w)
        for (int i = 0; i < WEAPON_FRAMES; ++i)
            if (BITMAP* frame = weaponFrames(w)[i]) frameSprites[w][i] = get_rle_sprite(frame);
}

void releaseWeaponSprites() {
    for (auto& table : frameSprites)
        for (RLE_SPRITE*& sprite : table) {
            if (sprite) destroy_rle_sprite(sprite);
            sprite = nullptr;
        }
}

RLE_SPRITE* const* weaponSprites(int weapon) {
    return weapon >= 0 && weapon < WEAPON_COUNT ? frameSprites[weapon] : nullptr;
}

int startingWeapon(int impactBullets, int buzzsawBullets) {
    int weapon = WEAPON_HUNTER;
    if (impactBullets != 0) weapon = WEAPON_IMPACT_CANNON;
    if (buzzsawBullets != 0) weapon = WEAPON_BUZZSAW;
    return weapon;
}

void chooseWeapon(LevelState& s, const Controls& c) {
    if (c.weapon1) s.weapon = WEAPON_HUNTER;
    if (c.weapon2 && s.impactBullets != 0) s.weapon = WEAPON_IMPACT_CANNON;
    if (c.weapon3 && s.buzzsawBullets != 0) s.weapon = WEAPON_BUZZSAW;
}

void startFire(LevelState& s, bool shootHeld) {
    if (shootHeld && s.fireCounter == 0) s.fireCounter = 12;
}

void weaponTick(LevelState& s, bool shootHeld, const ShotTarget& target) {
    if (s.fireCounter == 0) return;
    --s.fireCounter;
    if (s.fireCounter % 2 == 0) {
        s.weaponFrame = (6 - s.fireCounter / 2) % 6;
        if (s.fireCounter == 6) fireShot(s, target);
    }
    // Held fire keeps the automatic weapons cycling without returning to rest.
    if (s.fireCounter == 5 && s.weapon == WEAPON_BUZZSAW && shootHeld) s.fireCounter = 10;
    if (s.fireCounter == 3 && s.weapon == WEAPON_IMPACT_CANNON && shootHeld) s.fireCounter = 11;
}

void fireShot(LevelState& s, const ShotTarget& target) {
    int fired = s.weapon;
    if (target.playShot) target.playShot(fired);

    int hit = target.crosshair;
    if (target.sprites && hit >= 0 && hit < target.spriteCount) {
        Kelda_sprite& sprite = target.sprites[hit];
        // Scenery and removed sprites sink further below 0 and pay nothing.
        --sprite.health;
        if (sprite.health == 0) {
            sprite.x = 0.0f;
            sprite.y = 0.0f;
            payKill(s, sprite.textureIndex);
        }
    }

    if (fired == WEAPON_IMPACT_CANNON) {
        if (s.impactBullets > 0) --s.impactBullets;
        if (s.impactBullets <= 0) s.weapon = s.buzzsawBullets != 0 ? WEAPON_BUZZSAW : WEAPON_HUNTER;
    } else if (fired == WEAPON_BUZZSAW) {
        if (s.buzzsawBullets > 0) --s.buzzsawBullets;
        if (s.buzzsawBullets <= 0) s.weapon = s.impactBullets != 0 ? WEAPON_IMPACT_CANNON : WEAPON_HUNTER;
    }
}

void playShotSound(int weapon) {
    if (weapon < 0 || weapon >= WEAPON_COUNT || !sounds[weapon]) return;
    platform::playSample(sounds[weapon], global.sfxVolume, 127, 1000, false);
}
