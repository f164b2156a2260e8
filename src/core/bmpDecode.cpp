#include "core/bmpDecode.h"

#include <cstdint>

namespace {
const size_t FILE_HEADER = 14;
const uint32_t RGB = 0, RLE8 = 1, RLE4 = 2, BITFIELDS = 3, ALPHABITFIELDS = 6;

uint32_t u32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint32_t u16(const unsigned char* p) { return p[0] | (p[1] << 8); }
void put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

// One colour channel picked out by its mask and spread over 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Channel(uint32_t m) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        max = m >> shift;
    }
    int value(uint32_t pixel) const {
        if (!max) return 0;
        return static_cast<int>((static_cast<uint64_t>((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

struct Header {
    uint32_t size = 0;  // of the info header
    long long width = 0, height = 0;
    uint32_t bits = 0, compression = 0, colours = 0;
    bool os2 = false;
};

std::string compressionTrouble(uint32_t c) {
    if (c == RLE8 || c == RLE4) return "a compressed (run-length encoded) BMP; save it without compression";
    return "a compressed BMP (method " + std::to_string(c) + "); save it as a plain BMP or a PNG";
}
}  // namespace

std::string decodeBmp(const unsigned char* data, size_t size, std::vector<unsigned char>& plain) {
    plain.clear();
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return "not a BMP file";
    if (size < FILE_HEADER + 4) return "a truncated BMP (the file ends inside its header)";
    Header h;
    h.size = u32(data + FILE_HEADER);
    if (h.size < 12 || h.size > size - FILE_HEADER) return "a truncated BMP (the file ends inside its header)";
    const unsigned char* info = data + FILE_HEADER;
    // Fields a short header leaves out count as zero.
    unsigned char field[56] = {};
    for (size_t i = 0; i < sizeof field && i < h.size; ++i) field[i] = info[i];
    h.os2 = h.size == 12;
    if (h.os2) {
        h.width = u16(field + 4);
        h.height = u16(field + 6);
        h.bits = u16(field + 10);
    } else {
        h.width = static_cast<int32_t>(u32(field + 4));
        h.height = static_cast<int32_t>(u32(field + 8));
        h.bits = u16(field + 14);
        h.compression = u32(field + 16);
        h.colours = u32(field + 32);
    }
    const bool topDown = h.height < 0;
    const long long rows = topDown ? -h.height : h.height;
    if (h.width < 1 || rows < 1) return "a damaged BMP (it says it is " + std::to_string(h.width) + " x " +
                                        std::to_string(h.height) + " pixels)";
    if (h.width > MAX_PICTURE_SIDE || rows > MAX_PICTURE_SIDE || h.width * rows > MAX_PICTURE_PIXELS)
        return "a BMP of " + std::to_string(h.width) + " x " + std::to_string(rows) +
               " pixels, larger than the game reads (16384 a side, 16 million pixels in all)";
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
        return "a BMP with " + std::to_string(h.bits) + " bits per pixel; save it with 24 bits";
    if (h.compression == RLE8 || h.compression == RLE4) return compressionTrouble(h.compression);
    const bool fields = h.compression == BITFIELDS || h.compression == ALPHABITFIELDS;
    if (h.compression != RGB && !(fields && (h.bits == 16 || h.bits == 32))) return compressionTrouble(h.compression);

    // Masks sit in a version 2 or later header, or right after a 40-byte one.
    size_t at = FILE_HEADER + h.size;
    uint32_t masks[4] = {0, 0, 0, 0};
    if (fields) {
        const size_t wanted = h.compression == ALPHABITFIELDS ? 4 : 3;
        if (h.size >= 40 + 4 * wanted) {
            for (size_t i = 0; i < wanted; ++i) masks[i] = u32(field + 40 + 4 * i);
        } else {
            if (size - at < 4 * wanted) return "a truncated BMP (the file ends inside its colour masks)";
            for (size_t i = 0; i < wanted; ++i) masks[i] = u32(data + at + 4 * i);
            at += 4 * wanted;
        }
        if (h.size >= 56) masks[3] = u32(field + 52);
    } else if (h.bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (h.bits >= 24) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;  // 32-bit plain files keep no alpha
    }

    // The palette of a picture of 256 colours or fewer.
    const size_t entrySize = h.os2 ? 3 : 4;
    uint32_t palette[256] = {};
    if (h.bits <= 8) {
        const uint32_t most = 1u << h.bits;
        const uint32_t count = h.colours == 0 || h.colours > most ? most : h.colours;
        if ((size - at) / entrySize < count) return "a truncated BMP (the file ends inside its palette)";
        for (uint32_t i = 0; i < count; ++i) {
            const unsigned char* e = data + at + i * entrySize;
            palette[i] = (uint32_t(e[2]) << 16) | (e[1] << 8) | e[0];
        }
        at += count * entrySize;
    }

    const unsigned long long stride = ((static_cast<unsigned long long>(h.width) * h.bits + 31) / 32) * 4;
    // Some writers leave the pixel offset at 0; the pixels then follow the palette.
    const uint32_t offset = u32(data + 10);
    const size_t start = offset >= FILE_HEADER + h.size && offset <= size ? offset : at;
    if ((size - start) / stride < static_cast<unsigned long long>(rows))
        return "a truncated BMP (the file ends inside its pixels)";

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const size_t outStride = (static_cast<size_t>(h.width) * 3 + 3) & ~size_t(3);
    const size_t pixelBytes = outStride * static_cast<size_t>(rows);
    plain.reserve(54 + pixelBytes);
    plain.push_back('B'), plain.push_back('M');
    put32(plain, static_cast<uint32_t>(54 + pixelBytes));
    put32(plain, 0);
    put32(plain, 54);
    put32(plain, 40);
    put32(plain, static_cast<uint32_t>(h.width));
    put32(plain, static_cast<uint32_t>(rows));
    put16(plain, 1);
    put16(plain, 24);
    put32(plain, RGB);
    put32(plain, static_cast<uint32_t>(pixelBytes));
    for (int i = 0; i < 4; ++i) put32(plain, i < 2 ? 2835 : 0);
    for (long long y = 0; y < rows; ++y) {
        // The plain form is bottom-up: its first row is the picture's last.
        const long long fileRow = topDown ? rows - 1 - y : y;
        const unsigned char* src = data + start + static_cast<size_t>(fileRow) * stride;
        for (long long x = 0; x < h.width; ++x) {
            int r, g, b;
            if (h.bits <= 8) {
                const size_t bit = static_cast<size_t>(x) * h.bits;
                const uint32_t index = (src[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
                r = (palette[index] >> 16) & 0xFF, g = (palette[index] >> 8) & 0xFF, b = palette[index] & 0xFF;
            } else {
                const unsigned char* p = src + static_cast<size_t>(x) * (h.bits / 8);
                const uint32_t v = h.bits == 16 ? u16(p) : h.bits == 24 ? (p[2] << 16) | (p[1] << 8) | p[0] : u32(p);
                r = red.value(v), g = green.value(v), b = blue.value(v);
                if (alpha.max && alpha.value(v) < 128) r = 255, g = 0, b = 255;  // the game's transparent colour
            }
            plain.push_back(static_cast<unsigned char>(b));
            plain.push_back(static_cast<unsigned char>(g));
            plain.push_back(static_cast<unsigned char>(r));
        }
        for (size_t pad = static_cast<size_t>(h.width) * 3; pad < outStride; ++pad) plain.push_back(0);
    }
    return "";
}
