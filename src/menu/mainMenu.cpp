#include "menu/menues.h"
#include "settings/global.h"

namespace menu {

int main(int start, bool restartNotice) {
    // There is no high-score table, so that entry stays greyed out.
    const std::string labels[4] = {"New Game", "Hiscore", "Options", "Exit"};
    bool enabled[4] = {true, false, true, true};
    return stdMenu(start, restartNotice, 4, labels, enabled, global.menuFont, 50, nullptr, nullptr, nullptr, -1, -1,
                   -1);
}

}  // namespace menu
