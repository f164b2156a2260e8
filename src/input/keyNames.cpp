#include "input/keyStates.h"

namespace {
struct NamedKey {
    int code;
    const char* name;
};

// Bound to the library's constants, whatever numbers they stand for.
const NamedKey NAMED_KEYS[] = {
    {KEY_0_PAD, "Numpad 0"}, {KEY_1_PAD, "Numpad 1"}, {KEY_2_PAD, "Numpad 2"}, {KEY_3_PAD, "Numpad 3"},
    {KEY_4_PAD, "Numpad 4"}, {KEY_5_PAD, "Numpad 5"}, {KEY_6_PAD, "Numpad 6"}, {KEY_7_PAD, "Numpad 7"},
    {KEY_8_PAD, "Numpad 8"}, {KEY_9_PAD, "Numpad 9"},
    {KEY_F1, "F1"}, {KEY_F2, "F2"}, {KEY_F3, "F3"}, {KEY_F4, "F4"}, {KEY_F5, "F5"}, {KEY_F6, "F6"},
    {KEY_F7, "F7"}, {KEY_F8, "F8"}, {KEY_F9, "F9"}, {KEY_F10, "F10"}, {KEY_F11, "F11"}, {KEY_F12, "F12"},
    {KEY_ESC, "Esc"}, {KEY_TILDE, "Tilde"}, {KEY_MINUS, "Minus"}, {KEY_EQUALS, "Equals"},
    {KEY_BACKSPACE, "Backspace"}, {KEY_TAB, "Tab"}, {KEY_OPENBRACE, "Openbrace"},
    {KEY_CLOSEBRACE, "Closebrace"}, {KEY_ENTER, "Enter"}, {KEY_COLON, "Colon"}, {KEY_QUOTE, "Quote"},
    {KEY_BACKSLASH, "\\"}, {KEY_BACKSLASH2, "\\"}, {KEY_COMMA, ","}, {KEY_STOP, "."}, {KEY_SLASH, "/"},
    {KEY_SPACE, "Space"}, {KEY_INSERT, "Insert"}, {KEY_DEL, "Delete"}, {KEY_HOME, "Home"},
    {KEY_END, "End"}, {KEY_PGUP, "Page up"}, {KEY_PGDN, "Page down"}, {KEY_LEFT, "Left"},
    {KEY_RIGHT, "Right"}, {KEY_UP, "Up"}, {KEY_DOWN, "Down"}, {KEY_SLASH_PAD, "Numpad /"},
    {KEY_ASTERISK, "Numpad *"}, {KEY_MINUS_PAD, "Numpad -"}, {KEY_PLUS_PAD, "Numpad +"},
    {KEY_DEL_PAD, "Numpad Delete"}, {KEY_ENTER_PAD, "Numpad Enter"}, {KEY_PRTSCR, "Print screen"},
    {KEY_PAUSE, "Pause"}, {KEY_ABNT_C1, "ABNT_C1"}, {KEY_YEN, "Yen"}, {KEY_KANA, "Kana"},
    {KEY_CONVERT, "CONVERT"}, {KEY_NOCONVERT, "NOCONVERT"}, {KEY_AT, "@"},
    {KEY_CIRCUMFLEX, "Circumflex"}, {KEY_COLON2, "Colon 2"}, {KEY_KANJI, "KANJI"},
    {KEY_LSHIFT, "Left Shift"}, {KEY_RSHIFT, "Right Shift"}, {KEY_LCONTROL, "Left Ctrl"},
    {KEY_RCONTROL, "Right Ctrl"}, {KEY_ALT, "Alt"}, {KEY_ALTGR, "Alt Gr"}, {KEY_LWIN, "Left windows"},
    {KEY_RWIN, "Right windows"}, {KEY_MENU, "MENU"}, {KEY_SCRLOCK, "Screenlock"},
    {KEY_NUMLOCK, "Numlock"}, {KEY_CAPSLOCK, "Capslock"},
};

struct KeyNameFiller {
    explicit KeyNameFiller(std::string* names) {
        names[0] = "NULL";
        for (int i = 0; i < 26; ++i) names[KEY_A + i] = std::string(1, static_cast<char>('A' + i));
        for (int i = 0; i < 10; ++i) names[KEY_0 + i] = std::string(1, static_cast<char>('0' + i));
        for (const NamedKey& k : NAMED_KEYS) names[k.code] = k.name;
    }
};
}  // namespace

std::string keyNames[KEY_MAX];
static KeyNameFiller keyNameFiller(keyNames);

const std::string& keyName(int code) {
    static const std::string unknown = "?";
    if (static_cast<unsigned>(code) >= static_cast<unsigned>(KEY_MAX)) return unknown;
    return keyNames[code];
}
