// Colour operations on packed colours and bitmaps.
#include <cmath>

#include "engine/engine.h"
#include "engine/renderMath.h"

namespace {

// One channel divided by a factor (an infinite one gives 0). A factor that is not a positive
// number leaves the channel as it is; a result above 255 stays 255 rather than spilling into the
// neighbouring channel.
int divideChannel(int channel, float factor) {
    if (!(factor > 0.0f)) return channel;
    const float v = static_cast<float>(channel) / factor;
    if (!(v < 255.0f)) return 255;
    return engine_math::truncToInt(v);
}

int corrected(int colour, float fr, float fg, float fb) {
    return makecol(divideChannel(getr(colour), fr), divideChannel(getg(colour), fg), divideChannel(getb(colour), fb));
}

}  // namespace

void replaceColor(BITMAP* bmp, int from, int to) {
    if (!bmp) return;
    for (int x = 0; x < bmp->w; ++x)
        for (int y = 0; y < bmp->h; ++y)
            if (getpixel(bmp, x, y) == from) putpixel(bmp, x, y, to);
}

void darkenColor(int& colour, float fr, float fg, float fb) { colour = corrected(colour, fr, fg, fb); }

void darkenColor(int& colour, int shift) {
    if (shift < 0 || shift > 31) shift = shift < 0 ? 0 : 31;
    colour = makecol(getr(colour) >> shift, getg(colour) >> shift, getb(colour) >> shift);
}

int mergeColor(int a, int b) {
    return makecol((getr(a) >> 1) + (getr(b) >> 1), (getg(a) >> 1) + (getg(b) >> 1), (getb(a) >> 1) + (getb(b) >> 1));
}

int negateColor(int c) { return makecol(255 - getr(c), 255 - getg(c), 255 - getb(c)); }

void Kelda_engine::applyColorCorrection(float r, float g, float b) {
    for (int i = 0; i < textureCount; ++i) {
        BITMAP* t = textures[i];
        if (!t) continue;
        for (int x = 0; x < t->w; ++x) {
            for (int y = 0; y < t->h; ++y) {
                const int c = getpixel(t, x, y);
                if (c != maskColor) putpixel(t, x, y, corrected(c, r, g, b));
            }
        }
    }
    skyColor = corrected(skyColor, r, g, b);
}
