#pragma once
// Reading a datafile's big-endian fields from bytes in memory, never past their end; shared by
// the check and the unpacking load.
#include <cstddef>
#include <cstdint>

// Datafiles inside datafiles, at most this deep: the library's reader recurses once per level.
const int MAX_DATAFILE_NESTING = 16;

struct DatafileBytes {
    const unsigned char* p;
    size_t size;
    size_t at = 0;

    size_t left() const { return size - at; }
    bool bigEndian(long& v) {
        if (left() < 4) return false;
        v = static_cast<long>(static_cast<int32_t>((uint32_t(p[at]) << 24) | (uint32_t(p[at + 1]) << 16) |
                                                   (uint32_t(p[at + 2]) << 8) | uint32_t(p[at + 3])));
        at += 4;
        return true;
    }
    bool skipBytes(unsigned long long n) {
        if (n > left()) return false;
        at += static_cast<size_t>(n);
        return true;
    }
    bool skip(long n) { return n >= 0 && skipBytes(static_cast<unsigned long long>(n)); }
    bool word(int& v) {  // 16 bits, unsigned as the library reads them
        if (left() < 2) return false;
        v = (p[at] << 8) | p[at + 1];
        at += 2;
        return true;
    }
    bool signedWord(int& v) {
        if (!word(v)) return false;
        if (v >= 0x8000) v -= 0x10000;
        return true;
    }
    bool byte(int& v) {
        if (at >= size) return false;
        v = p[at++];
        return true;
    }
};
