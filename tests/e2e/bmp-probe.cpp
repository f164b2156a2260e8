// Reads a picture for the end-to-end tests: "bmp-probe FILE" prints "WIDTH HEIGHT",
// "bmp-probe FILE X Y" prints the pixel's "R G B".
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: bmp-probe FILE [X Y]\n");
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 2;
    set_color_depth(32);
    set_color_conversion(COLORCONV_TOTAL);
    BITMAP* bmp = load_bitmap(argv[1], nullptr);
    if (!bmp) {
        std::fprintf(stderr, "bmp-probe: cannot read %s\n", argv[1]);
        return 1;
    }
    if (argc == 2) {
        std::printf("%d %d\n", bmp->w, bmp->h);
    } else {
        int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
        if (x < 0 || y < 0 || x >= bmp->w || y >= bmp->h) {
            std::fprintf(stderr, "bmp-probe: %d,%d is outside the picture\n", x, y);
            return 1;
        }
        int c = getpixel(bmp, x, y);
        int depth = bitmap_color_depth(bmp);
        std::printf("%d %d %d\n", getr_depth(depth, c), getg_depth(depth, c), getb_depth(depth, c));
    }
    destroy_bitmap(bmp);
    return 0;
}
