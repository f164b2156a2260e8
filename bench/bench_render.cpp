// Frames per second of the renderer against its plain getpixel reference, on one busy scene
// (walls, textured floors and ceilings, open sky, 50 sprites), and of the two ways to copy the
// column buffer into the back buffer. Both renderers draw the same picture; that is checked first.
#include <allegro.h>

#include <unistd.h>

#include <cerrno>
#include <chrono>
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

using Clock = std::chrono::steady_clock;

std::string makeTexture(const std::string& dir, const char* name, int seed, bool holes) {
    BITMAP* bmp = create_bitmap_ex(32, 64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            int c = makecol32((x * 4 + seed * 50) & 0xFF, (y * 4 + seed * 30) & 0xFF, ((x ^ y) * 4 + seed * 70) & 0xFF);
            if (holes && (std::abs(x - 32) > 20 - y / 4 || y < 4)) c = makecol32(255, 0, 255);
            putpixel(bmp, x, y, c);
        }
    }
    std::string path = dir + "/" + name;
    save_bitmap(path.c_str(), bmp, nullptr);
    destroy_bitmap(bmp);
    return path;
}

// A 24 x 24 level: rooms and pillars, half the cells under open sky, 50 sprites spread out.
std::string busyLevel(const std::string& dir) {
    levelfile::Level level;
    level.texturePaths = {makeTexture(dir, "monster.bmp", 1, true), makeTexture(dir, "lamp.bmp", 2, true),
                          makeTexture(dir, "stone.bmp", 3, false),  makeTexture(dir, "brick.bmp", 4, false),
                          makeTexture(dir, "tiles.bmp", 5, false),  makeTexture(dir, "beams.bmp", 6, false)};
    level.width = level.height = 24;
    for (int j = 0; j < 24; ++j) {
        for (int i = 0; i < 24; ++i) {
            const bool wall = i == 0 || j == 0 || i == 23 || j == 23 || (i % 6 == 3 && j % 5 == 2) ||
                              (j == 12 && i > 4 && i < 10);
            const unsigned short code = static_cast<unsigned short>(wall ? 2 + (i + j) % 2 : 0xFFFF);
            level.walls.push_back(code);
            level.floors.push_back(static_cast<unsigned char>(wall ? code : 4));
            level.ceilings.push_back(static_cast<unsigned char>(wall ? code : (i < 12 ? 5 : 0xFF)));
        }
    }
    level.startX = 20.5f;
    level.startY = 18.5f;
    level.skyRed = 90;
    level.skyGreen = 120;
    level.skyBlue = 200;
    for (int s = 0; s < 50; ++s) {
        const float x = 1.5f + static_cast<float>((s * 7) % 21), y = 1.3f + static_cast<float>((s * 11) % 21);
        level.sprites.push_back({x, y, 1, static_cast<unsigned short>(s % 2)});
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

// Frames per second of two ways of doing one job, measured in alternating slices of about 50 ms
// for at least `seconds` each, so that a change of load on the machine hits both alike.
template <typename A, typename B>
std::pair<double, double> measurePair(A first, B second, double seconds) {
    first();  // warm the caches
    second();
    int frames[2] = {0, 0};
    double spent[2] = {0.0, 0.0};
    while (spent[0] < seconds || spent[1] < seconds) {
        for (int which = 0; which < 2; ++which) {
            const auto start = Clock::now();
            double elapsed = 0.0;
            do {
                which == 0 ? first() : second();
                ++frames[which];
                elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            } while (elapsed < 0.05);
            spent[which] += elapsed;
        }
    }
    return {frames[0] / spent[0], frames[1] / spent[1]};
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

bool runScene(const std::string& levelBytes, int depth, int w, int h, double seconds) {
    set_color_depth(depth);
    Kelda_engine e;
    std::istringstream in(levelBytes);
    const std::string problem = e.loadStream(in);
    if (!problem.empty()) {
        std::fprintf(stderr, "bench_render: the scene does not load: %s\n", problem.c_str());
        return false;
    }
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
        std::fprintf(stderr, "bench_render: engine and reference pictures differ at %dx%d, %d-bit\n", w, h, depth);
        return false;
    }

    int frame = 0;
    const auto render = measurePair([&] { place(e, ++frame), e.render(); },
                                    [&] { place(e, ++frame), referenceRender(e, out); }, seconds);

    BITMAP* back = create_bitmap_ex(depth, w, h);
    const auto copy = measurePair([&] { copyColumnsToBitmap(mine.columns.data(), w, h, back); },
                                  [&] {
                                      for (int x = 0; x < w; ++x)
                                          for (int y = 0; y < h; ++y) putpixel(back, x, y, mine.columns[x][y]);
                                  },
                                  seconds / 2);
    destroy_bitmap(back);
    const double engineFps = render.first, referenceFps = render.second;
    const double copyFast = copy.first, copySlow = copy.second;

    std::printf("%4dx%-4d %2d-bit  render: engine %8.1f fps  reference %7.1f fps  ratio %5.2fx   "
                "copy: rows %8.1f fps  putpixel %7.1f fps  ratio %5.2fx\n",
                w, h, depth, engineFps, referenceFps, engineFps / referenceFps, copyFast, copySlow, copyFast / copySlow);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 2.0;
    if (argc > 1) seconds = std::atof(argv[1]);
    if (!(seconds > 0.0)) seconds = 2.0;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 2;
    set_color_depth(32);
    char dir[] = "/tmp/brawnwick-bench-XXXXXX";
    if (!mkdtemp(dir)) return 2;
    const std::string level = busyLevel(dir);
    std::printf("Busy scene: 24x24 cells, textured floors and ceilings, open sky, 50 sprites; %.1f s per figure\n",
                seconds);
    bool ok = true;
    for (int depth : {32, 16})
        for (const auto& size : {std::pair<int, int>{800, 600}, {1920, 1080}})
            ok = runScene(level, depth, size.first, size.second, seconds) && ok;
    for (const char* name : {"monster.bmp", "lamp.bmp", "stone.bmp", "brick.bmp", "tiles.bmp", "beams.bmp"})
        std::remove((std::string(dir) + "/" + name).c_str());
    rmdir(dir);
    return ok ? 0 : 1;
}
