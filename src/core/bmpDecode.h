#pragma once
// BMP files as editors write them (any header version, top-down rows, bit fields, alpha), turned
// into the one plain form the library reads: a 40-byte header and 24-bit rows from the bottom up.
#include <cstddef>
#include <string>
#include <vector>

// Sides beyond these are refused before anything is allocated.
const long long MAX_PICTURE_SIDE = 16384;
const long long MAX_PICTURE_PIXELS = 1LL << 24;

// The plain 24-bit BMP of the file in `plain`, or why the bytes are not a BMP the game reads
// ("" on success). Pixels that an alpha channel makes mostly transparent become magenta.
std::string decodeBmp(const unsigned char* data, size_t size, std::vector<unsigned char>& plain);
