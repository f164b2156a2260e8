// The main menu and the in-game menu, run whole from a folder holding their button images.
#include <string>
#include <vector>

#include "core/constants.h"
#include "input/keyStates.h"
#include "input/mouse.h"
#include "menu/frame.h"
#include "menu/menu_fixture.h"
#include "menu/menues.h"

using namespace menu;

namespace {
class ButtonMenuTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        mkdir(dir.file("gfx").c_str(), 0755);
        for (const char* name : {"button", "buttonpressed", "ingamebutton", "ingamebuttonpressed"}) {
            BITMAP* b = solidBitmap(200, 20, makecol(90, 60, 30));
            save_bitmap(dir.file(std::string("gfx/") + name + ".tga").c_str(), b, nullptr);
            destroy_bitmap(b);
        }
        // Every present is one tick later; the keys are pressed one per frame, each followed by
        // a frame with nothing held.
        frameHooks.present = [this] {
            releaseAllKeys();
            size_t i = static_cast<size_t>(frames++);
            if (i % 2 == 0 && i / 2 < keys.size()) key[keys[i / 2]] = 1;
            if (frames > 200 && frames % 2) key[KEY_ENTER] = 1;  // never hang a test
            ++timerCounter;
        };
        frameHooks.idle = [] {};
    }
    void pressInTurn(std::vector<int> k) {
        frames = 0;
        keys = std::move(k);
    }
    TempDir dir;
    ScopedChdir cd{dir.path()};
    int frames = 0;
    std::vector<int> keys;
};
}  // namespace

// Keyboard use of the main menu and its restart notice are in the end-to-end tests.
TEST_F(ButtonMenuTest, MainMenuHiscoreCannotBeHovered) {
    mouse_x = 400;
    mouse_y = 237;  // Hiscore's slot centre with margin 50 on 600 lines
    pressInTurn({KEY_ENTER});
    EXPECT_EQ(menu::main(0, false), 0);
    mouse_y = 362;  // Options
    pressInTurn({0, KEY_ENTER});
    EXPECT_EQ(menu::main(0, false), 2);
}

TEST_F(ButtonMenuTest, InGameMenuStartsOnContinueAndWrapsUpToQuit) {
    BITMAP* frame = solidBitmap(800, 600, makecol(10, 20, 30));
    pressInTurn({KEY_ENTER});
    EXPECT_EQ(inGameMenu(frame), 0);
    pressInTurn({KEY_UP, KEY_ENTER});
    EXPECT_EQ(inGameMenu(frame), 3);
    pressInTurn({KEY_ESC, KEY_ESC, KEY_DOWN, KEY_ENTER});
    EXPECT_EQ(inGameMenu(frame), 1) << "Esc does nothing";
    EXPECT_EQ(getpixel(global.buffer, 5, 5), makecol(10, 20, 30)) << "drawn over the given frame";
    destroy_bitmap(frame);
}
