#pragma once
// A test room with every texture and sprite, seen through the game's renderer with its HUD on top.
#include <allegro.h>

#include <string>

namespace preview {

struct ScenePose {
    float x, y, angle;  // camera position in cells; view direction (cos angle, sin angle)
    int weapon, frame;  // the weapon picture on screen
};

// The frame as the level loop would present it, or null when the room or the art cannot be
// loaded (the reason goes to stderr). The working folder must be the repository.
BITMAP* renderScene(const ScenePose& pose, int width, int height);

}  // namespace preview
