#include "core/app.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "core/ElementaryFunctions.h"
#include "core/Errors.h"
#include "core/constants.h"
#include "game/game.h"
#include "input/mouse.h"
#include "menu/menues.h"
#include "settings/global.h"

void timerCounterUpdater() {
    ++timerCounter;
    mouseCallback(0);
}
END_OF_FUNCTION(timerCounterUpdater)

void init() {
    if (allegro_init() != 0) {
        // Without the library nothing else can even report an error.
        std::fprintf(stderr, "Brawnwick: the Allegro library could not start: %s\n", allegro_error);
        std::exit(1);
    }
    if (install_timer() < 0) errors::timerError();
    if (install_keyboard() < 0) errors::keyboardError();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) < 0) errors::soundDriverError();
    if (install_mouse() < 0) errors::mouseError();
    set_window_title("Brawnwick - Quenmoor");
    global.init();

    clear_bitmap(global.buffer);
    textout_centre_ex(global.buffer, global.menuFont, "Loading engine, please wait...", SCREEN_W / 2, SCREEN_H / 2,
                      makecol(255, 255, 255), -1);
    show(false, nullptr);

    LOCK_FUNCTION(timerCounterUpdater);
    LOCK_FUNCTION(mouseCallback);
    install_int_ex(timerCounterUpdater, BPS_TO_TIMER(TIMER_FPS));
    set_uformat(U_ASCII);
}

int brawnwickMain() {
    init();
    menu::intro();
    int choice = 0;
    bool restartNotice = false;
    for (;;) {
        choice = menu::main(choice, restartNotice);
        if (choice == 0) {
            game(0, 0, 0, 0, 3);
        } else if (choice == 2) {
            if (menu::options(true)) restartNotice = true;
        } else if (choice == 3) {
            break;
        }
    }
    global.unload();
    return 0;
}
