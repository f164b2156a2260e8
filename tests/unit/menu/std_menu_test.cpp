// The standard button menu stepped with input values; the main and in-game menus run whole.
#include "menu/menu_fixture.h"
#include "menu/menues.h"
#include "menu/stdMenu.h"

TEST_F(MenuTest, StdMenuFollowsEnabledEntriesThePointerAndFreshPressesOverItsLook) {
    std::vector<char> on;  // buttons of 200 x 40, margin 50: four slots of 125 centred at 112, 237, 362, 487
    auto open = [&](int start, bool notice, const std::vector<char>& flags) {
        on = flags;
        return menu::openStdMenu(start, notice, int(on.size()), (bool*)on.data(), 50, 200, 40, 800, 600);
    };
    const std::vector<char> odd = {1, 0, 1, 0, 1, 0}, four = {1, 0, 1, 1};
    const int up = KEY_UP, dn = KEY_DOWN, fw = global.keyForward, bw = global.keyBackward, ok = KEY_ENTER;
    const struct { int start, notice; std::vector<char> flags; Keys keys; int sel, done, x = 0, y = 0, click = 0;
                   std::vector<char> after = {}; } cases[] = {
        {0, 2, four, {}, 0, 0} /* Down, and the Enter that closed the last screen, held */,
        {0, 1, four, {{up}, {dn}}, 3, 0, 0, 0, 0, {0, 0, 0, 1}}, {0, 0, {0, 0, 0}, {{up}}, 2, 0, 0, 0, 0, {0, 0, 1}},
        {1, 0, {1, 0, 0, 1}, {}, 3, 0}, {2, 0, {1, 1, 0, 0}, {}, 0, 0} /* on from the top */, {0, 0, odd, {{up}}, 4, 0},
        {4, 0, odd, {{dn}}, 0, 0}, {0, 0, odd, {{bw}, {bw}, {fw}}, 2, 0}, {2, 0, odd, {{up, dn, KEY_ESC}}, 2, 0},
        {0, 0, odd, {{dn}, {ok}}, 2, 1}, {2, 0, odd, {{global.keyUse}}, 2, 1}, {0, 0, four, {}, 0, 0, 400, 237},
        {0, 0, four, {}, 0, 0, 400, 467}, {0, 0, four, {}, 0, 0, 300, 480}, {0, 0, four, {}, 3, 0, 301, 468},
        {0, 0, four, {}, 3, 0, 499, 506}, {0, 0, four, {}, 0, 0, 500, 507}, {0, 0, four, {}, 2, 1, 400, 362, 1},
        {0, 0, four, {{dn}}, 3, 0, 400, 362}, {0, 0, four, {{dn}, {}}, 2, 0, 400, 362} /* then the pointer again */,
        {0, 0, four, {}, 0, 1, 0, 0, 1}};
    for (const auto& c : cases) {
        platform::Input held;
        held.held[KEY_DOWN] = held.held[KEY_ENTER] = c.notice == 2, platform::use(held), keyStates[KEY_ENTER];
        menu::StdMenuState m = open(c.start, c.notice == 1, c.flags);
        auto step = [&](auto& in) { menu::stdMenuStep(m, in); };
        c.notice == 2 ? step(held) : steps(c.keys, step, c.x, c.y, c.click);
        EXPECT_EQ(std::make_tuple(m.selection, int(m.confirmed), on),
                  std::make_tuple(c.sel, c.done, c.after.empty() ? c.flags : c.after)) << c.x << "," << c.y;
    }
    EXPECT_EQ(std::make_pair(open(0, false, four).top, open(0, false, four).left),
              std::make_pair(std::vector<int>{92, 217, 342, 467}, 300));
    fake.taps({KEY_DOWN, KEY_ENTER});  // run whole: the main menu's look, then the notice by the labels' height
    EXPECT_EQ(menu::main(0, false), 2) << "\"Hiscore\" is skipped";
    const int grey = makecol(153, 153, 153), white = makecol(255, 255, 255), red = makecol(255, 0, 0);
    std::pair<const char*, int> entry[] = {{"New Game", grey}, {"Hiscore", white}, {"Options", 0}, {"Exit", grey}};
    for (int i = 0; i < 4; ++i)  // buttons of 300 x 70
        EXPECT_TRUE(textAt(entry[i].first, 400, 77 + 125 * i + 31, entry[i].second, 0, fake.lastFrame)) << i;
    DATAFILE* data = load_datafile("data/data.dat");
    FONT* tall = static_cast<FONT*>(data[0].dat);  // labels taller than the notice's font
    const std::string labels[] = {"One", "Two"};
    bool enabled[] = {true, true};
    fake.tap(KEY_ENTER);
    EXPECT_EQ(menu::stdMenu(0, true, 2, labels, enabled, tall, 50, nullptr, nullptr, nullptr, -1, -1, -1), 1);
    const int th = text_height(tall);
    EXPECT_TRUE(textAt("You changed sensitive options,", 400, 600 - 2 * th - 10, red, 0, fake.lastFrame));
    EXPECT_TRUE(textAt("please restart the game.", 400, 600 - th - 5, red, 0, fake.lastFrame));
    unload_datafile(data);
}
