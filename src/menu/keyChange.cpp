#include "menu/keyChange.h"

#include "input/keyStates.h"
#include "menu/menues.h"
#include "menu/rowList.h"
#include "screen/driver.h"

namespace menu {

const KeyAction KEY_ACTION_LIST[KEY_ACTIONS] = {
    {"Move forward", "moving forward", &globals::keyForward},
    {"Move backward", "moving backward", &globals::keyBackward},
    {"Turn left", "turning left", &globals::keyTurnLeft},
    {"Turn right", "turning right", &globals::keyTurnRight},
    {"Strafe left", "strafing to the left", &globals::keyStrafeLeft},
    {"Strafe right", "strafing to the right", &globals::keyStrafeRight},
    {"Shoot", "firing the selected weapon", &globals::keyShoot},
    {"Use", "using things like health stations", &globals::keyUse},
    {"Select next weapon", "selecting the next weapon", &globals::keyNextWeapon},
    {"Select previous weapon", "selecting the previous weapon", &globals::keyPrevWeapon},
    {"Review mission description", "showing the description of your current mission again", &globals::keyMission},
    {"View old messages", "showing an archive of received messages", &globals::keyMessages},
};

bool isReservedKey(int code) {
    return (code >= KEY_1 && code <= KEY_5) || (code >= KEY_F9 && code <= KEY_F12);
}

std::string keyRowText(const globals& settings, int row) {
    if (row < 0 || row >= KEY_ACTIONS) return "Finished";
    const KeyAction& a = KEY_ACTION_LIST[row];
    return std::string(a.label) + " (" + keyName(settings.*a.field) + ")";
}

std::string keyRowHelp(int row) {
    if (row < 0 || row >= KEY_ACTIONS) return "Return to the other option";
    return std::string("Change key for ") + KEY_ACTION_LIST[row].description;
}

KeyListState openKeyList(int screenW, int screenH) {
    KeyListState s;
    s.screenW = screenW;
    s.screenH = screenH;
    s.th1 = text_height(global.menuFont) + 3;
    s.th2 = text_height(global.textFont) + 3;
    layoutKeyList(s);
    return s;
}

void layoutKeyList(KeyListState& s) {
    layoutRows(s.top, KEY_ROWS, (s.screenH - KEY_ROWS * s.th1 - s.th2) >> 1, s.th1, s.th2, s.selection, s.screenH);
}

void keyListStep(KeyListState& s, globals& settings, const platform::Input& in,
                 const std::function<void(globals&, int)>& capture) {
    if (s.hover) {
        const int r = rowAt(s.top, KEY_ROWS, in.mouseY);
        if (r >= 0) s.selection = r;
    }
    // Navigation follows the keys in force, not the ones being edited.
    if (keyStates[KEY_UP] || keyStates[global.keyForward]) s.selection = rowAbove(s.selection, KEY_ROWS);
    if (keyStates[KEY_DOWN] || keyStates[global.keyBackward]) s.selection = rowBelow(s.selection, KEY_ROWS);
    if (keyStates[KEY_ENTER] || keyStates[global.keyUse] || in.click) {
        if (s.selection == FINISHED_ROW)
            s.running = false;
        else if (capture)
            capture(settings, s.selection);
    }
}

void drawKeyList(KeyListState& s, const globals& settings, BITMAP* target) {
    layoutKeyList(s);
    s.hover = true;  // rows are placed from the first frame on
    clear_bitmap(target);
    blit(global.menuBackground, target, 0, 0, 0, 0, s.screenW, s.screenH);
    int white = makecol(255, 255, 255);
    for (int r = 0; r < KEY_ROWS; ++r) {
        bool selected = r == s.selection;
        textout_centre_ex(target, global.menuFont, keyRowText(settings, r).c_str(), s.screenW >> 1, s.top[r],
                          selected ? white : makecol(0, 0, 0), -1);
        if (selected)
            textout_centre_ex(target, global.textFont, keyRowHelp(r).c_str(), s.screenW >> 1, s.top[r] + s.th1, white,
                              -1);
    }
}

CaptureState openCapture(const globals& settings, int row) {
    CaptureState c;
    c.row = row;
    const KeyAction& a = KEY_ACTION_LIST[row];
    c.prompt = std::string("Please press the key you would like to use for ") + a.description;
    c.current = "Current key assigned is " + keyName(settings.*a.field);
    return c;
}

void captureStep(CaptureState& c, globals& settings, const platform::Input& in) {
    if (c.messageTimer > 0) --c.messageTimer;
    if (keyStates[KEY_ESC]) {
        c.done = true;
        return;
    }
    for (int k = 0; k < KEY_MAX; ++k) {
        // Esc cancels, so it can never become an action's key, not even while held down.
        if (k == KEY_ENTER || k == KEY_ESC) continue;
        if (c.grace > 0 && k == global.keyUse) {
            --c.grace;
            continue;
        }
        if (!in.held[k]) continue;
        bool refused = false;
        for (int other = 0; other < KEY_ACTIONS; ++other) {
            if (other != c.row && settings.*KEY_ACTION_LIST[other].field == k) {
                c.message = std::string("This key is already used for ") + KEY_ACTION_LIST[other].description;
                c.messageTimer = 80;
                refused = true;
                break;
            }
        }
        if (isReservedKey(k)) {
            c.message = keyName(k) + " is a reserved key";
            c.messageTimer = 80;
            refused = true;
        }
        if (!refused) {
            settings.*KEY_ACTION_LIST[c.row].field = k;
            c.done = true;
            return;
        }
    }
}

void drawCapture(const CaptureState& c, BITMAP* target, int W) {
    clear_bitmap(target);
    blit(global.menuBackground, target, 0, 0, 0, 0, W, target->h);
    int white = makecol(255, 255, 255);
    textout_centre_ex(target, global.textFont, "Press Esc to cancel", W >> 1, 280, white, -1);
    textout_centre_ex(target, global.textFont, c.prompt.c_str(), W >> 1, 300, white, -1);
    textout_centre_ex(target, global.textFont, c.current.c_str(), W >> 1, 320, white, -1);
    if (c.messageTimer > 0)
        textout_centre_ex(target, global.warningFont, c.message.c_str(), W >> 1, 350, makecol(255, 0, 0), -1);
}

void runCapture(globals& settings, int row) {
    CaptureState c = openCapture(settings, row);
    screens::Screen loop;
    loop.retrace = false;
    loop.step = [&](const platform::Input& in) { captureStep(c, settings, in); };
    loop.draw = [&](BITMAP* target) { drawCapture(c, target, platform::screenWidth()); };
    loop.running = [&] { return !c.done; };
    screens::run(loop);
    // A confirm key just taken and still down would open this capture again at once.
    if (platform::held(global.keyUse)) keyStates.setState(global.keyUse, 1);
}

void keyChange(globals& settings) {
    KeyListState s = openKeyList(platform::screenWidth(), platform::screenHeight());
    screens::Screen loop;
    loop.step = [&](const platform::Input& in) { keyListStep(s, settings, in, runCapture); };
    loop.draw = [&](BITMAP* target) { drawKeyList(s, settings, target); };
    loop.running = [&] { return s.running; };
    screens::run(loop);
}

}  // namespace menu
