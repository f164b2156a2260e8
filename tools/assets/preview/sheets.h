#pragma once
// Contact sheets of the art for a quick look: textures.bmp, sprites.bmp and weapons.bmp.
#include <string>

namespace preview {

// Writes the three sheets into outDir; returns how many could not be written. Needs
// global.textFont and the repository as the working folder.
int drawSheets(const std::string& outDir);

}  // namespace preview
