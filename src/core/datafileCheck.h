#pragma once
// The library's datafile reader trusts the object sizes it reads: a file cut short or damaged
// makes it call through a null pointer. This walks the file's framing first.
#include <cstddef>
#include <string>

// True when every object (and every nested datafile) of the file lies wholly inside it.
bool datafileIntact(const std::string& path);
// The same for a datafile image already read through the library's (un)packing.
bool datafileImageIntact(const unsigned char* bytes, size_t size);
