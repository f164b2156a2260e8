// The main menu and the in-game menu, run whole from a folder holding their button images.
#include <string>

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
        std::string gfx = dir.file("gfx");
        mkdir(gfx.c_str(), 0755);
        for (const char* name : {"button", "buttonpressed", "ingamebutton", "ingamebuttonpressed"}) {
            BITMAP* b = solidBitmap(200, 20, makecol(90, 60, 30));
            save_bitmap((gfx + "/" + name + ".tga").c_str(), b, nullptr);
            destroy_bitmap(b);
        }
        cd = new ScopedChdir(dir.path());
        // Every present is one tick later; the script presses keys at given frames.
        frameHooks.present = [this] {
            ++frames;
            releaseAllKeys();
            if (script) script(frames);
            ++timerCounter;
        };
        frameHooks.idle = [] {};
    }
    void TearDown() override {
        delete cd;
        MenuTest::TearDown();
    }
    // Presses the keys one per frame, each followed by a frame with nothing held.
    void pressInTurn(std::vector<int> keys) {
        frames = 0;
        script = [keys](int frame) {
            size_t i = static_cast<size_t>(frame - 1);
            if (i % 2 == 0 && i / 2 < keys.size()) key[keys[i / 2]] = 1;
            if (frame > 200 && frame % 2) key[KEY_ENTER] = 1;  // never hang a test
        };
    }
    TempDir dir;
    ScopedChdir* cd = nullptr;
    int frames = 0;
    std::function<void(int)> script;
};
}  // namespace

TEST_F(ButtonMenuTest, MainMenuOpensOnTheGivenEntryAndConfirmsIt) {
    pressInTurn({KEY_ENTER});
    EXPECT_EQ(menu::main(0, false), 0) << "New Game";
    pressInTurn({KEY_ENTER});
    EXPECT_EQ(menu::main(2, false), 2) << "reopens on the entry chosen last";
    pressInTurn({KEY_ENTER});
    EXPECT_EQ(menu::main(2, true), 3) << "with the restart notice only Exit is left";
    pressInTurn({KEY_UP, KEY_UP, KEY_ENTER});
    EXPECT_EQ(menu::main(3, true), 3);
}

TEST_F(ButtonMenuTest, HiscoreCanNeitherBeReachedNorHovered) {
    pressInTurn({KEY_DOWN, KEY_ENTER});
    EXPECT_EQ(menu::main(0, false), 2) << "Down from New Game skips Hiscore";
    pressInTurn({KEY_UP, KEY_ENTER});
    EXPECT_EQ(menu::main(2, false), 0);

    // Hiscore's slot centre is y = 237 with margin 50 on 600 lines.
    mouse_x = 400;
    mouse_y = 237;
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
