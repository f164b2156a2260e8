#include "game/game.h"

#include <allegro.h>

#include <vector>

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "game/campaign.h"
#include "game/resolution.h"
#include "game/weapons.h"
#include "menu/menues.h"
#include "platform/platform.h"
#include "settings/global.h"
#include "sound/music.h"

namespace {
const char* const WEAPON_FILES[WEAPON_COUNT] = {"gfx/Hunter", "gfx/Impactcannon", "gfx/Buzzsaw"};
// The two level pieces take turns, the first level playing the first.
const char* const LEVEL_MUSIC[2] = {"sfx/music_level1.wav", "sfx/music_level2.wav"};

// Every frame becomes a square of 0.6 screen heights, whatever the size of its file.
void loadWeapons(int screenHeight) {
    const int side = static_cast<int>(screenHeight * 0.6);
    BITMAP** tables[WEAPON_COUNT] = {weapon1, weapon2, weapon3};
    for (int w = 0; w < WEAPON_COUNT; ++w) {
        for (int i = 0; i < WEAPON_FRAMES; ++i) {
            BITMAP* loaded = loadBitmap(std::string(WEAPON_FILES[w]) + i2str(i + 1, 0) + ".bmp");
            BITMAP* frame = createBitmap(side, side);
            stretch_blit(loaded, frame, 0, 0, loaded->w, loaded->h, 0, 0, side, side);
            destroy_bitmap(loaded);
            tables[w][i] = frame;
        }
    }
    makeWeaponSprites();
}

void loadSounds() {
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        std::string path = "sfx/shoot" + i2str(i + 1, 0) + ".wav";
        sounds[i] = load_sample(path.c_str());
        if (!sounds[i]) errors::sampleLoadError(path);
    }
}

void releaseWeaponsAndSounds() {
    releaseWeaponSprites();
    BITMAP** tables[WEAPON_COUNT] = {weapon1, weapon2, weapon3};
    for (BITMAP** table : tables)
        for (int i = 0; i < WEAPON_FRAMES; ++i) {
            if (table[i]) destroy_bitmap(table[i]);
            table[i] = nullptr;
        }
    for (SAMPLE*& s : sounds) {
        if (s) {
            stop_sample(s);
            destroy_sample(s);
        }
        s = nullptr;
    }
}
}  // namespace

GameScreen::GameScreen() {
    Resolution res = readResolution("resolution.txt");
    // A resolution the display refuses must not leave the program without a mode.
    if (enterMode(global.screenMode, res, setGfxMode) == 0) errors::graphicModeError();

    menuBuffer = global.buffer;
    const int W = platform::screenWidth();
    const int H = platform::screenHeight();
    global.buffer = createBitmap(W, H);

    depth.resize(static_cast<size_t>(W));
    pixels.resize(static_cast<size_t>(W) * static_cast<size_t>(H));
    columns.resize(static_cast<size_t>(W));
    for (int x = 0; x < W; ++x) columns[x] = &pixels[static_cast<size_t>(x) * H];

    loadWeapons(H);
    loadSounds();
}

GameScreen::~GameScreen() {
    releaseWeaponsAndSounds();
    setMode(global.screenMode);  // back to the menus' 800x600, falling back like at start-up
    destroy_bitmap(global.buffer);
    global.buffer = menuBuffer;
}

void game(int level, int points, int impactBullets, int buzzsawBullets, int lives) {
    GameScreen screen;
    CampaignState state;
    state.level = level;
    state.points = points;
    state.impactBullets = impactBullets;
    state.buzzsawBullets = buzzsawBullets;
    state.lives = lives;
    CampaignHooks hooks;
    hooks.playLevel = [&](CampaignState& s) {
        // A restart keeps the piece going; the next level brings the other one.
        music::play(LEVEL_MUSIC[s.level % 2], global.musicVolume);
        return doMap(s.level, screen.depth.data(), screen.columns.data(), s.points, s.impactBullets,
                     s.buzzsawBullets, s.lives);
    };
    hooks.announce = [](const char* message, int ticks) { menu::newLevel(message, ticks); };
    hooks.congrats = [](int finalPoints) { menu::congrats(finalPoints); };
    runCampaign(state, hooks);
    music::stop();
}
