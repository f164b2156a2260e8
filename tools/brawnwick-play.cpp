// Test play for level makers: one level file played as the campaign plays its levels, in the
// game's window with the player's settings; or watched while the playtest bot plays it.
#include <allegro.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "app/app.h"
#include "engine/levelLoad.h"
#include "game/campaign.h"
#include "game/game.h"
#include "game/levelLoop.h"
#include "input/controls.h"
#include "playtest/pilot.h"
#include "playtest/session.h"
#include "settings/global.h"

namespace {

const char USAGE[] =
    "usage: brawnwick-play LEVEL.map [--playtest]   play one level in the game's window (run it where the game runs)\n"
    "       exit code 0 won, 1 lost, 2 not started, 3 quit\n";
const int EXIT_WON = 0, EXIT_LOST = 1, EXIT_NOT_STARTED = 2, EXIT_QUIT = 3;

// The bot, steering through the player's own keys at the game's own pace.
struct Watch {
    std::string verdict;  // why the bot gave up, "" while it plays

    SteeringFor steering() {
        return [this](const Kelda_engine& engine) -> Steering {
            auto pilot = std::make_shared<playtest::Pilot>(engine);
            auto start = std::make_shared<double>(-1.0);
            return [this, pilot, start, &engine](platform::Input& in, const LevelState& s) {
                if (*start < 0) *start = in.now;
                const double now = in.now - *start;
                const Controls c = pilot->decide(s, now);
                if (pilot->unreachable >= 0) {
                    const Kelda_sprite& m = engine.sprites[pilot->unreachable];
                    char where[64];
                    std::snprintf(where, sizeof where, " at (%.2f, %.2f)", static_cast<double>(m.x),
                                  static_cast<double>(m.y));
                    verdict = "monster " + std::to_string(pilot->unreachable) + where + " cannot be reached";
                    return false;
                }
                if (now > playtest::GAME_SECONDS_ALLOWED) {
                    verdict = "still playing after " + std::to_string(static_cast<int>(now)) + " s";
                    return false;
                }
                holdControls(in, c, PlayKeys{global.keyForward, global.keyBackward, global.keyTurnLeft,
                                             global.keyTurnRight, global.keyStrafeLeft, global.keyStrafeRight,
                                             global.keyShoot});
                return true;
            };
        };
    }
};

// The level is tried before any window opens, so a level that cannot be played says why at once.
std::string loadProblem(const std::string& path) {
    const int depth = get_color_depth();
    set_color_depth(32);
    Kelda_engine engine;
    const std::string problem = levelLoadText(loadLevel(engine, path));
    set_color_depth(depth);
    return problem;
}

}  // namespace

int main(int argc, char** argv) {
    const bool bot = argc == 3 && std::string(argv[2]) == "--playtest";
    if (argc != 2 && !bot) {
        std::cerr << USAGE;
        return EXIT_NOT_STARTED;
    }
    const std::string path = argv[1];
    init();
    set_uformat(U_ASCII);  // file names are plain bytes, as in the game
    const std::string problem = loadProblem(path);
    if (!problem.empty()) {
        std::cerr << "brawnwick-play: " << path << ": " << problem << "\n";
        return EXIT_NOT_STARTED;
    }

    startUp();
    Watch watch;
    int result;
    {
        GameScreen screen;
        LevelState counters;
        counters.lives = CampaignState().lives;
        result = playLevelFile(path, 0, screen.depth.data(), screen.columns.data(), counters,
                               bot ? watch.steering() : SteeringFor());
    }
    global.unload();

    if (!watch.verdict.empty()) {
        std::cout << path << ": not won: " << watch.verdict << std::endl;
        return EXIT_LOST;
    }
    if (result == LEVEL_WON || result == LEVEL_LAST_WON) {
        std::cout << path << ": won" << std::endl;
        return EXIT_WON;
    }
    std::cout << path << (result == LEVEL_DIED ? ": lost" : ": quit") << std::endl;
    return result == LEVEL_DIED ? EXIT_LOST : EXIT_QUIT;
}
END_OF_MAIN()
