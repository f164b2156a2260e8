#pragma once
// The heads-up display drawn over the view.
#include <allegro.h>

#include <string>

#include "game/levelState.h"

struct HudArt {
    BITMAP* const* weapons[WEAPON_COUNT] = {nullptr, nullptr, nullptr};
    BITMAP* crosshair = nullptr;
    FONT* textFont = nullptr;
    FONT* menuFont = nullptr;
    // Where present, the weapon frames as run-length sprites: the same picture, drawn faster.
    RLE_SPRITE* const* weaponSprites[WEAPON_COUNT] = {nullptr, nullptr, nullptr};
};

// The art of the running campaign: the weapon tables and their sprites, global.crosshair and the fonts.
HudArt campaignHudArt();
// The frame-rate line for a frame time in seconds; sane for 0 and tiny frame times.
std::string fpsText(float frameSeconds);
void drawHud(BITMAP* dest, const LevelState& s, const HudArt& art, float frameSeconds);
