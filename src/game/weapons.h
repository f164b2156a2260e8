#pragma once
// Weapon choice, the tick-driven fire cycle and the shot.
#include <allegro.h>

#include "engine/engine.h"
#include "game/levelState.h"
#include "input/controls.h"

// The animation frames and shot sounds of the three weapons, loaded for one campaign.
extern BITMAP* weapon1[WEAPON_FRAMES];
extern BITMAP* weapon2[WEAPON_FRAMES];
extern BITMAP* weapon3[WEAPON_FRAMES];
extern SAMPLE* sounds[WEAPON_COUNT];

// The frame table of a weapon index (0..2); null for anything else.
BITMAP* const* weaponFrames(int weapon);
// The same frames as run-length sprites, which skip their see-through parts at no cost: a frame
// is a large picture, mostly see-through, drawn over every frame of the view. Made from the loaded
// frames and released before them; the table of a weapon index, or null.
void makeWeaponSprites();
void releaseWeaponSprites();
RLE_SPRITE* const* weaponSprites(int weapon);

// What a shot needs from the world: the sprites and the one under the crosshair.
struct ShotTarget {
    Kelda_sprite* sprites = nullptr;
    int spriteCount = 0;
    int crosshair = -1;             // sprite index or -1
    void (*playShot)(int weapon) = nullptr;  // the weapon that fired
};

// Keys 1, 2, 3, read as held keys; a weapon without bullets is not selectable.
void chooseWeapon(LevelState& s, const Controls& c);
// Starts a fire cycle when the shoot key is held and no cycle is under way.
void startFire(LevelState& s, bool shootHeld);
// One timer tick of the fire cycle; fires the shot at counter 6.
void weaponTick(LevelState& s, bool shootHeld, const ShotTarget& target);
// The shot of the current weapon: damage, kill, points, bullet, automatic switch.
void fireShot(LevelState& s, const ShotTarget& target);
// Plays the weapon's sound at the player's effect volume.
void playShotSound(int weapon);
