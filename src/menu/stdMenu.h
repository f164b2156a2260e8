#pragma once
// The standard button menu, split into its parts so that each can be driven on its own.
#include <allegro.h>

#include "platform/platform.h"

#include <string>
#include <vector>

namespace menu {

struct StdMenuState {
    int n = 0;
    bool* enabled = nullptr;  // the caller's flags
    int selection = 0;
    int screenW = 0;
    int screenH = 0;
    int buttonW = 0;
    int buttonH = 0;
    int left = 0;          // x of every button
    std::vector<int> top;  // y of each button
    bool confirmed = false;
};

struct StdMenuLook {
    const std::string* labels = nullptr;
    FONT* font = nullptr;
    BITMAP* selectedImage = nullptr;
    BITMAP* otherImage = nullptr;
    BITMAP* background = nullptr;
    int enabledColor = 0;
    int selectedColor = 0;
    int disabledColor = 0;
    bool restartNotice = false;
};

// Rewrites the enabled flags for the restart notice, picks the first selection, lays the buttons
// out and swallows a press of the arrows that is still held from the previous screen. n >= 1.
StdMenuState openStdMenu(int start, bool restartNotice, int n, bool* enabled, int margin, int buttonW,
                         int buttonH, int screenW, int screenH);

// One input step: hover, Up, Down, confirm.
void stdMenuStep(StdMenuState& m, const platform::Input& in);

void drawStdMenu(const StdMenuState& m, const StdMenuLook& look, BITMAP* target);

}  // namespace menu
