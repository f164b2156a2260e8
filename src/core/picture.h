#pragma once
// Every picture the game and the tools read comes through here: BMP with any header version,
// PNG (an alpha channel becomes the game's magenta where it is mostly transparent), and TGA and
// the library's other formats by file name.
#include <allegro.h>

#include <string>

// The picture in the current colour depth, owned by the caller; null when it cannot be read, and
// then why in `trouble`, for a level maker to act on ("file not found", "a truncated BMP ...").
BITMAP* readPicture(const std::string& path, std::string* trouble = nullptr);
// The same for a BMP or PNG file already in memory (the format is told by its first bytes).
BITMAP* readPictureBytes(const unsigned char* bytes, size_t size, std::string* trouble = nullptr);
