// Fuzzes the datafile check with arbitrary datafile contents (the bytes after the magic number):
// whatever it accepts, the library's own reader must load and free without a fault, and its fonts
// and pictures must draw as the game draws them.
#include <allegro.h>

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/datafileCheck.h"

namespace {
std::string path;
BITMAP* canvas = nullptr;

void use(DATAFILE* d) {
    for (; d->type != DAT_END; ++d) {
        if (d->type == DAT_FONT) {
            FONT* f = static_cast<FONT*>(d->dat);
            textout_ex(canvas, f, "New Game ~ 0123 {|}", 3, 5, makecol(255, 255, 255), -1);
            if (text_length(f, "Options") < 0 || text_height(f) < 0) std::abort();
        } else if (d->type == DAT_BITMAP) {
            BITMAP* b = static_cast<BITMAP*>(d->dat);
            draw_sprite(canvas, b, 2, 2);
            stretch_blit(b, canvas, 0, 0, b->w, b->h, 0, 0, 17, 13);
        } else if (d->type == DAT_FILE) {
            use(static_cast<DATAFILE*>(d->dat));
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) std::abort();
    set_color_depth(32);
    set_color_conversion(COLORCONV_TOTAL);
    canvas = create_bitmap(64, 48);
    if (!canvas) std::abort();
    path = "/tmp/brawnwick-fuzz-datafile-" + std::to_string(getpid()) + ".dat";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The library reads a datafile by name only.
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite("slh.", 1, 4, f);
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (datafileIntact(path)) {
        DATAFILE* d = load_datafile(path.c_str());
        if (d) {
            use(d);
            unload_datafile(d);
        }
    }
    std::remove(path.c_str());
    return 0;
}
