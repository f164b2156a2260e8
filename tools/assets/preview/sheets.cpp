// Composes preview sheets from the shipped files, the way the game draws them, for a quick look:
//   preview ROOT OUTDIR
// Writes mainmenu.bmp, options.bmp, keys.bmp, capture.bmp, intro.bmp, ingame.bmp, textures.bmp,
// sprites.bmp and weapons.bmp.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string root;

BITMAP* load(const std::string& rel) {
    BITMAP* b = load_bitmap((root + "/" + rel).c_str(), nullptr);
    if (!b) std::fprintf(stderr, "preview: cannot load %s\n", rel.c_str());
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 1;
    root = argv[1];
    const std::string out = std::string(argv[2]) + "/";
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
    set_color_depth(32);
    DATAFILE* data = load_datafile((root + "/data/data.dat").c_str());
    DATAFILE* intro = load_datafile((root + "/data/intro.dat").c_str());
    if (!data || !intro) return 1;
    FONT* menuFont = static_cast<FONT*>(data[0].dat);
    FONT* textFont = static_cast<FONT*>(data[1].dat);
    FONT* warnFont = static_cast<FONT*>(data[2].dat);
    BITMAP* screen800 = create_bitmap(800, 600);
    // SCREEN_H is 0 without a graphics mode; the layout below uses 600 directly.
    const int W = 800, H = 600;

    {  // Main menu, with the stamped corner lines.
        BITMAP* bg = load("gfx/mainmenu.tga");
        BITMAP* sel = load("gfx/button.tga");
        BITMAP* other = load("gfx/buttonpressed.tga");
        if (bg && sel && other) {
            const int th = text_height(textFont);
            textout_right_ex(bg, textFont, "Allegro 4.4.3, Unix", W - 3, H - 2 * th - 6, makecol(255, 255, 255), -1);
            textout_right_ex(bg, textFont, "Brawnwick 0.2 Alpha", W - 3, H - th - 3, makecol(255, 255, 255), -1);
            blit(bg, screen800, 0, 0, 0, 0, W, H);
            const char* labels[] = {"New Game", "Hiscore", "Options", "Exit"};
            const bool enabled[] = {true, false, true, true};
            const int step = (H - 100) / 4;
            for (int i = 0; i < 4; ++i) {
                const int y = 50 + step / 2 + i * step - sel->h / 2, x = (W - sel->w) / 2;
                masked_blit(i == 0 ? sel : other, screen800, 0, 0, x, y, sel->w, sel->h);
                int c = i == 0 ? makecol(0, 0, 0) : (enabled[i] ? makecol(153, 153, 153) : makecol(255, 255, 255));
                textout_centre_ex(screen800, menuFont, labels[i], W / 2, y + (sel->h - text_height(menuFont)) / 2, c, -1);
            }
            textout_centre_ex(screen800, warnFont, "Press a key for \"Move forward\"", W / 2, 8, makecol(255, 0, 0), -1);
            save_bitmap((out + "mainmenu.bmp").c_str(), screen800, nullptr);
        }
    }
    // The options, key list and key capture screens draw bare text on the menu background, laid out
    // as src/menu/options.cpp and src/menu/keyChange.cpp do; every colour they use appears here.
    const int th1 = text_height(menuFont) + 3, th2 = text_height(textFont) + 3;
    const int white = makecol(255, 255, 255), black = makecol(0, 0, 0);
    {  // Options, full list, "Color depth" selected: rows above and below show the unselected greys.
        BITMAP* bg = load("gfx/mainmenu.tga");
        if (bg) {
            blit(bg, screen800, 0, 0, 0, 0, W, H);
            const char* labels[] = {"Display mode", "Color depth", "VSync", "SFX volume", "Music volume",
                                    "Controls", "Exit saving changes", "Exit discarding changes"};
            const char* choices[3][2] = {{"Windowed", "Fullscreen"}, {"32", "16"}, {"On", "Off"}};
            const bool rightActive[3] = {false, false, true};
            const int selected = 1;
            const int grey = makecol(112, 112, 112), darkGrey = makecol(32, 32, 32);
            int y = (H - 8 * th1 - th2) >> 1;
            for (int r = 0; r < 8; ++r) {
                const bool sel = r == selected;
                const int text = sel ? white : black;
                if (r <= 2) {
                    const int L = text_length(menuFont, choices[r][0]), active = sel ? white : grey;
                    textout_centre_ex(screen800, menuFont, choices[r][0], W >> 1, y, rightActive[r] ? darkGrey : active, -1);
                    textout_ex(screen800, menuFont, choices[r][1], ((L + W) >> 1) + 26, y, rightActive[r] ? active : darkGrey, -1);
                    textout_right_ex(screen800, menuFont, labels[r], ((W - L) >> 1) - 26, y, text, -1);
                } else if (r <= 4) {
                    textout_right_ex(screen800, menuFont, labels[r], W >> 1, y, text, -1);
                    textout_ex(screen800, menuFont, r == 3 ? " - 100%" : " - 49%", (W >> 1) + 5, y, text, -1);
                } else {
                    textout_centre_ex(screen800, menuFont, labels[r], W >> 1, y, text, -1);
                }
                if (sel) textout_centre_ex(screen800, textFont, "How many bits per pixel should be used?", W >> 1, y + th1, white, -1);
                y += th1 + (sel ? th2 : 0);
            }
            save_bitmap((out + "options.bmp").c_str(), screen800, nullptr);
            destroy_bitmap(bg);
        }
    }
    {  // Key list with the longest row selected.
        BITMAP* bg = load("gfx/mainmenu.tga");
        if (bg) {
            blit(bg, screen800, 0, 0, 0, 0, W, H);
            const char* rows[] = {"Move forward (W)", "Move backward (S)", "Turn left (Left)", "Turn right (Right)",
                                  "Strafe left (A)", "Strafe right (D)", "Shoot (Space)", "Use (E)",
                                  "Select next weapon (Up)", "Select previous weapon (Down)",
                                  "Review mission description (Tab)", "View old messages (M)", "Finished"};
            const int selected = 10;
            int y = (H - 13 * th1 - th2) >> 1;
            for (int r = 0; r < 13; ++r) {
                const bool sel = r == selected;
                textout_centre_ex(screen800, menuFont, rows[r], W >> 1, y, sel ? white : black, -1);
                if (sel)
                    textout_centre_ex(screen800, textFont,
                                      "Change key for showing the description of your current mission again", W >> 1,
                                      y + th1, white, -1);
                y += th1 + (sel ? th2 : 0);
            }
            save_bitmap((out + "keys.bmp").c_str(), screen800, nullptr);
            destroy_bitmap(bg);
        }
    }
    {  // Waiting for a key, with the refusal message up.
        BITMAP* bg = load("gfx/mainmenu.tga");
        if (bg) {
            blit(bg, screen800, 0, 0, 0, 0, W, H);
            textout_centre_ex(screen800, textFont, "Press Esc to cancel", W >> 1, 280, white, -1);
            textout_centre_ex(screen800, textFont, "Please press the key you would like to use for moving forward",
                              W >> 1, 300, white, -1);
            textout_centre_ex(screen800, textFont, "Current key assigned is W", W >> 1, 320, white, -1);
            textout_centre_ex(screen800, warnFont, "This key is already used for turning left", W >> 1, 350,
                              makecol(255, 0, 0), -1);
            save_bitmap((out + "capture.bmp").c_str(), screen800, nullptr);
            destroy_bitmap(bg);
        }
    }
    {  // Final picture of the intro.
        BITMAP* bg = static_cast<BITMAP*>(intro[0].dat);
        BITMAP* logo = static_cast<BITMAP*>(intro[1].dat);
        BITMAP* emblem = static_cast<BITMAP*>(intro[3].dat);
        blit(bg, screen800, 0, 0, 0, 0, W, H);
        masked_blit(logo, screen800, 0, 0, W / 2 - logo->w / 2, H / 2 - logo->h / 2, logo->w, logo->h);
        const int cy = H - text_height(menuFont) - 140;
        textout_centre_ex(screen800, menuFont, "A Quenmoor game", W / 2, cy, makecol(255, 255, 255), -1);
        textout_centre_ex(screen800, menuFont, "www.quenmoor.example", W / 2, cy + text_height(menuFont) + 7,
                          makecol(255, 255, 255), -1);
        blit(emblem, screen800, 0, 0, 3, H - emblem->h - 3, emblem->w, emblem->h);
        const int th = text_height(textFont);
        textout_right_ex(screen800, textFont, "Allegro 4.4.3, Unix", W - 3, H - 2 * th - 6, 0, -1);
        textout_right_ex(screen800, textFont, "Brawnwick 0.2 Alpha", W - 3, H - th - 3, 0, -1);
        save_bitmap((out + "intro.bmp").c_str(), screen800, nullptr);
    }
    {  // In-game menu over a game-like frame.
        BITMAP* bg = load("gfx/mainmenu.tga");
        BITMAP* sel = load("gfx/ingamebutton.tga");
        BITMAP* other = load("gfx/ingamebuttonpressed.tga");
        if (bg && sel && other) {
            blit(bg, screen800, 0, 0, 0, 0, W, H);
            const char* labels[] = {"Continue", "Mission description", "Options", "Quit to main menu"};
            const int step = (H - 500) / 4;
            for (int i = 0; i < 4; ++i) {
                const int y = 250 + step / 2 + i * step - sel->h / 2, x = (W - sel->w) / 2;
                masked_blit(i == 1 ? sel : other, screen800, 0, 0, x, y, sel->w, sel->h);
                int c = i == 1 ? makecol(255, 255, 255) : makecol(170, 170, 170);
                textout_centre_ex(screen800, textFont, labels[i], W / 2, y + (sel->h - text_height(textFont)) / 2, c, -1);
            }
            save_bitmap((out + "ingame.bmp").c_str(), screen800, nullptr);
        }
    }
    {  // Every texture tiled 2 x 2, to see seams and variety.
        const char* names[] = {"walls/stone", "walls/brick", "walls/redbrick", "walls/mossy", "walls/metal",
                               "walls/tech", "walls/wood", "walls/crate", "walls/door", "walls/panel",
                               "walls/marble", "walls/window", "floors/tiles", "floors/grass", "floors/planks",
                               "floors/dirt", "floors/flagstone", "ceilings/beams", "ceilings/plaster",
                               "ceilings/metalgrid"};
        BITMAP* sheet = create_bitmap(6 * 136, 4 * 150);
        clear_to_color(sheet, makecol(40, 40, 40));
        int i = 0;
        for (const char* n : names) {
            BITMAP* t = load(std::string("gfx/") + n + ".bmp");
            const int x = (i % 6) * 136 + 4, y = (i / 6) * 150 + 4;
            if (t) {
                for (int k = 0; k < 4; ++k) blit(t, sheet, 0, 0, x + (k & 1) * t->w, y + (k >> 1) * t->h, t->w, t->h);
                destroy_bitmap(t);
            }
            textout_ex(sheet, textFont, n, x, y + 130, makecol(255, 255, 255), -1);
            ++i;
        }
        save_bitmap((out + "textures.bmp").c_str(), sheet, nullptr);
        destroy_bitmap(sheet);
    }
    {  // Sprites at full size on a dark and a light backdrop, and small as seen from afar.
        const char* names[] = {"monster0", "monster1", "monster2", "lamp", "barrel", "pillar", "plant"};
        BITMAP* sheet = create_bitmap(7 * 136, 300);
        clear_to_color(sheet, makecol(40, 40, 40));
        rectfill(sheet, 0, 140, sheet->w, 280, makecol(150, 140, 120));
        int i = 0;
        for (const char* n : names) {
            BITMAP* t = load(std::string("gfx/sprites/") + n + ".bmp");
            const int x = i * 136 + 4;
            if (t) {
                stretch_blit(t, sheet, 0, 0, 64, 64, x, 4, 128, 128);
                masked_stretch_blit(t, sheet, 0, 0, 64, 64, x, 144, 128, 128);
                masked_stretch_blit(t, sheet, 0, 0, 64, 64, x + 90, 236, 40, 40);
                destroy_bitmap(t);
            }
            textout_ex(sheet, textFont, n, x, 284, makecol(255, 255, 255), -1);
            ++i;
        }
        save_bitmap((out + "sprites.bmp").c_str(), sheet, nullptr);
        destroy_bitmap(sheet);
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
                textprintf_ex(sheet, textFont, (f - 1) * 160 + 4, r * 160 + 2, makecol(255, 255, 255), 0, "%s%d", names[r], f);
                destroy_bitmap(t);
            }
        save_bitmap((out + "weapons.bmp").c_str(), sheet, nullptr);
        destroy_bitmap(sheet);
    }
    return 0;
}
END_OF_MAIN()
