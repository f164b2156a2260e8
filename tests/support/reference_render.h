#pragma once
// The renderer written out plainly, step by step, with one getpixel per texel: the yardstick the
// real renderer must match pixel for pixel. It reads the engine's world and camera and writes
// only into the outputs it is given.
#include "engine/engine.h"

struct ReferenceOutput {
    int** columns;           // width pointers to height ints
    float* zBuffer;          // width floats
    unsigned char* visible;  // spriteCount flags, updated like the engine's
    int* order;              // spriteCount entries
    float* distance;         // spriteCount entries
    int crosshair;
};

void referenceRender(const Kelda_engine& e, ReferenceOutput& out);
