// Whole games played in-process on the scripted platform: the real start-up, intro, menus,
// options, key capture, campaigns and shut-down, judged by the files the game writes and what
// the platform saw. Deterministic: one timer tick per frame, a clock that moves with the frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/app.h"
#include "fake_platform.h"
#include "input/keyStates.h"
#include "level/levelfile.h"
#include "level/levelsource.h"
#include "settings/global.h"
#include "sound/music.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {
// The settings file as the first start writes it: window mode as the defaults say, every key at
// its default, frame skip 4, colour depth 16 (no desktop here), volumes 255 and 175, picture 0.
std::string defaultSettings() {
    std::string b(61, '\0');
    b[0] = 1;
    b[1] = 1;
    const int keys[12] = {KEY_LEFT, KEY_RIGHT, KEY_W, KEY_S, KEY_E, KEY_SPACE,
                          KEY_UP,   KEY_DOWN,  KEY_TAB, KEY_M, KEY_A, KEY_D};
    for (int i = 0; i < 12; ++i) b[2 + 4 * i] = static_cast<char>(keys[i]);
    b[50] = 4;
    b[51] = 16;
    b[55] = static_cast<char>(255);
    b[56] = static_cast<char>(175);
    return b;
}

// A corridor level: the player at the east end looking west down a row of cells.
std::string corridor(const std::string& sprites) {
    std::string row(30, '.');
    return "texture gfx/sprites/monster0.bmp\ntexture gfx/sprites/monster1.bmp\ntexture gfx/sprites/monster2.bmp\n"
           "texture gfx/walls/stone.bmp\ntexture gfx/floors/flagstone.bmp\nsky 120 140 210\nstart 30.5 1.5\n"
           "wall # 3\nfloor . 4 sky\nmap\n" + std::string(32, '#') + "\n#" + row + "#\n" + std::string(32, '#') +
           "\nend\n" + sprites;
}

void compileLevel(const std::string& text, const std::string& path) {
    levelfile::Level level;
    std::string error;
    ASSERT_TRUE(levelsource::compile(text, level, error)) << error;
    writeFile(path, levelfile::write(level));
}

class GameFlow : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path source = BRAWNWICK_SOURCE_DIR;
        // The game's files, each linked on its own so that a case can take one away or spoil it.
        for (const char* folder : {"data", "gfx", "sfx"}) {
            fs::create_directories(folder);
            for (const auto& e : fs::recursive_directory_iterator(source / folder)) {
                const fs::path to = fs::path(folder) / fs::relative(e.path(), source / folder);
                if (e.is_directory())
                    fs::create_directories(to);
                else
                    fs::create_symlink(e.path(), to);
            }
        }
        fs::create_directories("maps");
        fs::create_directories("screenshots");
        writeFile("resolution.txt", "320 240");
        keyStates.resetAll();
        global = globals();
    }
    void TearDown() override { global = globals(); }

    void level(int n, const std::string& sprites) { compileLevel(corridor(sprites), "maps/" + std::to_string(n) + ".map"); }
    void laterStart() { writeFile("settings", defaultSettings()); }
    // Leaves the intro of a later start, and then the main menu from "New Game" by "Exit".
    void leaveIntro() { fake.tap(KEY_SPACE); }
    void exitFromMenu() { fake.taps({KEY_UP, KEY_ENTER}); }
    int play() {
        const int code = playGame();
        EXPECT_TRUE(fake.scriptDone()) << "the game ended before its script";
        return code;
    }
    std::string settings() { return readFile("settings"); }
    long screenshots() { return std::distance(fs::directory_iterator("screenshots"), fs::directory_iterator()); }

    TempDir dir;
    ScopedChdir cd{dir.path()};
    FakePlatform fake;
};
}  // namespace

