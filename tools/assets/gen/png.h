// PNG output for pictures that need real transparency (desktop icons); the game's own pictures
// stay BMP and TGA, which Allegro 4 reads.
#pragma once
#include <string>

#include "image.h"

namespace gen {

// Writes an 8-bit RGBA PNG with the coverage as alpha. False when the file cannot be written.
bool savePng(const Image& img, const std::string& path);

}  // namespace gen
