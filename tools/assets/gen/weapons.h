// First-person weapon frames, 256 x 256 on magenta, seen from behind the player's hands.
// Frame 1 rests; 2 and 3 wind up; 4 is the shot with its flash; 5 and 6 recover.
#pragma once
#include <vector>

#include "image.h"

namespace gen {

struct Pose {
    float dx = 0, dy = 0;   // whole weapon offset (recoil, raise)
    float flash = 0;        // muzzle flash size, 0 = none
    float smoke = 0;        // smoke puff size, 0 = none
    float spin = 0;         // blade rotation (Buzzsaw)
    int blade = 1;          // Buzzsaw: 1 mounted, 0 launched, 2 reloading
};

Image hunter(const Pose& p);

Image impactCannon(const Pose& p);

Image buzzsaw(const Pose& p);

// The six poses of each weapon, frame 1 first.
std::vector<Pose> hunterPoses();
std::vector<Pose> cannonPoses();
std::vector<Pose> buzzsawPoses();

}  // namespace gen
