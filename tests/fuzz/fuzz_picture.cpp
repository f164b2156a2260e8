// Fuzzes the picture reader: BMP headers of every version, top-down rows, bit fields, palettes, and
// PNG. A refusal says why; whatever it accepts is a whole picture of the sides it says.
#include <allegro.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/bmpDecode.h"
#include "core/picture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string trouble;
    BITMAP* bmp = readPictureBytes(data, size, &trouble);
    if (!bmp) return trouble.empty() ? (std::abort(), 0) : 0;
    if (bmp->w < 1 || bmp->h < 1 || bmp->w > MAX_PICTURE_SIDE || bmp->h > MAX_PICTURE_SIDE) std::abort();
    static volatile unsigned sink = 0;
    for (int y = 0; y < bmp->h; ++y) sink = sink + static_cast<unsigned>(getpixel(bmp, bmp->w - 1, y) ^ getpixel(bmp, 0, y));
    destroy_bitmap(bmp);
    return 0;
}
