#pragma once
// Play input as the game sees it: which of the player's keys are held this frame.
#include "platform/platform.h"

struct Controls {
    bool forward = false, backward = false, turnLeft = false, turnRight = false;
    bool strafeLeft = false, strafeRight = false, shoot = false;
    bool weapon1 = false, weapon2 = false, weapon3 = false;  // the number keys 1, 2 and 3
};

// The player's assignment of keys to the play actions.
struct PlayKeys {
    int forward, backward, turnLeft, turnRight, strafeLeft, strafeRight, shoot;
};

// What the keys held in the input mean for play.
Controls readControls(const platform::Input& in, const PlayKeys& keys);
// The other way round: holds exactly the keys that give these controls, as a bot at the keys would.
void holdControls(platform::Input& in, const Controls& c, const PlayKeys& keys);
