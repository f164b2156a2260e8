#pragma once
// The library's datafile reader trusts the object sizes it reads: a file cut short or damaged
// makes it call through a null pointer or allocate what a garbled header asks for. This walks
// the file first.
#include <cstddef>
#include <string>

// True when every object (and every nested datafile) of the file lies wholly inside it, and the
// sizes each font, bitmap, sample and music object declares are backed by its bytes.
bool datafileIntact(const std::string& path);
// The same for the image after the magic number of a plain (not packed) datafile.
bool datafileImageIntact(const unsigned char* bytes, size_t size);