TEST_F(GameFlow, FirstStartShowsTheWholeIntroAndWritesTheDefaults) {
    fake.tap(KEY_SPACE);  // too early on a first start: used up
    fake.idleFrames(212);
    fake.tap(KEY_SPACE);
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_ENTER});  // "Hiscore" is skipped: Options, then Exit
    EXPECT_EQ(brawnwickMain(), 0);
    EXPECT_TRUE(fake.scriptDone());
    EXPECT_EQ(fake.windowTitle, "Brawnwick - Quenmoor");
    EXPECT_GT(fake.frames, 210);
    EXPECT_EQ(settings(), defaultSettings());
    EXPECT_EQ(fake.modes.front(), "1 800x600") << "full screen, as the defaults say";
}

TEST_F(GameFlow, OptionsSavedAndDiscarded) {
    laterStart();
    leaveIntro();
    fake.taps({KEY_DOWN, KEY_ENTER});              // Options
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_DOWN});     // SFX volume
    fake.then([this] { fake.hold(KEY_LEFT); });
    fake.idleFrames(9);                            // ten steps with Left held
    fake.then([this] { fake.release(KEY_LEFT); });
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER});  // Exit saving changes
    fake.taps({KEY_ENTER});                                // Options again (the menu reopens on it)
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN});   // Music volume
    fake.then([this] { fake.turnWheel(-5); });
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER});  // Exit discarding changes
    fake.taps({KEY_DOWN, KEY_ENTER});                      // Exit
    EXPECT_EQ(play(), 0);
    std::string expected = defaultSettings();
    expected[55] = static_cast<char>(245);
    EXPECT_EQ(settings(), expected);
}

TEST_F(GameFlow, KeyCaptureAndAColourDepthThatNeedsARestart) {
    laterStart();
    leaveIntro();
    fake.taps({KEY_DOWN, KEY_ENTER});                    // Options
    fake.taps({KEY_DOWN, KEY_LEFT});                     // Color depth: 32
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER});  // Controls
    fake.taps({KEY_ENTER, KEY_Q});                       // "Move forward" takes Q
    fake.taps({KEY_UP, KEY_ENTER});                      // Finished
    fake.taps({KEY_DOWN, KEY_ENTER});                    // Exit saving changes
    fake.taps({KEY_UP, KEY_UP, KEY_ENTER});              // the restart notice leaves only Exit
    EXPECT_EQ(play(), 0);
    std::string expected = defaultSettings();
    expected[10] = KEY_Q;
    expected[51] = 32;
    EXPECT_EQ(settings(), expected);
}

TEST_F(GameFlow, CampaignWonShotByShot) {
    laterStart();
    level(0, "sprite 2.5 1.5 health 1 texture 0\n");
    level(1, "sprite 2.5 1.5 health 2 texture 1\n");
    leaveIntro();
    fake.taps({KEY_ENTER});                       // New Game
    fake.then([this] { fake.hold(KEY_SPACE); });  // the Hunter, again and again
    fake.idleFrames(150);
    fake.then([this] { fake.release(KEY_SPACE); });
    fake.idleFrames(40);                          // the final screen ignores keys for a second
    fake.tap(KEY_ENTER);
    exitFromMenu();
    EXPECT_EQ(play(), 0);
    EXPECT_EQ(screenshots(), 1) << "the final screen saves its own picture";
    EXPECT_EQ(fake.sounds.size(), 3u) << "one, then two shots";
    EXPECT_NE(std::find(fake.modes.begin(), fake.modes.end(), "1 320x240"), fake.modes.end());
    EXPECT_EQ(fake.modes.back(), "1 800x600") << "back to the menus' size";
}

TEST_F(GameFlow, CampaignLostWhenTheLivesRunOut) {
    laterStart();
    level(0, "sprite 29.5 1.5 health 9 texture 2\nsprite 28.5 1.5 health 9 texture 2\n"
             "sprite 27.5 1.5 health 9 texture 2\nsprite 26.5 1.5 health 9 texture 2\n"
             "sprite 25.5 1.5 health 9 texture 2\nsprite 24.5 1.5 health 9 texture 2\n");
    leaveIntro();
    fake.taps({KEY_ENTER});
    fake.idleFrames(400);  // four deaths and the announcements in between
    exitFromMenu();
    EXPECT_EQ(play(), 0);
    EXPECT_EQ(screenshots(), 0);
    EXPECT_TRUE(fake.questions.empty());
}

