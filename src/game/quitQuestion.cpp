#include "game/quitQuestion.h"

#include "input/keyStates.h"
#include "platform/platform.h"

bool askQuitQuestion() {
    const bool yes = platform::backend().ask("Quit current game and", "return to main menu?", "Yes", "Oh no!") == 1;
    settleQuitAnswer(yes);
    return yes;
}

void settleQuitAnswer(bool quit) {
    // The Enter (or Space) that chose "Yes" must not also confirm an entry of the main menu.
    platform::Input in = platform::poll();
    platform::backend().takeEvents(in);  // the click that answered
    if (quit)
        for (int code : {KEY_ENTER, KEY_ENTER_PAD, KEY_SPACE})
            if (in.held[code]) keyStates.setState(code, 1);
}
