#pragma once
// The menu screens drawn by the game's own menu code into pictures. Needs global's fonts,
// menuBackground and settings in place, and the repository as the working folder.
#include <allegro.h>

#include <string>

namespace preview {

// Writes mainmenu, options, keys, capture, intro and ingame (.bmp) into outDir; the in-game menu
// lies over gameFrame. Returns the number of pictures that could not be made.
int drawMenus(const std::string& outDir, BITMAP* gameFrame);

}  // namespace preview
