// Billboard sprites, 64 x 64 on magenta. A sprite is drawn as a square centred on the horizon,
// so the bottom row stands on the floor and the top row touches the ceiling.
#pragma once
#include "image.h"

namespace gen {

constexpr int SPR = 64;

// A transparent 64 x 64 canvas.
Image blankSprite();

// Hard-edges the coverage (the game keys on one colour) and adds a dark rim `width` pixels wide.
Image finish(Image img, Col rim, int width = 1);

// Monsters: monsters.cpp. Cold, saturated colours and a heavy dark rim set them off from the
// keep's warm stone, brick and wood.
// Weakest: a cyan slime spider, low and wide, with big amber eyes.
Image monsterSlimeSpider();

// Middle: a cobalt-blue horned brute with fists, tusks and a glowing glare.
Image monsterBrute();

// Toughest: a floating purple eye-demon with horns, spines and tentacles.
Image monsterEyeDemon();

// A wrought-iron lantern hanging from the ceiling, glowing.
Image spriteLamp();

// An oak barrel with iron hoops, standing on the floor.
Image spriteBarrel();

// A stone column from floor to ceiling.
Image spritePillar();

// A fern in a terracotta pot.
Image spritePlant();

// Scenery of the later levels: scenery.cpp. All stand on the floor.
// An iron fire basket on three legs, burning.
Image spriteBrazier();

// A knight in stone on a plinth.
Image spriteStatue();

// A mine cart of ore on its wheels.
Image spriteMinecart();

// An old oak, trunk and crown.
Image spriteTree();

// A smith's anvil on a wooden block.
Image spriteAnvil();

// A standing iron candelabra with five lit candles.
Image spriteCandelabra();

}  // namespace gen
