#include "image.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace gen {

bool save(const Image& img, const std::string& path, bool keyed) {
    BITMAP* bmp = create_bitmap_ex(24, img.w, img.h);
    if (!bmp) return false;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            int r = to8(img.at(x, y).r), g = to8(img.at(x, y).g), b = to8(img.at(x, y).b);
            if (keyed && img.alpha(x, y) < 0.5f) {
                r = 255, g = 0, b = 255;
            } else if (r == 255 && g == 0 && b == 255) {
                g = 1;
            }
            putpixel(bmp, x, y, makecol24(r, g, b));
        }
    bool ok = save_bitmap(path.c_str(), bmp, nullptr) == 0;
    destroy_bitmap(bmp);
    return ok;
}

Image loadMask(const std::string& path) {
    int old = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    PALETTE pal;
    BITMAP* bmp = load_bitmap(path.c_str(), pal);
    set_color_conversion(old);
    Image img;
    if (!bmp) return img;
    img = Image(bmp->w, bmp->h, Col{1, 1, 1}, 0);
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x) img.alpha(x, y) = getpixel(bmp, x, y) / 255.0f;
    destroy_bitmap(bmp);
    return img;
}

void paste(Image& dst, const Image& src, int ox, int oy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) dst.blend(ox + x, oy + y, src.at(x, y), src.alpha(x, y));
}

void outline(Image& img, Col c, float threshold) {
    Image copy = img;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            if (copy.alpha(x, y) >= threshold) continue;
            bool edge = false;
            for (int d = 0; d < 4 && !edge; ++d) {
                int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
                edge = copy.inside(nx, ny) && copy.alpha(nx, ny) >= threshold;
            }
            if (edge) {
                img.at(x, y) = c;
                img.alpha(x, y) = 1;
            }
        }
}

}  // namespace gen
