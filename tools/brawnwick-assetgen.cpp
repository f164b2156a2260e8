// Generates the game's pictures and sounds from code with fixed seeds.
//   brawnwick-assetgen ROOT STAGE
// ROOT is the repository (reads tools/assets/glyphs/, writes gfx/ and sfx/); STAGE receives the
// intro's pieces, which tools/assets/build-assets.sh packs into data/intro.dat with the dat tool.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/gen/audio.h"
#include "assets/gen/floors.h"
#include "assets/gen/image.h"
#include "assets/gen/intro_art.h"
#include "assets/gen/menu_art.h"
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

void textures(const std::string& root) {
    const std::string w = root + "/gfx/walls/", f = root + "/gfx/floors/", c = root + "/gfx/ceilings/";
    put(gen::wallStone(), w + "stone.bmp");
    put(gen::wallBrick(), w + "brick.bmp");
    put(gen::wallRedBrick(), w + "redbrick.bmp");
    put(gen::wallMossy(), w + "mossy.bmp");
    put(gen::wallMetal(), w + "metal.bmp");
    put(gen::wallTech(), w + "tech.bmp");
    put(gen::wallWood(), w + "wood.bmp");
    put(gen::wallCrate(), w + "crate.bmp");
    put(gen::wallDoor(), w + "door.bmp");
    put(gen::wallPanel(), w + "panel.bmp");
    put(gen::wallMarble(), w + "marble.bmp");
    put(gen::wallWindow(), w + "window.bmp");
    put(gen::wallCellar(), w + "cellar.bmp");
    put(gen::wallRock(), w + "rock.bmp");
    put(gen::wallOreVein(), w + "orevein.bmp");
    put(gen::wallShoring(), w + "shoring.bmp");
    put(gen::wallWhitewash(), w + "whitewash.bmp");
    put(gen::wallTimber(), w + "timber.bmp");
    put(gen::wallPipes(), w + "pipes.bmp");
    put(gen::wallFurnace(), w + "furnace.bmp");
    put(gen::wallBookshelf(), w + "bookshelf.bmp");
    put(gen::wallTapestry(), w + "tapestry.bmp");
    put(gen::floorTiles(), f + "tiles.bmp");
    put(gen::floorGrass(), f + "grass.bmp");
    put(gen::floorPlanks(), f + "planks.bmp");
    put(gen::floorDirt(), f + "dirt.bmp");
    put(gen::floorFlagstone(), f + "flagstone.bmp");
    put(gen::floorCobbles(), f + "cobbles.bmp");
    put(gen::floorGravel(), f + "gravel.bmp");
    put(gen::floorCarpet(), f + "carpet.bmp");
    put(gen::floorGrating(), f + "grating.bmp");
    put(gen::floorMosaic(), f + "mosaic.bmp");
    put(gen::ceilingBeams(), c + "beams.bmp");
    put(gen::ceilingPlaster(), c + "plaster.bmp");
    put(gen::ceilingMetalGrid(), c + "metalgrid.bmp");
    put(gen::ceilingRock(), c + "rock.bmp");
    put(gen::ceilingVault(), c + "vault.bmp");
    put(gen::ceilingRafters(), c + "rafters.bmp");
}

void sprites(const std::string& root) {
    const std::string s = root + "/gfx/sprites/";
    put(gen::monsterSlimeSpider(), s + "monster0.bmp", true);
    put(gen::monsterBrute(), s + "monster1.bmp", true);
    put(gen::monsterEyeDemon(), s + "monster2.bmp", true);
    put(gen::spriteLamp(), s + "lamp.bmp", true);
    put(gen::spriteBarrel(), s + "barrel.bmp", true);
    put(gen::spritePillar(), s + "pillar.bmp", true);
    put(gen::spritePlant(), s + "plant.bmp", true);
    put(gen::spriteBrazier(), s + "brazier.bmp", true);
    put(gen::spriteStatue(), s + "statue.bmp", true);
    put(gen::spriteMinecart(), s + "minecart.bmp", true);
    put(gen::spriteTree(), s + "tree.bmp", true);
    put(gen::spriteAnvil(), s + "anvil.bmp", true);
    put(gen::spriteCandelabra(), s + "candelabra.bmp", true);
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
    return failures ? 1 : 0;
}
END_OF_MAIN()
