// Generates the game's pictures and sounds from code with fixed seeds.
//   brawnwick-assetgen ROOT STAGE
// ROOT is the repository (reads tools/assets/glyphs/, writes gfx/ and sfx/); STAGE receives the
// intro's pieces, which tools/assets/build-assets.sh packs into data/intro.dat with the dat tool.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

#include "assets/gen/audio.h"
#include "assets/gen/floors.h"
#include "assets/gen/image.h"
#include "assets/gen/intro_art.h"
#include "assets/gen/menu_art.h"
#include "assets/gen/music.h"
#include "assets/gen/sprites.h"
#include "assets/gen/walls.h"
#include "assets/gen/weapons.h"

namespace {

int failures = 0;

void put(const gen::Image& img, const std::string& path, bool keyed = false) {
    if (!gen::save(img, path, keyed)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        ++failures;
    }
}

void put(const gen::Wave& w, const std::string& path) {
    if (!gen::writeWav(w, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        ++failures;
    }
}

gen::Image mask(const std::string& root, const char* name) {
    gen::Image m = gen::loadMask(root + "/tools/assets/glyphs/" + name);
    if (m.w == 0) {
        std::fprintf(stderr, "missing glyph mask %s\n", name);
        ++failures;
        m = gen::Image(1, 1, gen::Col{}, 0);
    }
    return m;
}

void menus(const std::string& root) {
    const std::string gfx = root + "/gfx/";
    put(gen::mainMenuBackground(mask(root, "title.bmp")), gfx + "mainmenu.tga");
    put(gen::crosshair(), gfx + "crosshair.tga", true);
    put(gen::menuButton(true), gfx + "button.tga", true);
    put(gen::menuButton(false), gfx + "buttonpressed.tga", true);
    put(gen::inGameButton(true), gfx + "ingamebutton.tga", true);
    put(gen::inGameButton(false), gfx + "ingamebuttonpressed.tga", true);
}

void intro(const std::string& root, const std::string& stage) {
    // Letter prefixes keep the datafile's object order whether or not dat sorts by name.
    put(gen::introBackground(), stage + "/a_background.bmp");
    put(gen::studioLogo(mask(root, "logo.bmp")), stage + "/b_logo.bmp", true);
    put(gen::stepSound(), stage + "/c_step.wav");
    put(gen::emblem(mask(root, "emblem.bmp")), stage + "/d_emblem.bmp");
}

// One generated picture and where it goes under gfx/.
struct Art {
    gen::Image (*make)();
    const char* path;
};

void textures(const std::string& root) {
    const Art art[] = {
        {gen::wallStone, "walls/stone"}, {gen::wallBrick, "walls/brick"},
        {gen::wallRedBrick, "walls/redbrick"}, {gen::wallMossy, "walls/mossy"},
        {gen::wallMetal, "walls/metal"}, {gen::wallTech, "walls/tech"},
        {gen::wallWood, "walls/wood"}, {gen::wallCrate, "walls/crate"},
        {gen::wallDoor, "walls/door"}, {gen::wallPanel, "walls/panel"},
        {gen::wallMarble, "walls/marble"}, {gen::wallWindow, "walls/window"},
        {gen::wallCellar, "walls/cellar"}, {gen::wallRock, "walls/rock"},
        {gen::wallOreVein, "walls/orevein"}, {gen::wallShoring, "walls/shoring"},
        {gen::wallWhitewash, "walls/whitewash"}, {gen::wallTimber, "walls/timber"},
        {gen::wallPipes, "walls/pipes"}, {gen::wallFurnace, "walls/furnace"},
        {gen::wallBookshelf, "walls/bookshelf"}, {gen::wallTapestry, "walls/tapestry"},
        {gen::floorTiles, "floors/tiles"}, {gen::floorGrass, "floors/grass"},
        {gen::floorPlanks, "floors/planks"}, {gen::floorDirt, "floors/dirt"},
        {gen::floorFlagstone, "floors/flagstone"}, {gen::floorCobbles, "floors/cobbles"},
        {gen::floorGravel, "floors/gravel"}, {gen::floorCarpet, "floors/carpet"},
        {gen::floorGrating, "floors/grating"}, {gen::floorMosaic, "floors/mosaic"},
        {gen::ceilingBeams, "ceilings/beams"}, {gen::ceilingPlaster, "ceilings/plaster"},
        {gen::ceilingMetalGrid, "ceilings/metalgrid"}, {gen::ceilingRock, "ceilings/rock"},
        {gen::ceilingVault, "ceilings/vault"}, {gen::ceilingRafters, "ceilings/rafters"},
    };
    for (const Art& a : art) put(a.make(), root + "/gfx/" + a.path + ".bmp");
}

void sprites(const std::string& root) {
    const Art art[] = {
        {gen::monsterSlimeSpider, "monster0"}, {gen::monsterBrute, "monster1"},
        {gen::monsterEyeDemon, "monster2"}, {gen::spriteLamp, "lamp"},
        {gen::spriteBarrel, "barrel"}, {gen::spritePillar, "pillar"},
        {gen::spritePlant, "plant"}, {gen::spriteBrazier, "brazier"},
        {gen::spriteStatue, "statue"}, {gen::spriteMinecart, "minecart"},
        {gen::spriteTree, "tree"}, {gen::spriteAnvil, "anvil"},
        {gen::spriteCandelabra, "candelabra"},
    };
    for (const Art& a : art) put(a.make(), root + "/gfx/sprites/" + a.path + ".bmp", true);
}

void weapons(const std::string& root) {
    const std::string g = root + "/gfx/";
    auto poses = gen::hunterPoses();
    for (size_t i = 0; i < poses.size(); ++i) put(gen::hunter(poses[i]), g + "Hunter" + std::to_string(i + 1) + ".bmp", true);
    poses = gen::cannonPoses();
    for (size_t i = 0; i < poses.size(); ++i)
        put(gen::impactCannon(poses[i]), g + "Impactcannon" + std::to_string(i + 1) + ".bmp", true);
    poses = gen::buzzsawPoses();
    for (size_t i = 0; i < poses.size(); ++i) put(gen::buzzsaw(poses[i]), g + "Buzzsaw" + std::to_string(i + 1) + ".bmp", true);
}

void sounds(const std::string& root) {
    put(gen::hunterShot(), root + "/sfx/shoot1.wav");
    put(gen::cannonShot(), root + "/sfx/shoot2.wav");
    put(gen::buzzsawShot(), root + "/sfx/shoot3.wav");
}

void music(const std::string& root) {
    const std::pair<gen::Wave (*)(), const char*> pieces[] = {
        {gen::menuMusic, "music_menu.wav"}, {gen::levelMusicA, "music_level1.wav"}, {gen::levelMusicB, "music_level2.wav"}};
    for (const auto& piece : pieces) {
        try {
            put(piece.first(), root + "/sfx/" + piece.second);
        } catch (const std::exception& e) {  // a mistake in the note data
            std::fprintf(stderr, "%s: %s\n", piece.second, e.what());
            ++failures;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: brawnwick-assetgen ROOT STAGE\n");
        return 1;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
    set_color_depth(24);
    const std::string root = argv[1], stage = argv[2];
    menus(root);
    intro(root, stage);
    textures(root);
    sprites(root);
    weapons(root);
    sounds(root);
    music(root);
    return failures ? 1 : 0;
}
END_OF_MAIN()
