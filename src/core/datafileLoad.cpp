// Unpacks a datafile once, into a plain image whose every chunk is stored as it is, checks that
// image and hands exactly those bytes to the library's reader.
//
// The unpacking is ours rather than the library's: its unpacker leaves the end of its window
// unset, so a hostile stream that refers back there copies whatever the heap held (a file could
// pass one run and fail the next), it decompresses a packed chunk on past the chunk's stored size
// into the objects that follow, and it negates the chunk's size without looking at it. Here the
// window starts zeroed, each packed chunk is held to its stored bytes, and everything unpacked
// together is held to a limit no datafile of ours comes near.
#include "core/datafileCheck.h"
#include "core/ElementaryFunctions.h"
#include "core/datafileBytes.h"

#include <allegro.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

const size_t MAX_UNPACKED_BYTES = size_t(64) << 20;
// A packed file can be an eighth larger than what it unpacks to.
const size_t MAX_FILE_BYTES = MAX_UNPACKED_BYTES + MAX_UNPACKED_BYTES / 8 + 64;


void putBigEndian(Bytes& out, long v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<unsigned char>((static_cast<unsigned long>(v) >> s) & 0xFF));
}

// The library's packing: a 4096-byte window whose writing starts 18 bytes before its end; each
// flag byte, lowest bit first, announces a literal byte (bit set) or two bytes that copy 3 to 18
// bytes from a window position (twelve bits) in the window. Stops when the input ends or `want`
// bytes are out; fails when the limit would be passed.
struct Unpacker {
    size_t spent = 0;  // bytes unpacked so far, by every stream of the file

    bool unpack(const unsigned char* in, size_t inSize, size_t want, Bytes& out) {
        const int N = 4096, F = 18;
        unsigned char window[N] = {};
        int r = N - F;
        unsigned flags = 0;
        size_t at = 0;
        out.clear();
        auto put = [&](unsigned char c) {
            if (spent >= MAX_UNPACKED_BYTES) return false;
            ++spent;
            window[r] = c;
            r = (r + 1) & (N - 1);
            out.push_back(c);
            return true;
        };
        while (out.size() < want) {
            if (((flags >>= 1) & 256) == 0) {
                if (at >= inSize) break;
                flags = in[at++] | 0xFF00u;
            }
            if (flags & 1) {
                if (at >= inSize) break;
                if (!put(in[at++])) return false;
            } else {
                if (inSize - at < 2) break;
                const int from = in[at] | ((in[at + 1] & 0xF0) << 4);
                const int length = (in[at + 1] & 0x0F) + 3;
                at += 2;
                for (int k = 0; k < length && out.size() < want; ++k)
                    if (!put(window[(from + k) & (N - 1)])) return false;
            }
        }
        return true;
    }
};

bool rewriteObjects(DatafileBytes& in, long count, int depth, Unpacker& unpacker, Bytes& out);

// An object's type and its chunk, stored plain. A nested datafile is rewritten object by object,
// since its own objects may be packed.
bool rewriteObject(DatafileBytes& in, long type, int depth, Unpacker& unpacker, Bytes& out) {
    long stored = 0, unpacked = 0;
    if (!in.bigEndian(stored) || !in.bigEndian(unpacked)) return false;
    Bytes content;
    const unsigned char* body = in.p + in.at;
    size_t bodySize = 0;
    if (unpacked >= 0) {
        // The library reads as many bytes as the second size says and ignores the first.
        if (static_cast<unsigned long>(unpacked) > in.left()) return false;
        bodySize = static_cast<size_t>(unpacked);
        in.at += bodySize;
    } else {
        const unsigned long long want = static_cast<unsigned long long>(-static_cast<long long>(unpacked));
        if (stored < 0 || static_cast<unsigned long>(stored) > in.left()) return false;
        if (want > MAX_UNPACKED_BYTES - unpacker.spent) return false;
        if (!unpacker.unpack(in.p + in.at, static_cast<size_t>(stored), static_cast<size_t>(want), content) ||
            content.size() != want)
            return false;
        in.at += static_cast<size_t>(stored);
        body = content.data();
        bodySize = content.size();
    }
    putBigEndian(out, type);
    if (type != DAT_FILE) {
        putBigEndian(out, static_cast<long>(bodySize));
        putBigEndian(out, static_cast<long>(bodySize));
        out.insert(out.end(), body, body + bodySize);
        return out.size() <= MAX_UNPACKED_BYTES;
    }
    DatafileBytes nested{body, bodySize};
    long count = 0;
    if (depth >= MAX_DATAFILE_NESTING || !nested.bigEndian(count)) return false;
    const size_t sizes = out.size();
    out.resize(sizes + 8);
    putBigEndian(out, count);
    if (!rewriteObjects(nested, count, depth + 1, unpacker, out)) return false;
    const long size = static_cast<long>(out.size() - sizes - 8);
    Bytes head;
    putBigEndian(head, size);
    putBigEndian(head, size);
    std::copy(head.begin(), head.end(), out.begin() + static_cast<long>(sizes));
    return true;
}

