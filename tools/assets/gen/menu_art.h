// Main-menu background, menu buttons and the crosshair.
#pragma once
#include "image.h"

namespace gen {

Image mainMenuBackground(const Image& title);

Image menuButton(bool selected);

Image inGameButton(bool selected);

// A thin cross with a gap and a centre dot, outlined in black to read on any wall.
Image crosshair();

}  // namespace gen
