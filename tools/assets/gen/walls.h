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

}  // namespace gen