bool rewriteObjects(DatafileBytes& in, long count, int depth, Unpacker& unpacker, Bytes& out) {
    if (count < 0) return false;
    for (long i = 0; i < count; ++i) {
        long type = 0;
        if (!in.bigEndian(type)) return false;
        while (type == DAT_PROPERTY) {  // kept as they are
            long id = 0, size = 0;
            if (!in.bigEndian(id) || !in.bigEndian(size) || size < 0 || static_cast<unsigned long>(size) > in.left())
                return false;
            putBigEndian(out, type);
            putBigEndian(out, id);
            putBigEndian(out, size);
            out.insert(out.end(), in.p + in.at, in.p + in.at + size);
            in.at += static_cast<size_t>(size);
            if (!in.bigEndian(type)) return false;
        }
        if (!rewriteObject(in, type, depth, unpacker, out) || out.size() > MAX_UNPACKED_BYTES) return false;
    }
    return true;
}

bool readBounded(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        bytes.insert(bytes.end(), block, block + in.gcount());
        if (bytes.size() > MAX_FILE_BYTES) return false;
    }
    return !in.bad();
}

// The plain image (after the file's magic number) of the datafile at path, or false.
bool plainImage(const std::string& path, Bytes& image) {
    Bytes file;
    if (!readBounded(path, file)) return false;
    DatafileBytes whole{file.data(), file.size()};
    long magic = 0;
    if (!whole.bigEndian(magic)) return false;
    Unpacker unpacker;
    Bytes unpackedFile;
    DatafileBytes stream{file.data() + 4, file.size() - 4};
    if (magic == F_PACK_MAGIC) {
        // Packed as a whole: one stream to the end of the file.
        if (!unpacker.unpack(stream.p, stream.size, SIZE_MAX, unpackedFile)) return false;
        stream = DatafileBytes{unpackedFile.data(), unpackedFile.size()};
    } else if (magic != F_NOPACK_MAGIC) {
        return false;
    }
    long datafileMagic = 0, count = 0;
    if (!stream.bigEndian(datafileMagic) || datafileMagic != DAT_MAGIC || !stream.bigEndian(count)) return false;
    putBigEndian(image, DAT_MAGIC);
    putBigEndian(image, count);
    return rewriteObjects(stream, count, 0, unpacker, image);
}

// The library reads a datafile by name only: the image goes to a file in memory, or failing
// that to a private temporary file that is removed at once.
DATAFILE* loadImage(const Bytes& file) {
    int fd = memfd_create("brawnwick-datafile", MFD_CLOEXEC);
    if (fd >= 0) {
        const std::string name = "/proc/self/fd/" + std::to_string(fd);
        DATAFILE* data = nullptr;
        const bool readable = writeAll(fd, file.data(), file.size()) && access(name.c_str(), R_OK) == 0;
        if (readable) data = load_datafile(name.c_str());
        close(fd);
        if (readable) return data;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/brawnwick-datafile-XXXXXX";
    fd = mkstemp(&name[0]);
    if (fd < 0) return nullptr;
    DATAFILE* data = writeAll(fd, file.data(), file.size()) ? load_datafile(name.c_str()) : nullptr;
    unlink(name.c_str());
    close(fd);
    return data;
}
}  // namespace

DATAFILE* loadCheckedDatafile(const std::string& path) {
    Bytes file;
    putBigEndian(file, F_NOPACK_MAGIC);
    if (!plainImage(path, file) || !datafileImageIntact(file.data() + 4, file.size() - 4)) return nullptr;
    return loadImage(file);
}
