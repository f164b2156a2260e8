#include "menu/options.h"

#include <algorithm>
#include <cstdio>

#include "core/ElementaryFunctions.h"
#include "input/keyStates.h"
#include "menu/menues.h"
#include "menu/rowList.h"
#include "screen/driver.h"
#include "sound/music.h"

namespace menu {

namespace {
const char* const LABELS[OPTIONS_ROWS] = {"Display mode", "Color depth",         "VSync",
                                          "SFX volume",   "Music volume",        "Controls",
                                          "Exit saving changes", "Exit discarding changes"};
const char* const HELP[OPTIONS_ROWS] = {
    "Should the game be started in windowed or fullscreen mode?",
    "How many bits per pixel should be used?",
    "Should the game be synced with your monitor?",
    "Volume of sound effects",
    "Volume of background music",
    "Set controls",
    "Return to main menu saving changes you made",
    "Return to main menu discarding all changes you made",
};
const char* const CHOICES[3][2] = {{"Windowed", "Fullscreen"}, {"32", "16"}, {"On", "Off"}};

void updateFlags(OptionsState& s) {
    s.rightActive[0] = s.copy.screenMode == 1;
    s.rightActive[1] = s.copy.colorDepth == 16;
    s.rightActive[2] = !s.copy.vsync;
}

unsigned char* volumeOf(OptionsState& s) {
    if (s.selection == ROW_SFX_VOLUME) return &s.copy.sfxVolume;
    if (s.selection == ROW_MUSIC_VOLUME) return &s.copy.musicVolume;
    return nullptr;
}

void setVolume(unsigned char* v, int value) { *v = static_cast<unsigned char>(std::clamp(value, 0, 255)); }

// The settings the screen edits; the run-time parts of global (buffer, fonts, screenshot number)
// stay as they are.
void writeBack(const globals& from, globals& to) {
    to.screenMode = from.screenMode;
    to.vsync = from.vsync;
    to.colorDepth = from.colorDepth;
    to.sfxVolume = from.sfxVolume;
    to.musicVolume = from.musicVolume;
    to.maxFrameSkip = from.maxFrameSkip;
    to.keyTurnLeft = from.keyTurnLeft;
    to.keyTurnRight = from.keyTurnRight;
    to.keyForward = from.keyForward;
    to.keyBackward = from.keyBackward;
    to.keyUse = from.keyUse;
    to.keyShoot = from.keyShoot;
    to.keyNextWeapon = from.keyNextWeapon;
    to.keyPrevWeapon = from.keyPrevWeapon;
    to.keyMission = from.keyMission;
    to.keyMessages = from.keyMessages;
    to.keyStrafeLeft = from.keyStrafeLeft;
    to.keyStrafeRight = from.keyStrafeRight;
}
}  // namespace

std::string volumeText(int volume) {
    char text[32];
    int percent = static_cast<int>(volume / 255.0 * 100.0);
    std::snprintf(text, sizeof text, " - %i%%", percent);
    return text;
}

OptionsState openOptions(bool full, int screenW, int screenH) {
    OptionsState s;
    s.copy = global;
    s.full = full;
    s.screenW = screenW;
    s.screenH = screenH;
    s.th1 = text_height(global.menuFont) + 3;
    s.th2 = text_height(global.textFont) + 3;
    updateFlags(s);
    layoutOptions(s);
    return s;
}

namespace {
// The colour depth row is left out when the screen is opened from a running game.
bool depthHidden(int row, const void* state) {
    return row == ROW_COLOR_DEPTH && !static_cast<const OptionsState*>(state)->full;
}
}  // namespace

void layoutOptions(OptionsState& s) {
    layoutRows(s.top, OPTIONS_ROWS, (s.screenH - (s.full ? 8 : 6) * s.th1 - s.th2) >> 1, s.th1, s.th2, s.selection,
               s.screenH, depthHidden, &s);
}

void optionsStep(OptionsState& s, const platform::Input& in, const std::function<void(globals&)>& controls) {
    if (s.hover) {
        const int r = rowAt(s.top, OPTIONS_ROWS, in.mouseY);
        if (r >= 0) s.selection = r;
    }
    // The menu keys are the ones in force, not the ones being edited.
    if (keyStates[KEY_UP] || keyStates[global.keyForward]) {
        s.selection = rowAbove(s.selection, OPTIONS_ROWS);
        if (!s.full && s.selection == ROW_COLOR_DEPTH) s.selection = ROW_DISPLAY_MODE;
    }
    if (keyStates[KEY_DOWN] || keyStates[global.keyBackward]) {
        s.selection = rowBelow(s.selection, OPTIONS_ROWS);
        if (!s.full && s.selection == ROW_COLOR_DEPTH) s.selection = ROW_VSYNC;
    }
    if (keyStates[KEY_ENTER] || keyStates[global.keyUse] || in.click) {
        if (s.selection == ROW_CONTROLS && controls) {
            controls(s.copy);
        } else if (s.selection == ROW_EXIT_SAVING) {
            s.running = false;
        } else if (s.selection == ROW_EXIT_DISCARDING) {
            s.copy = global;
            s.running = false;
        }
    }
    if (keyStates[KEY_LEFT] || keyStates[global.keyTurnLeft]) {
        if (s.selection == ROW_DISPLAY_MODE) s.copy.screenMode = 2;
        if (s.selection == ROW_COLOR_DEPTH) s.copy.colorDepth = 32;
        if (s.selection == ROW_VSYNC) s.copy.vsync = true;
    }
    if (keyStates[KEY_RIGHT] || keyStates[global.keyTurnRight]) {
        if (s.selection == ROW_DISPLAY_MODE) s.copy.screenMode = 1;
        if (s.selection == ROW_COLOR_DEPTH) s.copy.colorDepth = 16;
        if (s.selection == ROW_VSYNC) s.copy.vsync = false;
    }
    if (unsigned char* v = volumeOf(s)) {
        if (platform::held(KEY_RIGHT) || platform::held(global.keyTurnRight)) setVolume(v, *v + 1);
        if (platform::held(KEY_LEFT) || platform::held(global.keyTurnLeft)) setVolume(v, *v - 1);
        if (in.wheel != 0) setVolume(v, *v + in.wheel);
    }
    updateFlags(s);
}

void drawOptions(OptionsState& s, BITMAP* target) {
    layoutOptions(s);
    s.hover = true;  // rows are placed from the first frame on
    clear_bitmap(target);
    blit(global.menuBackground, target, 0, 0, 0, 0, s.screenW, s.screenH);

    FONT* f = global.menuFont;
    int W = s.screenW;
    int white = makecol(255, 255, 255), black = makecol(0, 0, 0);
    int activeGrey = makecol(112, 112, 112), inactive = makecol(32, 32, 32);
    for (int r = 0; r < OPTIONS_ROWS; ++r) {
        if (r == ROW_COLOR_DEPTH && !s.full) continue;
        bool selected = r == s.selection;
        int y = s.top[r];
        int text = selected ? white : black;
        if (r <= ROW_VSYNC) {
            const char* left = CHOICES[r][0];
            const char* right = CHOICES[r][1];
            int L = text_length(f, left);
            int active = selected ? white : activeGrey;
            textout_centre_ex(target, f, left, W >> 1, y, s.rightActive[r] ? inactive : active, -1);
            textout_ex(target, f, right, ((L + W) >> 1) + 26, y, s.rightActive[r] ? active : inactive, -1);
            textout_right_ex(target, f, LABELS[r], ((W - L) >> 1) - 26, y, text, -1);
        } else if (r <= ROW_MUSIC_VOLUME) {
            int v = r == ROW_SFX_VOLUME ? s.copy.sfxVolume : s.copy.musicVolume;
            textout_right_ex(target, f, LABELS[r], W >> 1, y, text, -1);
            textout_ex(target, f, volumeText(v).c_str(), (W >> 1) + 5, y, text, -1);
        } else {
            textout_centre_ex(target, f, LABELS[r], W >> 1, y, text, -1);
        }
        if (selected) textout_centre_ex(target, global.textFont, HELP[r], W >> 1, y + s.th1, white, -1);
    }
}

bool leaveOptions(OptionsState& s, const std::function<void(char&)>& switchMode) {
    if (s.copy.screenMode != global.screenMode && switchMode) switchMode(s.copy.screenMode);
    bool depthChanged = s.copy.colorDepth != global.colorDepth;
    writeBack(s.copy, global);
    return depthChanged;
}

bool options(bool full) {
    OptionsState s = openOptions(full, platform::screenWidth(), platform::screenHeight());
    auto controls = [](globals& settings) { keyChange(settings); };
    screens::Screen loop;
    int heard = s.copy.musicVolume;
    loop.step = [&](const platform::Input& in) {
        optionsStep(s, in, controls);
        // The music follows the row while it is set, so the player hears the level chosen.
        if (s.copy.musicVolume != heard) music::setVolume(heard = s.copy.musicVolume);
    };
    loop.draw = [&](BITMAP* target) { drawOptions(s, target); };
    loop.running = [&] { return s.running; };
    screens::run(loop);
    const bool depthChanged = leaveOptions(s, [](char& mode) { setMode(mode); });
    music::setVolume(global.musicVolume);  // kept when saved, back to the old one when discarded
    return depthChanged;
}

}  // namespace menu
