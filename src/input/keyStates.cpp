#include "input/keyStates.h"

#include "platform/platform.h"

keyStatesClass keyStates;

keyStatesClass::keyStatesClass() { resetAll(); }

bool keyStatesClass::operator[](int code) { return getKey(code); }

bool keyStatesClass::getKey(int code) {
    if (static_cast<unsigned>(code) >= static_cast<unsigned>(KEY_MAX)) return false;
    if (platform::held(code) && states[code] == 0) {
        states[code] = 1;
        return true;
    }
    if (!platform::held(code)) states[code] = 0;
    return false;
}

bool keyStatesClass::anyKey() {
    for (int code = 0; code < KEY_MAX; ++code) {
        if (platform::held(code) && states[code] == 0) {
            states[code] = 1;
            return true;
        }
        if (!platform::held(code)) states[code] = 0;
    }
    return false;
}

void keyStatesClass::resetAll() {
    for (int& s : states) s = 0;
}

void keyStatesClass::setState(int code, int state) {
    if (static_cast<unsigned>(code) < static_cast<unsigned>(KEY_MAX)) states[code] = state;
}
