#pragma once
// The menu screens. Each draws into global.buffer and presents it with show().
#include <allegro.h>

#include <string>

class globals;

namespace menu {
int stdMenu(int start, bool restartNotice, int n, const std::string* labels, bool* enabled, FONT* labelFont,
            int margin, BITMAP* selectedImage, BITMAP* otherImage, BITMAP* background, int enabledColor,
            int selectedColor, int disabledColor);
int main(int start, bool restartNotice);
void intro();
bool options(bool full);
void keyChange(globals& settings);
void newLevel(const char* message, int ticks);
void congrats(int points);
int inGameMenu(BITMAP* background);
}  // namespace menu
