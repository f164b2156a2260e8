#include "core/datafileCheck.h"

#include <allegro.h>

#include <cstdint>
#include <vector>

namespace {
const size_t MAX_DATAFILE_BYTES = size_t(256) << 20;
const int MAX_NESTING = 16;

struct Reader {
    const unsigned char* p;
    size_t size;
    size_t at = 0;

    bool bigEndian(long& v) {
        if (size - at < 4) return false;
        v = static_cast<long>(static_cast<int32_t>((uint32_t(p[at]) << 24) | (uint32_t(p[at + 1]) << 16) |
                                                   (uint32_t(p[at + 2]) << 8) | uint32_t(p[at + 3])));
        at += 4;
        return true;
    }
    bool skip(long n) {
        if (n < 0 || static_cast<unsigned long>(n) > size - at) return false;
        at += static_cast<size_t>(n);
        return true;
    }
};

// Objects: optional properties ("prop", id, size, bytes), the type, then a chunk of two sizes
// (unpacked, stored; stored negative when the chunk is compressed) and the stored bytes.
bool objectsIntact(Reader& r, long count, int depth) {
    if (count < 0 || depth > MAX_NESTING) return false;
    for (long i = 0; i < count; ++i) {
        long type = 0;
        if (!r.bigEndian(type)) return false;
        while (type == DAT_PROPERTY) {
            long id = 0, size = 0;
            if (!r.bigEndian(id) || !r.bigEndian(size) || !r.skip(size) || !r.bigEndian(type)) return false;
        }
        long unpacked = 0, stored = 0;
        if (!r.bigEndian(unpacked) || !r.bigEndian(stored) || unpacked < 0) return false;
        const bool packed = stored < 0;
        if (packed) stored = -stored;
        if (type == DAT_FILE && !packed) {
            if (static_cast<unsigned long>(stored) > r.size - r.at) return false;
            Reader inner{r.p + r.at, static_cast<size_t>(stored)};
            long innerCount = 0;
            if (!inner.bigEndian(innerCount) || !objectsIntact(inner, innerCount, depth + 1)) return false;
        }
        if (!r.skip(stored)) return false;
    }
    return true;
}
}  // namespace

bool datafileImageIntact(const unsigned char* bytes, size_t size) {
    Reader r{bytes, size};
    long magic = 0, count = 0;
    if (!r.bigEndian(magic) || magic != DAT_MAGIC || !r.bigEndian(count)) return false;
    return objectsIntact(r, count, 0);
}

bool datafileIntact(const std::string& path) {
    // F_READ_PACKED takes both the packed and the plain form and strips the magic number.
    PACKFILE* f = pack_fopen(path.c_str(), F_READ_PACKED);
    if (!f) return false;
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    long got = 0;
    while ((got = pack_fread(block, sizeof block, f)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
        if (bytes.size() > MAX_DATAFILE_BYTES) break;
    }
    pack_fclose(f);
    if (bytes.size() > MAX_DATAFILE_BYTES) return false;
    return datafileImageIntact(bytes.data(), bytes.size());
}
