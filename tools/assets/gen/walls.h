// Wall textures of the keep: masonry, metalwork, woodwork and the odd window.
#pragma once
#include "image.h"

namespace gen {

Image wallStone();

Image wallBrick();

Image wallRedBrick();

Image wallMossy();

Image wallMetal();

Image wallTech();

Image wallWood();

Image wallCrate();

Image wallDoor();

Image wallPanel();

Image wallMarble();

Image wallWindow();

// Underground: walls_mine.cpp.
Image wallCellar();

Image wallRock();

Image wallOreVein();

Image wallShoring();

// The village: walls_town.cpp.
Image wallWhitewash();

Image wallTimber();

// The foundry: walls_works.cpp.
Image wallPipes();

Image wallFurnace();

// The keep's halls: walls_hall.cpp.
Image wallBookshelf();

Image wallTapestry();

}  // namespace gen
