// The game's desktop icon: a red shield with a gold rim and a gold crosshair, on a transparent
// background, drawn afresh at each size so small icons stay sharp.
#pragma once
#include "image.h"

namespace gen {

Image gameIcon(int size);

}  // namespace gen
