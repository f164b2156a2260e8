// The renderer against its plain getpixel reference, and the frame copy against a memcpy of the
// same bytes, on four kinds of level (textures of one size; mixed power-of-two sizes in every
// role; non-square textures; floors and ceilings of two sizes each, by room), each with open
// sky and textured ceilings, in every colour depth and at three screen sizes. Both renderers must draw the same picture; that is checked first.
// Usage: bench_render [SECONDS] [SIZES...] with SIZES like 1920x1080 (default: 800x600 1920x1080 3840x2160).
#include <allegro.h>

#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "level/levelfile.h"
#include "reference_render.h"

namespace {

struct Side {
    int w, h;
};

std::string makeTexture(const std::string& dir, const std::string& name, Side s, int seed, bool holes) {
    BITMAP* bmp = create_bitmap_ex(32, s.w, s.h);
    for (int y = 0; y < s.h; ++y) {
        for (int x = 0; x < s.w; ++x) {
            const int u = x * 64 / s.w, v = y * 64 / s.h;
            int c = makecol32((u * 4 + seed * 50) & 0xFF, (v * 4 + seed * 30) & 0xFF, ((u ^ v) * 4 + seed * 70) & 0xFF);
            if (holes && (std::abs(u - 32) > 20 - v / 4 || v < 4)) c = makecol32(255, 0, 255);
            putpixel(bmp, x, y, c);
        }
    }
    const std::string path = dir + "/" + name + ".bmp";
    save_bitmap(path.c_str(), bmp, nullptr);
    destroy_bitmap(bmp);
    return path;
}

// Texture sides by role: three sprites (two monsters and a lamp), two walls, a floor, a ceiling,
// and where given another floor and ceiling for every other room.
struct Kit {
    const char* name;
    Side sprite[3], wall[2], floor, ceiling;
    Side otherFloor{}, otherCeiling{};
};

const Kit KITS[] = {
    {"one size 64", {{64, 64}, {64, 64}, {64, 64}}, {{64, 64}, {64, 64}}, {64, 64}, {64, 64}},
    {"mixed sizes", {{32, 64}, {64, 64}, {128, 128}}, {{16, 16}, {128, 128}}, {64, 64}, {32, 32}},
    {"non-square", {{64, 32}, {16, 64}, {128, 64}}, {{128, 32}, {32, 256}}, {64, 16}, {16, 128}},
    {"room sizes", {{32, 64}, {64, 64}, {128, 128}}, {{16, 16}, {64, 64}}, {64, 64}, {32, 32}, {128, 128}, {16, 32}},
};

// A 24 x 24 level: rooms and pillars, half the cells under open sky, 50 sprites spread out.
std::string busyLevel(const std::string& dir, const Kit& kit, std::vector<std::string>& files) {
    levelfile::Level level;
    for (int i = 0; i < 3; ++i) level.texturePaths.push_back(makeTexture(dir, "sprite" + std::to_string(i), kit.sprite[i], i + 1, true));
    for (int i = 0; i < 2; ++i) level.texturePaths.push_back(makeTexture(dir, "wall" + std::to_string(i), kit.wall[i], i + 4, false));
    level.texturePaths.push_back(makeTexture(dir, "floor", kit.floor, 6, false));
    level.texturePaths.push_back(makeTexture(dir, "ceiling", kit.ceiling, 7, false));
    const bool rooms = kit.otherFloor.w > 0;
    if (rooms) {
        level.texturePaths.push_back(makeTexture(dir, "otherfloor", kit.otherFloor, 8, false));
        level.texturePaths.push_back(makeTexture(dir, "otherceiling", kit.otherCeiling, 9, false));
    }
    files.insert(files.end(), level.texturePaths.begin(), level.texturePaths.end());
    level.width = level.height = 24;
    for (int j = 0; j < 24; ++j) {
        for (int i = 0; i < 24; ++i) {
            const bool wall = i == 0 || j == 0 || i == 23 || j == 23 || (i % 6 == 3 && j % 5 == 2) ||
                              (j == 12 && i > 4 && i < 10);
            const unsigned short code = static_cast<unsigned short>(wall ? 3 + (i + j) % 2 : 0xFFFF);
            level.walls.push_back(code);
            const int room = rooms && (i / 6 + j / 5) % 2 ? 2 : 0;  // every other room: codes two on
            level.floors.push_back(static_cast<unsigned char>(wall ? code : 5 + room));
            level.ceilings.push_back(static_cast<unsigned char>(wall ? code : (i < 12 ? 6 + room : 0xFF)));
        }
    }
    level.startX = 20.5f;
    level.startY = 18.5f;
    level.skyRed = 90;
    level.skyGreen = 120;
    level.skyBlue = 200;
    for (int s = 0; s < 50; ++s) {
        const float x = 1.5f + static_cast<float>((s * 7) % 21), y = 1.3f + static_cast<float>((s * 11) % 21);
        level.sprites.push_back({x, y, 1, static_cast<unsigned short>(s % 3)});
    }
    return levelfile::write(level);
}

struct Buffers {
    Buffers(int w, int h) : pixels(size_t(w) * h), columns(w), depth(w) {
        for (int x = 0; x < w; ++x) columns[x] = pixels.data() + size_t(x) * h;
    }
    std::vector<int> pixels;
    std::vector<int*> columns;
    std::vector<float> depth;
};

// Processor time of this thread: on a shared machine, time spent waiting for a core is not counted.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Runs per second of processor time of two ways of doing one job, measured in alternating slices
// of about 50 ms for at least `seconds` each, so that a change of load on the machine hits both alike.
template <typename A, typename B>
std::pair<double, double> measurePair(A first, B second, double seconds) {
    first();  // warm the caches
    second();
    int runs[2] = {0, 0};
    double spent[2] = {0.0, 0.0};
    while (spent[0] < seconds || spent[1] < seconds) {
        for (int which = 0; which < 2; ++which) {
            const double start = threadSeconds();
            double elapsed = 0.0;
            do {
                which == 0 ? first() : second();
                ++runs[which];
                elapsed = threadSeconds() - start;
            } while (elapsed < 0.05);
            spent[which] += elapsed;
        }
    }
    return {runs[0] / spent[0], runs[1] / spent[1]};
}

void place(Kelda_engine& e, int frame) {
    // Looking back across the level, swinging a little so that every frame differs.
    const float a = 0.6f + 0.01f * static_cast<float>(frame % 50);
    e.posX = 20.5f;
    e.posY = 18.5f;
    e.dirX = -std::cos(a);
    e.dirY = -std::sin(a);
    e.planeX = -0.66f * std::sin(a);
    e.planeY = 0.66f * std::cos(a);
}

bool renderFigures(const std::string& levelBytes, const Kit& kit, int depth, Side size, double seconds) {
    set_color_depth(depth);
    Kelda_engine e;
    std::istringstream in(levelBytes);
    const std::string problem = e.loadStream(in);
    if (!problem.empty()) {
        std::fprintf(stderr, "bench_render: the scene does not load: %s\n", problem.c_str());
        return false;
    }
    const int w = size.w, h = size.h;
    Buffers mine(w, h), ref(w, h);
    e.setBuffers(mine.columns.data(), mine.depth.data(), w, h);
    std::vector<unsigned char> refVisible(e.spriteCount);
    std::vector<int> order(e.spriteCount);
    std::vector<float> distance(e.spriteCount);
    ReferenceOutput out{ref.columns.data(), ref.depth.data(), refVisible.data(), order.data(), distance.data(), -1};
    place(e, 0);
    e.render();
    referenceRender(e, out);
    if (mine.pixels != ref.pixels) {
        std::fprintf(stderr, "bench_render: engine and reference differ: %s, %dx%d, %d-bit\n", kit.name, w, h, depth);
        return false;
    }
    int frame = 0;
    const auto r = measurePair([&] { place(e, ++frame), e.render(); },
                               [&] { place(e, ++frame), referenceRender(e, out); }, seconds);
    std::printf("  %-12s %4dx%-4d %2d-bit  engine %7.1f fps  reference %6.1f fps  %5.2fx\n", kit.name, w, h, depth,
                r.first, r.second, r.first / r.second);
    std::fflush(stdout);
    return true;
}

void copyFigures(int depth, Side size, double seconds) {
    const int w = size.w, h = size.h;
    Buffers columns(w, h);
    for (size_t i = 0; i < columns.pixels.size(); ++i) columns.pixels[i] = static_cast<int>(i * 2654435761u) & 0xFFFFFF;
    BITMAP* back = create_bitmap_ex(depth, w, h);
    const size_t bytes = size_t(w) * h * ((depth + 7) / 8);
    std::vector<unsigned char> from(bytes, 1), to(bytes);
    const auto r = measurePair([&] { copyColumnsToBitmap(columns.columns.data(), w, h, back); },
                               [&] { std::memcpy(to.data(), from.data(), bytes); }, seconds);
    std::printf("  frame copy   %4dx%-4d %2d-bit  %6.3f ms   memcpy of %5.1f MB %6.3f ms   %5.2fx memcpy's time\n", w, h,
                depth, 1000.0 / r.first, bytes / 1e6, 1000.0 / r.second, r.second / r.first);
    std::fflush(stdout);
    destroy_bitmap(back);
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 1.0;
    std::vector<Side> sizes;
    for (int i = 1; i < argc; ++i) {
        Side s{};
        if (std::sscanf(argv[i], "%dx%d", &s.w, &s.h) == 2 && s.w > 0 && s.h > 0)
            sizes.push_back(s);
        else if (std::atof(argv[i]) > 0.0)
            seconds = std::atof(argv[i]);
    }
    if (sizes.empty()) sizes = {{800, 600}, {1920, 1080}, {3840, 2160}};
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 2;
    char dir[] = "/tmp/brawnwick-bench-XXXXXX";
    if (!mkdtemp(dir)) return 2;
    std::vector<std::string> files;
    std::vector<std::string> levels;
    set_color_depth(32);
    for (const Kit& kit : KITS) levels.push_back(busyLevel(dir, kit, files));
    std::printf("Busy 24x24 level, textured floors, ceilings and open sky, 50 sprites; %.1f s per figure\n", seconds);
    bool ok = true;
    for (int depth : {32, 24, 16, 15}) {
        for (const Side& size : sizes) {
            for (size_t k = 0; k < levels.size(); ++k) ok = renderFigures(levels[k], KITS[k], depth, size, seconds) && ok;
            copyFigures(depth, size, seconds / 2);
        }
    }
    for (const std::string& f : files) std::remove(f.c_str());
    rmdir(dir);
    return ok ? 0 : 1;
}
