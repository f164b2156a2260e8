#include "sound/music.h"

#include "sound/Sound.h"

namespace music {

namespace {
const int CENTRE = 128;
const int OWN_PITCH = 1000;

struct Player {
    Sound piece;
    std::string path;
};

Player& player() {
    static Player p;
    return p;
}
}  // namespace

void play(const std::string& path, int volume) {
    Player& p = player();
    if (p.path == path && p.piece.isActive()) return;
    stop();
    p.piece.load(path);
    p.path = path;
    p.piece.play(1, volume, CENTRE, OWN_PITCH);
}

void setVolume(int volume) {
    Player& p = player();
    if (p.piece.isActive()) p.piece.adjust(1, volume, CENTRE, OWN_PITCH);
}

void stop() {
    Player& p = player();
    p.piece.stop();
    p.piece.destroy();
    p.path.clear();
}

const std::string& playing() { return player().path; }

}  // namespace music