TEST_F(GameFlow, QuitQuestionAnsweredOhNoThenYes) {
    laterStart();
    level(0, "sprite 2.5 1.5 health 9 texture 0\n");
    leaveIntro();
    fake.taps({KEY_ENTER});
    fake.answers = {2, 1};
    fake.tap(KEY_ESC);
    fake.idleFrames(3);
    fake.tap(KEY_ESC);
    exitFromMenu();
    EXPECT_EQ(play(), 0);
    ASSERT_EQ(fake.questions.size(), 2u);
    EXPECT_EQ(fake.questions[0], "Quit current game and return to main menu?");
}

// The menus' piece from the intro on, its volume following the options (kept when saved, back
// when discarded), a piece per level, the menus' piece back when the campaign is quit, and
// nothing left playing at the end.
TEST_F(GameFlow, MusicFollowsTheScreensAndTheVolume) {
    std::vector<std::string> heard;
    auto listen = [this, &heard](const char* where) {
        fake.then([this, &heard, where] {
            std::string s = std::string(where) + ": " + music::playing();
            for (const auto& loop : fake.loops) s += " " + std::to_string(loop.volume);
            heard.push_back(s);
        });
    };
    laterStart();
    level(0, "sprite 2.5 1.5 health 1 texture 0\n");
    level(1, "sprite 2.5 1.5 health 9 texture 0\n");
    fake.idleFrames(1);  // the loading screen
    listen("intro");
    leaveIntro();
    fake.taps({KEY_DOWN, KEY_ENTER, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN});  // Options, Music volume
    fake.then([this] { fake.hold(KEY_LEFT); });
    fake.idleFrames(9);
    fake.then([this] { fake.release(KEY_LEFT); });
    listen("options");
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_ENTER});  // Exit saving changes
    listen("menu");
    fake.taps({KEY_ENTER, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_DOWN});  // Options again, Music volume
    fake.then([this] { fake.turnWheel(-20); });
    listen("options again");
    fake.taps({KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER});  // Exit discarding changes
    listen("discarded");
    fake.taps({KEY_UP, KEY_ENTER});  // New Game
    listen("level 0");
    fake.then([this] { fake.hold(KEY_SPACE); });
    fake.idleFrames(60);
    fake.then([this] { fake.release(KEY_SPACE); });
    listen("level 1");
    fake.answers = {1};
    fake.tap(KEY_ESC);
    listen("menu again");
    exitFromMenu();
    EXPECT_EQ(play(), 0);
    EXPECT_EQ(heard, (std::vector<std::string>{
                         "intro: sfx/music_menu.wav 175", "options: sfx/music_menu.wav 165",
                         "menu: sfx/music_menu.wav 165", "options again: sfx/music_menu.wav 145",
                         "discarded: sfx/music_menu.wav 165", "level 0: sfx/music_level1.wav 165",
                         "level 1: sfx/music_level2.wav 165", "menu again: sfx/music_menu.wav 165"}));
    EXPECT_TRUE(fake.loops.empty() && music::playing().empty());
}

