// Plays the shipped levels frame after frame with scripted keys (walking, turning, strafing, firing,
// weapon changes) and restarts, watching the heap: a level loop that keeps allocating shows up here
// long before a player would notice. Every frame's input is made here, so each run is the same.
// usage: soak_level [FRAMES] [MAX_HEAP_GROWTH_KIB]  (from the repository root); exits 1 past the bound.
#include <allegro.h>

#include <malloc.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../unit/game/play_fixture.h"
#include "core/ElementaryFunctions.h"
#include "core/constants.h"
#include "game/levelLoop.h"
#include "game/weapons.h"
#include "platform/platform.h"

namespace {
const int VIEW_W = 320, VIEW_H = 200, RESTART_EVERY = 150;  // frames; a level also restarts when it ends
platform::Input input;  // what the level sees: the scripted keys, one tick a frame, a clock moved with them

long heapInUseKiB() { return static_cast<long>(mallinfo2().uordblks / 1024); }

void scriptKeys(long frame) {
    auto& key = input.held;
    key.fill(false);
    const long phase = frame % 320;
    if (phase < 80) key[KEY_W] = true;
    else if (phase < 120) key[KEY_LEFT] = true;
    else if (phase < 180) key[KEY_S] = key[KEY_A] = true;
    else if (phase < 220) key[KEY_RIGHT] = true;
    else if (phase < 260) key[KEY_D] = key[KEY_W] = true;
    key[KEY_SPACE] = (frame / 7) % 3 == 0;
    if (frame % 500 == 100) key[KEY_1 + static_cast<int>((frame / 500) % 3)] = true;
    if (frame % 2000 == 1500) key[KEY_F11] = true;  // bullets for the other weapons
}

void loadArt() {
    const char* names[WEAPON_COUNT] = {"gfx/Hunter", "gfx/Impactcannon", "gfx/Buzzsaw"};
    BITMAP** tables[WEAPON_COUNT] = {weapon1, weapon2, weapon3};
    for (int w = 0; w < WEAPON_COUNT; ++w)
        for (int i = 0; i < WEAPON_FRAMES; ++i) {
            BITMAP* loaded = loadBitmap(std::string(names[w]) + std::to_string(i + 1) + ".bmp");
            tables[w][i] = createBitmap(VIEW_H * 6 / 10, VIEW_H * 6 / 10);
            stretch_blit(loaded, tables[w][i], 0, 0, loaded->w, loaded->h, 0, 0, tables[w][i]->w, tables[w][i]->h);
            destroy_bitmap(loaded);
        }
    global.crosshair = loadBitmap("gfx/crosshair.tga");
    if (!(global.data = load_datafile("data/data.dat")))
        std::fprintf(stderr, "soak_level: no data/data.dat; run from the repository root\n"), std::exit(2);
    global.menuFont = static_cast<FONT*>(global.data[0].dat);
    global.textFont = static_cast<FONT*>(global.data[1].dat);
}
}  // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::atol(argv[1]) : 100000, boundKiB = argc > 2 ? std::atol(argv[2]) : 256;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 2;
    set_color_depth(32), set_uformat(U_ASCII);
    int levels = 0;
    while (fileExists(levelPath(levels))) ++levels;
    if (levels == 0) return std::fprintf(stderr, "soak_level: no maps/0.map; run from the repository root\n"), 2;
    platform::Backend b = platform::libraryBackend();  // the library's, with the script's input, ticks and answers
    b.poll = [] { return input; };
    b.takeTicks = [](int n) { input.ticks = n < 0 ? 0 : input.ticks - n; };
    b.ask = [](const std::string&, const std::string&, const std::string&, const std::string&) { return 2; };
    b.playSample = [](SAMPLE*, int, int, int, bool) {};
    platform::backend() = b;
    input.now = 1000.0;
    PlayStage view(VIEW_W, VIEW_H);  // the back buffer and the default play keys
    loadArt();
    std::unique_ptr<Kelda_engine> engine;
    std::unique_ptr<LevelRun> run;
    int level = 0, starts = 0, deaths = 0;
    // Each start of a level after the warm-up round (caches, the library's tables, the allocator's
    // arenas) must find the heap, right after loading, where that level's second start did.
    long growth = 0;
    std::vector<long> heapAtStart(static_cast<size_t>(levels), -1);
    auto startLevel = [&]() {
        run.reset();
        engine.reset(new Kelda_engine());
        const LevelLoad load = loadLevel(*engine, levelPath(level));
        if (load.kind != LevelLoad::ok) std::fprintf(stderr, "soak_level: %s\n", load.detail.c_str()), std::exit(2);
        LevelState counters;
        counters.lives = 3;
        run.reset(new LevelRun(*engine, level, view.depth.data(), view.columns.data(), counters));
        if (++starts > levels) {
            long& base = heapAtStart[static_cast<size_t>(level)];
            if (base < 0) base = heapInUseKiB();
            growth = std::max(growth, heapInUseKiB() - base);
        }
        level = (level + 1) % levels;
    };
    startLevel();
    std::printf("soak_level: %ld frames at %dx%d over %d levels\n%10s %8s %12s\n", total, VIEW_W, VIEW_H, levels,
                "frame", "starts", "heap KiB");
    for (long frame = 0; frame < total; ++frame) {
        run->draw();
        scriptKeys(frame);
        input.now += 1.0 / TIMER_FPS, ++input.ticks;
        const bool goesOn = run->step(platform::poll());
        if (!goesOn && run->finish() == LEVEL_DIED) ++deaths;
        if (!goesOn || frame % RESTART_EVERY == RESTART_EVERY - 1) startLevel();
        if (frame % std::max(1L, total / 20) == 0 || frame == total - 1)
            std::printf("%10ld %8d %12ld\n", frame, starts, heapInUseKiB());
    }
    run.reset(), engine.reset();
    std::printf("level starts %d, deaths %d; heap in use at the end, level released: %ld KiB\n"
                "heap growth at a level's start after warm-up: %+ld KiB (bound %ld KiB)\n",
                starts, deaths, heapInUseKiB(), growth, boundKiB);
    if (starts <= 2 * levels) return std::printf("FAIL: too few level starts to compare; run more frames\n"), 1;
    if (growth > boundKiB) return std::printf("FAIL: the heap grew by more than %ld KiB\n", boundKiB), 1;
    return std::printf("ok\n"), 0;
}
