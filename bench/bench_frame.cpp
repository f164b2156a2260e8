// The whole frame as the level loop draws it (render, copy into the back buffer, heads-up display)
// on the largest shipped level, in every colour depth, and what each part takes. Run it from the
// folder the game runs in. Usage: bench_frame [SECONDS] [WIDTHxHEIGHT] (default 1 s, 1920x1080).
#include <allegro.h>

#include <dirent.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/datafileCheck.h"
#include "engine/engine.h"
#include "engine/levelLoad.h"
#include "game/hud.h"
#include "game/weapons.h"
#include "settings/global.h"

namespace {

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The shipped level with the most cells.
std::string largestLevel(int& cells) {
    std::string best;
    cells = 0;
    for (int n = 0;; ++n) {
        const std::string path = levelPath(n);
        Kelda_engine e;
        if (loadLevel(e, path).kind != LevelLoad::ok) break;
        if (e.mapWidth * e.mapHeight > cells) cells = e.mapWidth * e.mapHeight, best = path;
    }
    return best;
}

bool loadWeaponFrames(int side) {
    const char* files[WEAPON_COUNT] = {"gfx/Hunter", "gfx/Impactcannon", "gfx/Buzzsaw"};
    BITMAP** tables[WEAPON_COUNT] = {weapon1, weapon2, weapon3};
    for (int w = 0; w < WEAPON_COUNT; ++w)
        for (int i = 0; i < WEAPON_FRAMES; ++i) {
            BITMAP* loaded = load_bitmap((std::string(files[w]) + std::to_string(i + 1) + ".bmp").c_str(), nullptr);
            if (!loaded) return false;
            tables[w][i] = create_bitmap(side, side);
            stretch_blit(loaded, tables[w][i], 0, 0, loaded->w, loaded->h, 0, 0, side, side);
            destroy_bitmap(loaded);
        }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 1.0;
    int W = 1920, H = 1080;
    for (int i = 1; i < argc; ++i) {
        int w = 0, h = 0;
        if (std::sscanf(argv[i], "%dx%d", &w, &h) == 2)
            W = w, H = h;
        else if (std::atof(argv[i]) > 0.0)
            seconds = std::atof(argv[i]);
    }
    if (W <= 0 || H <= 0 || install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 2;
    int cells = 0;
    set_color_depth(32);
    const std::string level = largestLevel(cells);
    if (level.empty()) {
        std::fprintf(stderr, "bench_frame: no level in maps/; run it from the game's folder\n");
        return 2;
    }
    std::printf("Whole frame on %s (%d cells) at %dx%d, %.1f s of processor time per depth\n", level.c_str(), cells, W,
                H, seconds);
    for (int depth : {32, 24, 16, 15}) {
        set_color_depth(depth);
        DATAFILE* data = loadCheckedDatafile("data/data.dat");
        global.buffer = create_bitmap(W, H);
        global.crosshair = load_bitmap("gfx/crosshair.tga", nullptr);
        if (!data || !global.crosshair || !loadWeaponFrames(static_cast<int>(H * 0.6))) {
            std::fprintf(stderr, "bench_frame: the game's art does not load; run it from the game's folder\n");
            return 2;
        }
        makeWeaponSprites();  // as the game does once it has loaded the frames
        global.textFont = global.menuFont = static_cast<FONT*>(data[1].dat);
        Kelda_engine e;
        loadLevel(e, level);
        std::vector<int> pixels(size_t(W) * H);
        std::vector<int*> columns(W);
        std::vector<float> depthBuffer(W);
        for (int x = 0; x < W; ++x) columns[x] = pixels.data() + size_t(x) * H;
        e.setBuffers(columns.data(), depthBuffer.data(), W, H);
        LevelState state;
        state.health = MAX_HEALTH, state.healthUnit = (W - 20) / 5, state.lives = 3, state.showFps = true;
        const HudArt art = campaignHudArt();
        const float startX = e.posX, startY = e.posY;

        double spent[3] = {0, 0, 0};
        int frames = 0;
        while (spent[0] + spent[1] + spent[2] < seconds) {
            // Turning on the spot at the start, a full circle every 200 frames.
            const float a = 0.0314159f * static_cast<float>(frames % 200);
            e.posX = startX, e.posY = startY;
            e.dirX = -std::cos(a), e.dirY = -std::sin(a), e.planeX = -0.66f * std::sin(a), e.planeY = 0.66f * std::cos(a);
            double t0 = threadSeconds();
            e.render();
            double t1 = threadSeconds();
            copyColumnsToBitmap(columns.data(), W, H, global.buffer);
            double t2 = threadSeconds();
            drawHud(global.buffer, state, art, 0.004f);
            double t3 = threadSeconds();
            spent[0] += t1 - t0, spent[1] += t2 - t1, spent[2] += t3 - t2;
            ++frames;
        }
        const double total = spent[0] + spent[1] + spent[2];
        std::printf("  %2d-bit  %7.1f frames/s   render %6.3f ms  copy %6.3f ms  HUD %6.3f ms\n", depth, frames / total,
                    1000 * spent[0] / frames, 1000 * spent[1] / frames, 1000 * spent[2] / frames);
        releaseWeaponSprites();
        BITMAP** tables[WEAPON_COUNT] = {weapon1, weapon2, weapon3};
        for (BITMAP** table : tables)
            for (int i = 0; i < WEAPON_FRAMES; ++i) destroy_bitmap(table[i]), table[i] = nullptr;
        destroy_bitmap(global.crosshair), destroy_bitmap(global.buffer);
        global.crosshair = global.buffer = nullptr;
        unload_datafile(data);
    }
    return 0;
}
