#include "assets/preview/scene.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "engine/engine.h"
#include "game/hud.h"
#include "level/levelfile.h"
#include "level/levelsource.h"
#include "settings/global.h"

namespace preview {
namespace {

// Every wall, floor and ceiling texture once, four rooms' worth of floors and a strip of sky.
const char ROOM[] = R"(texture gfx/sprites/monster0.bmp
texture gfx/sprites/monster1.bmp
texture gfx/sprites/monster2.bmp
texture gfx/sprites/lamp.bmp       ; 3
texture gfx/sprites/barrel.bmp
texture gfx/sprites/pillar.bmp
texture gfx/sprites/plant.bmp
texture gfx/walls/stone.bmp        ; 7
texture gfx/walls/brick.bmp
texture gfx/walls/redbrick.bmp
texture gfx/walls/mossy.bmp
texture gfx/walls/metal.bmp
texture gfx/walls/tech.bmp
texture gfx/walls/wood.bmp
texture gfx/walls/crate.bmp
texture gfx/walls/door.bmp
texture gfx/walls/panel.bmp
texture gfx/walls/marble.bmp
texture gfx/walls/window.bmp       ; 18
texture gfx/floors/tiles.bmp       ; 19
texture gfx/floors/grass.bmp
texture gfx/floors/planks.bmp
texture gfx/floors/dirt.bmp
texture gfx/floors/flagstone.bmp
texture gfx/ceilings/beams.bmp     ; 24
texture gfx/ceilings/plaster.bmp
texture gfx/ceilings/metalgrid.bmp

sky 40 50 90
start 1.6 5.0

wall A 7
wall B 8
wall C 9
wall D 10
wall E 11
wall F 12
wall G 13
wall H 14
wall I 15
wall J 16
wall K 17
wall L 18
floor . 19 24
floor _ 20 sky
floor , 23 25
floor ^ 23 sky
floor - 21 24
floor ~ 21 sky
floor = 22 26
floor + 22 sky

map
AAAABBBCCCCA
A...._~~---D
E...._~~---D
E...F_~G---H
I...._~~---H
I,,,,^++===J
K,,,L^+A===J
K,,,,^++===A
A,,,,^++===A
AAAAAAAAAAAA
end

sprite 3.5 2.5 health 1 texture 0
sprite 6.0 4.6 health 2 texture 1
sprite 9.5 6.5 health 4 texture 2
sprite 8.5 2.0 health 0 texture 3
sprite 2.5 7.5 health 0 texture 4
sprite 6.5 8.0 health 0 texture 5
sprite 10.5 1.5 health 0 texture 6
sprite 4.2 4.8 health 1 texture 0
sprite 8.0 8.2 health 4 texture 2
)";

const char* const WEAPON_FILES[WEAPON_COUNT] = {"gfx/Hunter", "gfx/Impactcannon", "gfx/Buzzsaw"};

bool loadRoom(Kelda_engine& engine) {
    levelfile::Level level;
    std::string error;
    if (!levelsource::compile(ROOM, level, error)) {
        std::fprintf(stderr, "preview: test room: %s\n", error.c_str());
        return false;
    }
    std::istringstream in(levelfile::write(level));
    error = engine.loadStream(in);
    if (!error.empty()) std::fprintf(stderr, "preview: test room: %s\n", error.c_str());
    return error.empty();
}

}  // namespace

BITMAP* renderScene(const ScenePose& pose, int width, int height) {
    Kelda_engine engine;
    if (!loadRoom(engine)) return nullptr;
    std::vector<int> pixels(static_cast<size_t>(width) * height);
    std::vector<int*> columns(width);
    std::vector<float> depth(width);
    for (int x = 0; x < width; ++x) columns[x] = pixels.data() + static_cast<size_t>(x) * height;
    engine.setBuffers(columns.data(), depth.data(), width, height);
    engine.setCamera(pose.x, pose.y);
    engine.dirX = std::cos(pose.angle);
    engine.dirY = std::sin(pose.angle);
    // The plane as the game keeps it while turning: the direction turned, 0.66 long.
    engine.planeX = engine.dirY * 0.66f;
    engine.planeY = -engine.dirX * 0.66f;
    engine.inRange();
    engine.render();

    BITMAP* frame = create_bitmap(width, height);
    copyColumnsToBitmap(columns.data(), width, height, frame);

    BITMAP* weapon[WEAPON_FRAMES] = {};
    for (int f = 0; f < WEAPON_FRAMES; ++f) {
        const std::string path = WEAPON_FILES[pose.weapon] + std::to_string(f + 1) + ".bmp";
        weapon[f] = load_bitmap(path.c_str(), nullptr);
        if (!weapon[f]) std::fprintf(stderr, "preview: cannot load %s\n", path.c_str());
    }
    HudArt art;
    art.weapons[pose.weapon] = weapon;
    art.crosshair = global.crosshair;
    art.textFont = global.textFont;
    art.menuFont = global.menuFont;
    LevelState state;
    state.points = 16;
    state.impactBullets = 15;
    state.lives = 3;
    state.health = 4;
    state.healthUnit = (width - 20) / MAX_HEALTH;
    state.weapon = pose.weapon;
    state.weaponFrame = pose.frame;
    state.message = "Extra ammo";
    state.messageTimer = 1;
    drawHud(frame, state, art, 1.0f / 60);
    for (BITMAP* b : weapon)
        if (b) destroy_bitmap(b);
    return frame;
}

}  // namespace preview
