#include "core/picture.h"

#include <loadpng.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "core/bmpDecode.h"

namespace {
// No uncompressed picture of the largest size the game reads is bigger than this.
const long MAX_FILE_BYTES = 128L << 20;
const unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// A read-only file in memory, for the library's readers.
struct MemoryFile {
    const unsigned char* p;
    long size, at;
};
MemoryFile& mf(void* u) { return *static_cast<MemoryFile*>(u); }
int mfClose(void*) { return 0; }
int mfGetc(void* u) { return mf(u).at < mf(u).size ? mf(u).p[mf(u).at++] : EOF; }
int mfUngetc(int c, void* u) { return mf(u).at > 0 ? (--mf(u).at, c) : EOF; }
long mfRead(void* out, long n, void* u) {
    MemoryFile& m = mf(u);
    const long k = std::max(0L, std::min(n, m.size - m.at));
    std::copy(m.p + m.at, m.p + m.at + k, static_cast<unsigned char*>(out));
    m.at += k;
    return k;
}
int mfPutc(int, void*) { return EOF; }
long mfWrite(const void*, long, void*) { return 0; }
int mfSeek(void* u, int offset) {
    MemoryFile& m = mf(u);
    if (offset < 0 || offset > m.size - m.at) return (m.at = m.size), -1;
    m.at += offset;
    return 0;
}
int mfEof(void* u) { return mf(u).at >= mf(u).size; }
int mfError(void*) { return 0; }
PACKFILE_VTABLE memoryVtable = {mfClose, mfGetc, mfUngetc, mfRead, mfPutc, mfWrite, mfSeek, mfEof, mfError};

void registerFormats() {
    static bool done = false;
    if (done) return;
    done = true;
    register_png_file_type();
    _png_screen_gamma = 0.0;  // colours exactly as saved: magenta must stay magenta
}

std::string lowerExtension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// The file's bytes, or why there are none.
std::string readBytes(const std::string& path, std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "file not found";
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    std::rewind(f);
    std::string trouble;
    if (size < 0) {
        trouble = "cannot be read (a folder?)";
    } else if (size > MAX_FILE_BYTES) {
        trouble = "a file of " + std::to_string(size >> 20) + " MB, too large for a picture the game reads";
    } else {
        bytes.resize(static_cast<size_t>(size));
        if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) trouble = "cannot be read";
    }
    std::fclose(f);
    if (trouble.empty() && bytes.empty()) trouble = "an empty file";
    return trouble;
}

BITMAP* fromBmp(const unsigned char* bytes, size_t size, std::string& trouble) {
    std::vector<unsigned char> plain;
    trouble = decodeBmp(bytes, size, plain);
    if (!trouble.empty()) return nullptr;
    MemoryFile m{plain.data(), static_cast<long>(plain.size()), 0};
    PACKFILE* pf = pack_fopen_vtable(&memoryVtable, &m);
    if (!pf) return (trouble = "out of memory"), nullptr;
    BITMAP* bmp = load_bmp_pf(pf, nullptr);
    pack_fclose(pf);
    if (!bmp) trouble = "out of memory";
    return bmp;
}

uint32_t bigEndian(const unsigned char* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// Pixels an alpha channel leaves mostly transparent become magenta, the rest opaque.
BITMAP* alphaToMagenta(BITMAP* rgba) {
    BITMAP* out = create_bitmap(rgba->w, rgba->h);
    if (out) {
        const int magenta = makecol(255, 0, 255);
        for (int y = 0; y < rgba->h; ++y)
            for (int x = 0; x < rgba->w; ++x) {
                const int c = getpixel(rgba, x, y);
                putpixel(out, x, y, geta32(c) < 128 ? magenta : makecol(getr32(c), getg32(c), getb32(c)));
            }
    }
    destroy_bitmap(rgba);
    return out;
}

BITMAP* fromPng(const unsigned char* bytes, size_t size, std::string& trouble) {
    if (size < 33 || size > static_cast<size_t>(MAX_FILE_BYTES) || !std::equal(bytes + 12, bytes + 16, "IHDR"))
        return (trouble = "a truncated or damaged PNG"), nullptr;
    const long long w = bigEndian(&bytes[16]), h = bigEndian(&bytes[20]);
    if (w < 1 || h < 1 || w > MAX_PICTURE_SIDE || h > MAX_PICTURE_SIDE || w * h > MAX_PICTURE_PIXELS)
        return (trouble = "a PNG of " + std::to_string(w) + " x " + std::to_string(h) +
                          " pixels, larger than the game reads (16384 a side, 16 million pixels in all)"),
               nullptr;
    const int colourType = bytes[25];
    const bool alpha = colourType == 4 || colourType == 6;
    const int conversion = get_color_conversion();
    if (alpha) set_color_conversion(COLORCONV_KEEP_ALPHA);
    BITMAP* bmp = load_memory_png(bytes, static_cast<int>(size), nullptr);
    set_color_conversion(conversion);
    if (!bmp) return (trouble = "a truncated or damaged PNG"), nullptr;
    if (alpha && bitmap_color_depth(bmp) == 32) bmp = alphaToMagenta(bmp);
    if (!bmp) trouble = "out of memory";
    return bmp;
}

bool isBmp(const unsigned char* b, size_t size) { return size >= 2 && b[0] == 'B' && b[1] == 'M'; }
bool isPng(const unsigned char* b, size_t size) { return size >= 8 && std::equal(PNG_SIGNATURE, PNG_SIGNATURE + 8, b); }

BITMAP* load(const std::string& path, std::string& trouble) {
    registerFormats();
    std::vector<unsigned char> bytes;
    trouble = readBytes(path, bytes);
    if (!trouble.empty()) return nullptr;
    // The content decides, not the name: editors let a PNG be saved as x.bmp.
    if (isBmp(bytes.data(), bytes.size())) return fromBmp(bytes.data(), bytes.size(), trouble);
    if (isPng(bytes.data(), bytes.size())) return fromPng(bytes.data(), bytes.size(), trouble);
    const std::string ext = lowerExtension(path);
    if (ext == "bmp") return (trouble = "not a BMP file inside (an unknown format)"), nullptr;
    if (ext == "png") return (trouble = "not a PNG file inside (an unknown format)"), nullptr;
    BITMAP* bmp = load_bitmap(path.c_str(), nullptr);
    if (!bmp)
        trouble = ext == "tga" || ext == "pcx" || ext == "lbm" ? "a damaged or unusual " + ext + " file"
                                                               : "an unknown format; save it as PNG or BMP";
    return bmp;
}
}  // namespace

BITMAP* readPicture(const std::string& path, std::string* trouble) {
    std::string why;
    BITMAP* bmp = load(path, why);
    if (trouble) *trouble = why;
    return bmp;
}

BITMAP* readPictureBytes(const unsigned char* bytes, size_t size, std::string* trouble) {
    registerFormats();
    std::string why = "an unknown format; save it as PNG or BMP";
    BITMAP* bmp = isBmp(bytes, size) ? fromBmp(bytes, size, why) : isPng(bytes, size) ? fromPng(bytes, size, why) : nullptr;
    if (trouble) *trouble = why;
    return bmp;
}
