#include "playtest/opening.h"

#include <cmath>
#include <cstdio>

namespace playtest {

namespace {
// The game's usual window; a wider view shows more of a monster at a door's edge.
const int WIDTH = 800;
const int HEIGHT = 600;
const char* const HEADINGS[8] = {"west", "north-west", "north", "north-east", "east", "south-east", "south", "south-west"};

std::string cells(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(v));
    return text;
}
std::string place(const Kelda_sprite& s) { return "(" + cells(s.x) + ", " + cells(s.y) + ")"; }
}  // namespace

std::vector<std::string> openingWarnings(Kelda_engine& e) {
    std::vector<std::string> found;
    std::vector<int> pixels(static_cast<size_t>(WIDTH) * HEIGHT);
    std::vector<int*> columns(WIDTH);
    std::vector<float> depth(WIDTH);
    for (int x = 0; x < WIDTH; ++x) columns[x] = pixels.data() + static_cast<size_t>(x) * HEIGHT;
    e.setBuffers(columns.data(), depth.data(), WIDTH, HEIGHT);
    e.inRange();

    // Eight views 45 degrees apart overlap (each sees 67 degrees), so together they are every way
    // the player can turn on the spot. The first is the way the level starts, west.
    const float startX = e.dirX, startY = e.dirY, startPX = e.planeX, startPY = e.planeY;
    std::vector<int> seenFrom(static_cast<size_t>(e.spriteCount), -1);
    for (int k = 0; k < 8; ++k) {
        const float a = 3.14159265f * 0.25f * static_cast<float>(k);
        const float c = std::cos(a), s = std::sin(a);
        e.dirX = startX * c - startY * s;
        e.dirY = startX * s + startY * c;
        e.planeX = startPX * c - startPY * s;
        e.planeY = startPX * s + startPY * c;
        e.render();
        if (k == 0 && depth[WIDTH / 2] < CLEAR_AHEAD)
            found.push_back("the start faces a wall " + cells(depth[WIDTH / 2]) +
                            " cells away; move or turn the room so the player first looks west along at least " +
                            cells(CLEAR_AHEAD) + " cells of open floor");
        for (int i = 0; i < e.spriteCount; ++i)
            if (e.visible[i] && seenFrom[i] < 0) seenFrom[i] = k;
    }
    e.dirX = startX, e.dirY = startY, e.planeX = startPX, e.planeY = startPY;

    for (int i = 0; i < e.spriteCount; ++i) {
        const Kelda_sprite& m = e.sprites[i];
        if (m.health <= 0) continue;
        const std::string name = "monster " + std::to_string(i) + " at " + place(m);
        if (seenFrom[i] >= 0)
            found.push_back(name + " is in sight from the start (looking " + HEADINGS[seenFrom[i]] +
                            "), so it charges before the player has had a look round; hide it behind a wall");
        const float d = std::hypot(m.x - e.posX, m.y - e.posY);
        if (d < NEAREST_MONSTER)
            found.push_back(name + " is " + cells(d) + " cells from the start; keep monsters " + cells(NEAREST_MONSTER) +
                            " cells or more away");
    }
    return found;
}

}  // namespace playtest
