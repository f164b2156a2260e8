#include "game/resolution.h"

#include <allegro.h>

#include <fstream>
#include <sstream>

#include "platform/platform.h"

Resolution parseResolution(const std::string& text) {
    std::istringstream in(text);
    long long w = 0, h = 0;
    Resolution res;
    if (!(in >> w >> h)) return res;
    if (w < MIN_GAME_WIDTH || w > MAX_GAME_WIDTH || h < MIN_GAME_HEIGHT || h > MAX_GAME_HEIGHT) return res;
    res.width = static_cast<int>(w);
    res.height = static_cast<int>(h);
    return res;
}

Resolution readResolution(const std::string& path) {
    std::ifstream in(path);
    if (!in) return Resolution();
    // Only the first few bytes can matter; a huge or binary file must not be read whole.
    char head[256] = {};
    in.read(head, sizeof head - 1);
    return parseResolution(std::string(head, static_cast<size_t>(in.gcount())));
}

int enterMode(int driver, Resolution res, int (*setGfx)(int card, int w, int h)) {
    if (setGfx(driver, res.width, res.height) == 0) return driver;
    if (setGfx(driver, DEFAULT_GAME_WIDTH, DEFAULT_GAME_HEIGHT) == 0) return driver;
    int other = driver ^ 3;
    if (setGfx(other, DEFAULT_GAME_WIDTH, DEFAULT_GAME_HEIGHT) == 0) return other;
    return 0;
}

int setGfxMode(int card, int w, int h) { return platform::setMode(card, w, h); }
