// Plays the shipped levels frame after frame with scripted keys (walking, turning, strafing,
// firing, weapon changes) and restarts, and watches the heap and the resident set: a level
// loop that keeps allocating shows up here long before a player would notice. The input of
// every frame is made here and handed to the level through a stand-in for the platform, so
// the run is the same on every machine.
//
// usage: soak_level [FRAMES] [MAX_HEAP_GROWTH_KIB]   (run from the repository root)
// Prints the figures; exits 1 when the heap in use after warm-up grew by more than the bound.
#include <allegro.h>

#include <malloc.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>
#include <string>
#include <vector>

#include "core/ElementaryFunctions.h"
#include "core/constants.h"
#include "game/levelLoop.h"
#include "game/weapons.h"
#include "platform/platform.h"
#include "settings/global.h"
#include "../unit/game/play_fixture.h"

namespace {
const int VIEW_W = 320;
const int VIEW_H = 200;
const int RESTART_EVERY = 150;  // frames; a level also restarts when it ends

// What the level sees: the scripted keys, one tick a frame and a clock that moves with the frames.
platform::Input input;

long residentKiB() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
long heapInUseKiB() { return static_cast<long>(mallinfo2().uordblks / 1024); }

// The keys held in a frame: a loop of walking, turning both ways, strafing and firing,
// with a weapon change now and then.
void scriptKeys(long frame) {
    auto& key = input.held;
    key.fill(false);
    const long phase = frame % 320;
    if (phase < 80) key[KEY_W] = true;
    else if (phase < 120) key[KEY_LEFT] = true;
    else if (phase < 180) key[KEY_S] = key[KEY_A] = true;
    else if (phase < 220) key[KEY_RIGHT] = true;
    else if (phase < 260) key[KEY_D] = key[KEY_W] = true;
    if ((frame / 7) % 3 == 0) key[KEY_SPACE] = true;
    if (frame % 500 == 100) key[KEY_1 + static_cast<int>((frame / 500) % 3)] = true;
    if (frame % 2000 == 1500) key[KEY_F11] = true;  // bullets for the other weapons
}

// The library's backend with the input, the ticks and the question replaced by the script's.
void useScriptedPlatform() {
    platform::Backend b = platform::libraryBackend();
    b.poll = [] { return input; };
    b.takeEvents = [](platform::Input&) {};
    b.takeTicks = [](int n) { input.ticks = n < 0 ? 0 : input.ticks - n; };
    b.ask = [](const std::string&, const std::string&, const std::string&, const std::string&) { return 2; };
    b.playSample = [](SAMPLE*, int, int, int, bool) {};
    platform::backend() = b;
}

void loadArt() {
    const char* names[WEAPON_COUNT] = {"gfx/Hunter", "gfx/Impactcannon", "gfx/Buzzsaw"};
    BITMAP** tables[WEAPON_COUNT] = {weapon1, weapon2, weapon3};
    const int side = static_cast<int>(VIEW_H * 0.6);
    for (int w = 0; w < WEAPON_COUNT; ++w)
        for (int i = 0; i < WEAPON_FRAMES; ++i) {
            BITMAP* loaded = loadBitmap(std::string(names[w]) + std::to_string(i + 1) + ".bmp");
            BITMAP* frame = createBitmap(side, side);
            stretch_blit(loaded, frame, 0, 0, loaded->w, loaded->h, 0, 0, side, side);
            destroy_bitmap(loaded);
            tables[w][i] = frame;
        }
    global.crosshair = loadBitmap("gfx/crosshair.tga");
    global.data = load_datafile("data/data.dat");
    if (!global.data) {
        std::fprintf(stderr, "soak_level: data/data.dat not found; run from the repository root\n");
        std::exit(2);
    }
    global.menuFont = static_cast<FONT*>(global.data[0].dat);
    global.textFont = static_cast<FONT*>(global.data[1].dat);
}

int levelCount() {
    int n = 0;
    while (fileExists(levelPath(n))) ++n;
    return n;
}
}  // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::atol(argv[1]) : 100000;
    const long boundKiB = argc > 2 ? std::atol(argv[2]) : 256;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 2;
    set_color_depth(32);
    set_uformat(U_ASCII);
    const int levels = levelCount();
    if (levels == 0) {
        std::fprintf(stderr, "soak_level: no maps/0.map; run from the repository root\n");
        return 2;
    }
    useScriptedPlatform();
    input.now = 1000.0;
    PlayStage view(VIEW_W, VIEW_H);  // the back buffer and the default play keys
    loadArt();

    std::unique_ptr<Kelda_engine> engine;
    std::unique_ptr<LevelRun> run;
    int level = 0, starts = 0, deaths = 0, wins = 0;
    auto startLevel = [&]() {
        run.reset();
        engine.reset(new Kelda_engine());
        LevelLoad load = loadLevel(*engine, levelPath(level));
        if (load.kind != LevelLoad::ok) {
            std::fprintf(stderr, "soak_level: %s: %s\n", levelPath(level).c_str(), load.detail.c_str());
            std::exit(2);
        }
        LevelState counters;
        counters.lives = 3;
        run.reset(new LevelRun(*engine, level, view.depth.data(), view.columns.data(), counters));
        ++starts;
        level = (level + 1) % levels;
    };

    // The heap is compared at the same moment of the same level: right after it was loaded.
    // The first round of every level is warm-up (caches, the library's tables, the allocator's
    // arenas); each later start of a level must find the heap where that level's second start did.
    std::vector<long> heapAtStart(static_cast<size_t>(levels), -1);
    long growth = 0, rssBase = 0, rssMax = 0;
    auto measureStart = [&](int startedLevel) {
        if (starts <= levels) return;  // warm-up
        const long heap = heapInUseKiB();
        long& base = heapAtStart[static_cast<size_t>(startedLevel)];
        if (base < 0) base = heap;
        growth = std::max(growth, heap - base);
        if (rssBase == 0) rssBase = residentKiB();
        rssMax = std::max(rssMax, residentKiB());
    };
    startLevel();
    std::printf("soak_level: %ld frames at %dx%d over %d levels\n", total, VIEW_W, VIEW_H, levels);
    std::printf("%10s %8s %12s %10s\n", "frame", "starts", "heap KiB", "RSS KiB");
    const long sampleEvery = std::max(1L, total / 20);
    for (long frame = 0; frame < total; ++frame) {
        run->draw();
        scriptKeys(frame);
        input.now += 1.0 / TIMER_FPS;
        ++input.ticks;
        bool goesOn = run->step(platform::poll());
        if (!goesOn) {
            const int result = run->finish();
            if (result == LEVEL_DIED) ++deaths;
            else ++wins;
        }
        if (!goesOn || frame % RESTART_EVERY == RESTART_EVERY - 1) {
            const int started = level;
            startLevel();
            measureStart(started);
        }
        if (frame % sampleEvery == 0 || frame == total - 1)
            std::printf("%10ld %8d %12ld %10ld\n", frame, starts, heapInUseKiB(), residentKiB());
    }
    run.reset();
    engine.reset();
    const long heapEnd = heapInUseKiB(), rssEnd = residentKiB();
    std::printf("level starts %d, deaths %d, levels ended otherwise %d\n", starts, deaths, wins);
    if (starts <= 2 * levels) {
        std::printf("FAIL: too few level starts to compare (%d); run more frames\n", starts);
        return 1;
    }
    std::printf("heap growth at a level's start after warm-up: %+ld KiB (bound %ld KiB)\n", growth, boundKiB);
    std::printf("RSS after warm-up %ld KiB, highest since %ld KiB (%+ld), at the end %ld KiB\n", rssBase, rssMax,
                rssMax - rssBase, rssEnd);
    std::printf("heap in use at the end, level released: %ld KiB\n", heapEnd);
    if (growth > boundKiB) {
        std::printf("FAIL: the heap grew by more than %ld KiB\n", boundKiB);
        return 1;
    }
    std::printf("ok\n");
    return 0;
}