// Every file the game reads, missing or damaged, ends it with its own message, exit code 1 and
// the settings file as it was.
TEST_F(GameFlow, FaultsEndTheGameWithTheirMessage) {
    struct Case {
        std::string file;
        std::string content;  // "-": the file is missing
        std::string message;
    };
    laterStart();
    level(0, "sprite 2.5 1.5 health 9 texture 0\n");
    std::vector<Case> cases;
    auto bitmap = [](const std::string& f) { return "Error006: Loading bitmap \"" + f + "\" failed"; };
    auto datafile = [](const std::string& f) { return "Error007: Loading datafile \"" + f + "\" failed"; };
    auto map = [](const std::string& reason) {
        return "Error010: Could not load map \"maps/0.map\" for the following reason:." + reason;
    };
    const std::string dataDat = readFile("data/data.dat"), introDat = readFile("data/intro.dat");
    for (const std::string dat : {"data/data.dat", "data/intro.dat"}) {
        const std::string bytes = readFile(dat);
        for (const std::string& bad : {std::string("-"), std::string(), bytes.substr(0, bytes.size() / 2),
                                       bytes.substr(0, 8) + std::string(4096, '\x5a'),
                                       dat == "data/data.dat" ? introDat : dataDat})
            cases.push_back({dat, bad, datafile(dat)});
    }
    for (const char* tga : {"gfx/mainmenu.tga", "gfx/crosshair.tga", "gfx/button.tga", "gfx/buttonpressed.tga"})
        for (const char* bad : {"-", ""}) cases.push_back({tga, bad, bitmap(tga)});
    for (const char* weapon : {"Hunter", "Impactcannon", "Buzzsaw"})
        for (int i = 1; i <= 6; ++i) {
            const std::string f = std::string("gfx/") + weapon + std::to_string(i) + ".bmp";
            cases.push_back({f, i == 6 ? "" : "-", bitmap(f)});
        }
    for (int i = 1; i <= 3; ++i) {
        const std::string f = "sfx/shoot" + std::to_string(i) + ".wav";
        cases.push_back({f, i == 1 ? "-" : i == 2 ? "" : readFile(f).substr(0, 60),
                         "Error008: Loading sample \"" + f + "\" failed"});
    }
    for (const char* music : {"sfx/music_menu.wav", "sfx/music_level1.wav"})
        cases.push_back({music, music[10] == 'm' ? "-" : readFile(music).substr(0, 60),
                         "Error008: Loading sample \"" + std::string(music) + "\" failed"});
    const std::string level = readFile("maps/0.map");
    cases.push_back({"maps/0.map", "-", map("File not found")});
    for (const std::string& bad : {std::string(), level.substr(0, 3), level.substr(0, level.size() / 2)})
        cases.push_back({"maps/0.map", bad, map("File is truncated")});
    cases.push_back({"gfx/walls/stone.bmp", "-", bitmap("gfx/walls/stone.bmp")});
    cases.push_back({"gfx/walls/stone.bmp", readFile(fs::path(BRAWNWICK_SOURCE_DIR) / "tests/data/level/odd.bmp"),
                     bitmap("gfx/walls/stone.bmp")});

    // Drivers that do not start, and a display that refuses every mode.
    const std::pair<platform::StartFailure, const char*> drivers[] = {
        {platform::StartFailure::timer, "Error001: Timer could not be initialised"},
        {platform::StartFailure::keyboard, "Error002: No keyboarddriver found"},
        {platform::StartFailure::sound, "Error003: Sound driver could not be initialised"},
        {platform::StartFailure::mouse, "Error011: Failed to initialise mouse"}};
    for (const auto& d : drivers) {
        fake.failAtStart = d.first;
        EXPECT_EXIT(brawnwickMain(), ::testing::ExitedWithCode(1), d.second);
    }
    fake.failAtStart = platform::StartFailure::none;
    fake.refuseMode = [](int, int, int) { return true; };
    EXPECT_EXIT(playGame(), ::testing::ExitedWithCode(1), "Error004: Graphic mode couldn't be set");
    fake.refuseMode = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + std::to_string(c.content.size()));
        const bool linked = fs::is_symlink(c.file);
        const std::string original = readFile(c.file);
        fs::remove(c.file);
        if (c.content != "-") writeFile(c.file, c.content);
        EXPECT_EXIT(
            {
                leaveIntro();
                fake.taps({KEY_ENTER});  // New Game, where the campaign's files are read
                playGame();
            },
            ::testing::ExitedWithCode(1), c.message);
        EXPECT_EQ(settings(), defaultSettings()) << "a fatal error writes no settings";
        fs::remove(c.file);
        if (linked)
            fs::create_symlink(fs::path(BRAWNWICK_SOURCE_DIR) / c.file, c.file);
        else
            writeFile(c.file, original);
    }
}
