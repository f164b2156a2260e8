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

// Streets, yards and the chapel: paving.cpp.
Image floorCobbles();

Image floorGravel();

Image floorMosaic();

// The throne room and the foundry: interiors.cpp.
Image floorCarpet();

Image floorGrating();

// Over the mine, the crypt vaults and the village lofts: ceilings.cpp.
Image ceilingRock();

Image ceilingVault();

Image ceilingRafters();

}  // namespace gen
