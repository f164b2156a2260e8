#pragma once
// Key presses as once-per-press events, shared by every screen, and the keys' display names.
#include <allegro.h>

#include <string>

class keyStatesClass {
public:
    int states[KEY_MAX];

    keyStatesClass();
    bool operator[](int code);
    bool getKey(int code);
    bool anyKey();
    void resetAll();
    void setState(int code, int state);
};

extern keyStatesClass keyStates;
extern std::string keyNames[KEY_MAX];

// The display name of any code; codes outside 0..126 (a damaged settings file) get "?".
const std::string& keyName(int code);
