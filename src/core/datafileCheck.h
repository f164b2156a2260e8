#pragma once
// The library's datafile reader trusts the object sizes it reads: a file cut short or damaged
// makes it call through a null pointer or allocate what a garbled header asks for. These walk
// the bytes first.
#include <cstddef>
#include <string>

struct DATAFILE;

// Loads the datafile at path, packed as a whole or object by object or not at all. Returns null
// when the file is missing or unreadable, or when it unpacks to more than a datafile of ours
// could hold, or its unpacked image is not intact. The library only ever reads the unpacked
// image that was checked, never the file itself.
DATAFILE* loadCheckedDatafile(const std::string& path);

// True when every object (and every nested datafile) of the plain image after the magic number
// lies wholly inside it, every chunk is stored unpacked, and the sizes each font, bitmap, sample
// and music object declares are backed by its bytes.
bool datafileImageIntact(const unsigned char* bytes, size_t size);
