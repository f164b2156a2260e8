// Renders one frame of a level the way the game does and writes it as a BMP picture.
#include <allegro.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "engine/levelLoad.h"

namespace {

const char USAGE[] =
    "usage: brawnwick-render LEVEL.map OUTPUT.bmp [--size WxH (up to 8192x8192)] [--depth 15|16|24|32]\n"
    "                        [--camera X,Y,DIRX,DIRY,PLANEX,PLANEY] [--repeat N]\n"
    "Texture paths are read relative to the working folder, as in the game.\n";

struct Options {
    std::string level, output;
    int width = 800, height = 600, depth = 32, repeat = 1;
    bool camera = false;
    float cam[6] = {0, 0, -1.0f, 0.0f, 0.0f, 0.66f};
};

bool parseInt(const char* s, int low, int high, int& out) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s, &end, 10);
    if (errno != 0 || end == s || *end != '\0' || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

bool parseSize(const std::string& s, int& w, int& h) {
    const size_t x = s.find('x');
    return x != std::string::npos && parseInt(s.substr(0, x).c_str(), 1, 8192, w) &&
           parseInt(s.substr(x + 1).c_str(), 1, 8192, h);
}

bool parseCamera(const std::string& s, float* cam) {
    size_t start = 0;
    for (int i = 0; i < 6; ++i) {
        const size_t comma = s.find(',', start);
        if ((comma == std::string::npos) != (i == 5)) return false;
        const std::string part = s.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        char* end = nullptr;
        cam[i] = std::strtof(part.c_str(), &end);
        if (part.empty() || *end != '\0' || !std::isfinite(cam[i])) return false;
        start = comma + 1;
    }
    return true;
}

bool parseArgs(int argc, char** argv, Options& o) {
    std::vector<std::string> plain;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--size" && hasValue) {
            if (!parseSize(argv[++i], o.width, o.height)) return false;
        } else if (a == "--depth" && hasValue) {
            if (!parseInt(argv[++i], 15, 32, o.depth) || (o.depth != 15 && o.depth != 16 && o.depth != 24 && o.depth != 32))
                return false;
        } else if (a == "--camera" && hasValue) {
            if (!parseCamera(argv[++i], o.cam)) return false;
            o.camera = true;
        } else if (a == "--repeat" && hasValue) {
            if (!parseInt(argv[++i], 1, 1000000, o.repeat)) return false;
        } else if (a.size() > 1 && a[0] == '-') {
            return false;
        } else {
            plain.push_back(a);
        }
    }
    if (plain.size() != 2) return false;
    o.level = plain[0];
    o.output = plain[1];
    return true;
}

int fail(const std::string& where, const std::string& reason) {
    std::cerr << "brawnwick-render: " << where << ": " << reason << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseArgs(argc, argv, o)) {
        std::cerr << USAGE;
        return 2;
    }
    set_uformat(U_ASCII);  // file names are plain bytes, as in the game
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return fail(o.level, "the graphics library did not start");
    set_color_depth(o.depth);

    Kelda_engine engine;
    const std::string problem = levelLoadText(loadLevel(engine, o.level));
    if (!problem.empty()) return fail(o.level, problem);

    std::vector<int> pixels;
    std::vector<int*> columns(o.width);
    std::vector<float> depthBuffer(o.width);
    try {
        pixels.resize(static_cast<size_t>(o.width) * o.height);
    } catch (const std::bad_alloc&) {
        return fail(o.output, "no memory for a picture of that size");
    }
    for (int x = 0; x < o.width; ++x) columns[x] = pixels.data() + static_cast<size_t>(x) * o.height;
    engine.setBuffers(columns.data(), depthBuffer.data(), o.width, o.height);
    if (o.camera) {
        engine.setCamera(o.cam[0], o.cam[1]);
        engine.dirX = o.cam[2];
        engine.dirY = o.cam[3];
        engine.planeX = o.cam[4];
        engine.planeY = o.cam[5];
    }
    engine.inRange();

    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < o.repeat; ++i) engine.render();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    BITMAP* picture = create_bitmap_ex(o.depth, o.width, o.height);
    if (!picture) return fail(o.output, "no memory for the picture");
    copyColumnsToBitmap(columns.data(), o.width, o.height, picture);
    const int saved = save_bitmap(o.output.c_str(), picture, nullptr);
    destroy_bitmap(picture);
    if (saved != 0) return fail(o.output, "cannot be written");
    if (o.repeat > 1)
        std::printf("%d frames of %dx%d in %.3f s: %.1f frames per second\n", o.repeat, o.width, o.height, seconds,
                    o.repeat / seconds);
    return 0;
}
