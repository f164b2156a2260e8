#pragma once
// The monster pass: contact, waiting and chasing, once per frame.
#include "engine/engine.h"
#include "game/levelState.h"

const float CONTACT_DISTANCE = 0.75f;

// The parts of the engine's world the pass reads and changes.
struct MonsterWorld {
    Kelda_sprite* sprites = nullptr;
    const unsigned char* visible = nullptr;
    int spriteCount = 0;
    float cameraX = 0.0f;
    float cameraY = 0.0f;
    const unsigned short* walls = nullptr;
    int mapWidth = 0;
    int mapHeight = 0;
};

// True when (cx, cy) is inside the grid and empty; everything outside counts as wall.
bool cellFree(const MonsterWorld& w, int cx, int cy);
// Visits every sprite in index order; step is this frame's monster step in cells.
void monsterPass(LevelState& s, const MonsterWorld& w, float step, bool invulnerable);
