#include "core/ElementaryFunctions.h"
#include "menu/menues.h"
#include "settings/global.h"

namespace menu {

int inGameMenu(BITMAP* background) {
    const std::string labels[4] = {"Continue", "Mission description", "Options", "Quit to main menu"};
    bool enabled[4] = {true, true, true, true};
    BITMAP* selected = loadBitmap("gfx/ingamebutton.tga");
    BITMAP* other = loadBitmap("gfx/ingamebuttonpressed.tga");
    int choice = stdMenu(0, false, 4, labels, enabled, global.textFont, 250, selected, other, background,
                         makecol(170, 170, 170), makecol(255, 255, 255), -1);
    destroy_bitmap(selected);
    destroy_bitmap(other);
    return choice;
}

}  // namespace menu
