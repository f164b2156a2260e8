#include "png.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace gen {

namespace {

using Bytes = std::vector<unsigned char>;

void put32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

void chunk(Bytes& out, const char* type, const Bytes& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, static_cast<uint32_t>(crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

bool savePng(const Image& img, const std::string& path) {
    if (img.w <= 0 || img.h <= 0) return false;
    Bytes raw;
    raw.reserve(static_cast<size_t>(img.h) * (1 + 4 * static_cast<size_t>(img.w)));
    for (int y = 0; y < img.h; ++y) {
        raw.push_back(0);  // no row filter: the icons are small and compress well enough
        for (int x = 0; x < img.w; ++x) {
            const int a = to8(img.alpha(x, y));
            const Col c = a ? img.at(x, y) : Col{};  // a clean zero under full transparency
            raw.insert(raw.end(), {static_cast<unsigned char>(to8(c.r)), static_cast<unsigned char>(to8(c.g)),
                                   static_cast<unsigned char>(to8(c.b)), static_cast<unsigned char>(a)});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return false;
    packed.resize(packedSize);

    Bytes header;
    put32(header, static_cast<uint32_t>(img.w));
    put32(header, static_cast<uint32_t>(img.h));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits per channel, RGBA, deflate, no interlace
    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    chunk(file, "IHDR", header);
    chunk(file, "IDAT", packed);
    chunk(file, "IEND", {});

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return (std::fclose(f) == 0) && written;
}

}  // namespace gen
