// Contact sheets of the shipped art: every texture, sprite and weapon frame on one picture each.
#include "assets/preview/sheets.h"

#include <cstdio>
#include <string>

#include "settings/global.h"

namespace preview {
namespace {

BITMAP* load(const std::string& path) {
    BITMAP* b = load_bitmap(path.c_str(), nullptr);
    if (!b) std::fprintf(stderr, "preview: cannot load %s\n", path.c_str());
    return b;
}

bool save(BITMAP* sheet, const std::string& path) {
    const bool ok = save_bitmap(path.c_str(), sheet, nullptr) == 0;
    if (!ok) std::fprintf(stderr, "preview: cannot write %s\n", path.c_str());
    destroy_bitmap(sheet);
    return ok;
}

}  // namespace

int drawSheets(const std::string& outDir) {
    const std::string out = outDir + "/";
    int failures = 0;
    {  // Every texture tiled 2 x 2, to see seams and variety.
        const char* names[] = {"walls/stone", "walls/brick", "walls/redbrick", "walls/mossy", "walls/metal",
                               "walls/tech", "walls/wood", "walls/crate", "walls/door", "walls/panel",
                               "walls/marble", "walls/window", "walls/cellar", "walls/rock", "walls/orevein",
                               "walls/shoring", "walls/whitewash", "walls/timber", "walls/pipes", "walls/furnace",
                               "walls/bookshelf", "walls/tapestry", "floors/tiles", "floors/grass", "floors/planks",
                               "floors/dirt", "floors/flagstone", "floors/cobbles", "floors/gravel", "floors/carpet",
                               "floors/grating", "floors/mosaic", "ceilings/beams", "ceilings/plaster",
                               "ceilings/metalgrid", "ceilings/rock", "ceilings/vault", "ceilings/rafters"};
        BITMAP* sheet = create_bitmap(6 * 136, 7 * 150);
        clear_to_color(sheet, makecol(40, 40, 40));
        int i = 0;
        for (const char* n : names) {
            BITMAP* t = load(std::string("gfx/") + n + ".bmp");
            const int x = (i % 6) * 136 + 4, y = (i / 6) * 150 + 4;
            if (t) {
                for (int k = 0; k < 4; ++k) blit(t, sheet, 0, 0, x + (k & 1) * t->w, y + (k >> 1) * t->h, t->w, t->h);
                destroy_bitmap(t);
            }
            textout_ex(sheet, global.textFont, n, x, y + 130, makecol(255, 255, 255), -1);
            ++i;
        }
        failures += !save(sheet, out + "textures.bmp");
    }
    {  // Sprites at full size on a dark and a light backdrop, and small as seen from afar.
        const char* names[] = {"monster0", "monster1", "monster2", "lamp",     "barrel", "pillar", "plant",
                               "brazier",  "statue",   "minecart", "tree", "anvil",  "candelabra"};
        BITMAP* sheet = create_bitmap(7 * 136, 2 * 300);
        clear_to_color(sheet, makecol(40, 40, 40));
        for (int row = 0; row < 2; ++row) rectfill(sheet, 0, row * 300 + 140, sheet->w, row * 300 + 280, makecol(150, 140, 120));
        int i = 0;
        for (const char* n : names) {
            BITMAP* t = load(std::string("gfx/sprites/") + n + ".bmp");
            const int x = (i % 7) * 136 + 4, y = (i / 7) * 300;
            if (t) {
                stretch_blit(t, sheet, 0, 0, 64, 64, x, y + 4, 128, 128);
                masked_stretch_blit(t, sheet, 0, 0, 64, 64, x, y + 144, 128, 128);
                masked_stretch_blit(t, sheet, 0, 0, 64, 64, x + 90, y + 236, 40, 40);
                destroy_bitmap(t);
            }
            textout_ex(sheet, global.textFont, n, x, y + 284, makecol(255, 255, 255), -1);
            ++i;
        }
        failures += !save(sheet, out + "sprites.bmp");
    }
    {  // Weapon frames 1..6 in rows, over a wall so the mask shows.
        const char* names[] = {"Hunter", "Impactcannon", "Buzzsaw"};
        BITMAP* sheet = create_bitmap(6 * 160, 3 * 160);
        BITMAP* wall = load("gfx/walls/stone.bmp");
        for (int y = 0; y < sheet->h; y += 64)
            for (int x = 0; x < sheet->w; x += 64)
                if (wall) blit(wall, sheet, 0, 0, x, y, 64, 64);
        for (int r = 0; r < 3; ++r)
            for (int f = 1; f <= 6; ++f) {
                BITMAP* t = load(std::string("gfx/") + names[r] + std::to_string(f) + ".bmp");
                if (!t) continue;
                masked_stretch_blit(t, sheet, 0, 0, t->w, t->h, (f - 1) * 160, r * 160, 160, 160);
                textprintf_ex(sheet, global.textFont, (f - 1) * 160 + 4, r * 160 + 2, makecol(255, 255, 255), 0, "%s%d",
                              names[r], f);
                destroy_bitmap(t);
            }
        if (wall) destroy_bitmap(wall);
        failures += !save(sheet, out + "weapons.bmp");
    }
    return failures;
}

}  // namespace preview
