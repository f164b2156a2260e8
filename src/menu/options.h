#pragma once
// The options screen as plain state: a private copy of the settings edited step by step.
#include <allegro.h>

#include <functional>
#include <string>

#include "platform/platform.h"
#include "settings/global.h"

namespace menu {

enum OptionsRow {
    ROW_DISPLAY_MODE,
    ROW_COLOR_DEPTH,
    ROW_VSYNC,
    ROW_SFX_VOLUME,
    ROW_MUSIC_VOLUME,
    ROW_CONTROLS,
    ROW_EXIT_SAVING,
    ROW_EXIT_DISCARDING,
    OPTIONS_ROWS
};

struct OptionsState {
    globals copy;
    bool full = true;  // false hides the colour depth
    int selection = ROW_DISPLAY_MODE;
    int top[OPTIONS_ROWS + 1] = {};
    bool hover = false;  // only once a frame has placed the rows (drawOptions sets it)
    bool running = true;
    bool rightActive[3] = {};  // per two-choice row: the right-hand choice is in force
    int screenW = 0;
    int screenH = 0;
    int th1 = 0;
    int th2 = 0;
};

OptionsState openOptions(bool full, int screenW, int screenH);

// Row tops for the current selection (the selected row is taller by its help line).
void layoutOptions(OptionsState& s);

// One input step. controls runs the key assignment on the copy.
void optionsStep(OptionsState& s, const platform::Input& in, const std::function<void(globals&)>& controls);

void drawOptions(OptionsState& s, BITMAP* target);

// Applies a changed display mode through switchMode, writes the copy back and tells whether the
// colour depth changed (it only takes effect after a restart).
bool leaveOptions(OptionsState& s, const std::function<void(char&)>& switchMode);

// " - 68%" for 175.
std::string volumeText(int volume);

}  // namespace menu
