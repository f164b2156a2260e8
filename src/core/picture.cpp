#include "core/picture.h"

#include <loadpng.h>
#include <png.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include <sys/stat.h>

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

// The library's own load_bitmap reads .png too, for whatever calls it directly.
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
    struct stat st;
    std::string trouble;
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        trouble = "not a file (a folder?)";
    } else if (st.st_size > MAX_FILE_BYTES) {
        trouble = "a file of " + std::to_string(st.st_size >> 20) + " MB, too large for a picture the game reads";
    } else {
        bytes.resize(static_cast<size_t>(st.st_size));
        if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) trouble = "cannot be read";
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

// Decoded by libpng itself rather than through the addon: the addon keeps the picture it was
// filling when a damaged file stops it, and reads a palette's transparency as opaque.
BITMAP* fromPng(const unsigned char* bytes, size_t size, std::string& trouble) {
    trouble = "a truncated or damaged PNG";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, size)) return png_image_free(&image), nullptr;
    const long long w = image.width, h = image.height;
    if (w > MAX_PICTURE_SIDE || h > MAX_PICTURE_SIDE || w * h > MAX_PICTURE_PIXELS) {
        png_image_free(&image);
        trouble = "a PNG of " + std::to_string(w) + " x " + std::to_string(h) +
                  " pixels, larger than the game reads (16384 a side, 16 million pixels in all)";
        return nullptr;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return png_image_free(&image), nullptr;
    png_image_free(&image);
    BITMAP* bmp = create_bitmap(static_cast<int>(w), static_cast<int>(h));
    if (!bmp) return (trouble = "out of memory"), nullptr;
    // Mostly transparent pixels become the game's transparent colour; the rest are drawn opaque.
    const int magenta = makecol(255, 0, 255);
    const unsigned char* p = rgba.data();
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x, p += 4) putpixel(bmp, x, y, p[3] < 128 ? magenta : makecol(p[0], p[1], p[2]));
    trouble.clear();
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
