// Billboard sprites, 64 x 64 on magenta. A sprite is drawn as a square centred on the horizon,
// so the bottom row stands on the floor and the top row touches the ceiling.
#pragma once
#include "image.h"

namespace gen {

// Weakest: a green slime spider, low and wide, with big yellow eyes.
Image monsterSlimeSpider();

// Middle: a red horned brute with fists and a glowing glare.
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

}  // namespace gen
