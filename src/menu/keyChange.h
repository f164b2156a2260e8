#pragma once
// The key assignment screen: the list of actions and the capture of a new key, as plain state.
#include <allegro.h>

#include <functional>
#include <string>

#include "platform/platform.h"
#include "settings/global.h"

namespace menu {

const int KEY_ACTIONS = 12;
const int KEY_ROWS = KEY_ACTIONS + 1;  // the actions and "Finished"
const int FINISHED_ROW = KEY_ACTIONS;

struct KeyAction {
    const char* label;
    const char* description;
    int globals::*field;
};
extern const KeyAction KEY_ACTION_LIST[KEY_ACTIONS];

// Keys the game keeps for itself: the weapon numbers and F9 to F12.
bool isReservedKey(int code);

// "Move forward (W)", or "Finished".
std::string keyRowText(const globals& settings, int row);
std::string keyRowHelp(int row);

struct KeyListState {
    int selection = 0;
    int top[KEY_ROWS + 1] = {};
    bool hover = false;
    bool running = true;
    int screenW = 0;
    int screenH = 0;
    int th1 = 0;
    int th2 = 0;
};

KeyListState openKeyList(int screenW, int screenH);
void layoutKeyList(KeyListState& s);
// One step of the list; capture runs the capture screen for an action row.
void keyListStep(KeyListState& s, globals& settings, const platform::Input& in,
                 const std::function<void(globals&, int row)>& capture);
void drawKeyList(KeyListState& s, const globals& settings, BITMAP* target);

struct CaptureState {
    int row = 0;
    std::string prompt;
    std::string current;
    std::string message;
    int messageTimer = 0;
    int grace = 16;  // steps in which the use key, maybe still held from choosing the row, is ignored
    bool done = false;
};

CaptureState openCapture(const globals& settings, int row);
void captureStep(CaptureState& c, globals& settings, const platform::Input& in);
void drawCapture(const CaptureState& c, BITMAP* target, int screenW);

// The capture screen's loop; returns when a key was taken or Esc cancelled.
void runCapture(globals& settings, int row);

}  // namespace menu
