// Fuzzes datafile loading with arbitrary files, packed or not: what it accepts loads and frees
// cleanly, and its fonts and pictures draw as the game draws them.
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
    for (; d->type != DAT_END; ++d)
        if (d->type == DAT_FONT) {
            FONT* f = static_cast<FONT*>(d->dat);
            textout_ex(canvas, f, "New Game ~ 0123 {|}", 3, 5, makecol(255, 255, 255), -1);
            textout_ex(canvas, f, "!#~", 3, 20, -1, makecol(0, 0, 90));  // colour glyphs in their own colours
            if (text_length(f, "Options") < 0 || text_height(f) < 0) std::abort();
        } else if (d->type == DAT_BITMAP) {
            BITMAP* b = static_cast<BITMAP*>(d->dat);
            draw_sprite(canvas, b, 2, 2);
            stretch_blit(b, canvas, 0, 0, b->w, b->h, 0, 0, 17, 13);
        } else if (d->type == DAT_FILE) {
            use(static_cast<DATAFILE*>(d->dat));
        }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) std::abort();
    set_color_depth(32);
    set_color_conversion(COLORCONV_TOTAL);
    if (!(canvas = create_bitmap(64, 48))) std::abort();
    path = "/tmp/brawnwick-fuzz-datafile-" + std::to_string(getpid()) + ".dat";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) std::abort();
    if (DATAFILE* d = loadCheckedDatafile(path)) use(d), unload_datafile(d);
    std::remove(path.c_str());
    return 0;
}
