// Floor and ceiling textures. They are seen at grazing angles, so detail is kept broad.
#pragma once
#include "image.h"

namespace gen {

Image floorTiles();

Image floorGrass();

Image floorPlanks();

Image floorDirt();

Image floorFlagstone();

Image ceilingBeams();

Image ceilingPlaster();

Image ceilingMetalGrid();

}  // namespace gen
