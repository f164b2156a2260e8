#include "app/app.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "core/Errors.h"
#include "core/constants.h"
#include "game/game.h"
#include "menu/menues.h"
#include "platform/platform.h"
#include "screen/show.h"
#include "settings/global.h"
#include "sound/music.h"

namespace {
const char* const MENU_MUSIC = "sfx/music_menu.wav";
}  // namespace

void init() {
    switch (platform::startLibrary("Brawnwick - Quenmoor")) {
        case platform::StartFailure::library:
            // Without the library nothing else can even report an error.
            std::fprintf(stderr, "Brawnwick: the Allegro library could not start: %s\n", allegro_error);
            std::exit(1);
        case platform::StartFailure::timer: errors::timerError();
        case platform::StartFailure::keyboard: errors::keyboardError();
        case platform::StartFailure::sound: errors::soundDriverError();
        case platform::StartFailure::mouse: errors::mouseError();
        case platform::StartFailure::none: break;
    }
}

void startUp() {
    global.init();

    clear_bitmap(global.buffer);
    textout_centre_ex(global.buffer, global.menuFont, "Loading engine, please wait...", platform::screenWidth() / 2,
                      platform::screenHeight() / 2, makecol(255, 255, 255), -1);
    show(false, nullptr);

    platform::installTimerInterrupt(TIMER_FPS);
    set_uformat(U_ASCII);
}

int playGame() {
    startUp();
    // The menus' music plays from the intro on, through every menu screen, until a campaign.
    music::play(MENU_MUSIC, global.musicVolume);
    menu::intro();
    int choice = 0;
    bool restartNotice = false;
    for (;;) {
        choice = menu::main(choice, restartNotice);
        if (choice == 0) {
            music::stop();
            game(0, 0, 0, 0, 3);
            music::play(MENU_MUSIC, global.musicVolume);
        } else if (choice == 2) {
            if (menu::options(true)) restartNotice = true;
        } else if (choice == 3) {
            break;
        }
    }
    music::stop();
    global.unload();
    return 0;
}

int brawnwickMain() {
    init();
    return playGame();
}
