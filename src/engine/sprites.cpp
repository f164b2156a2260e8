// Sprite queries and the bounds that keep the camera and the sprites on the map.
#include "engine/engine.h"

Kelda_sprite* Kelda_engine::getSpriteList() { return sprites; }
unsigned char* Kelda_engine::getVisibleList() { return visible; }
int Kelda_engine::getSprites() { return spriteCount; }
int Kelda_engine::getSpriteInCrosshair() { return crosshairSprite; }

void Kelda_engine::inRange(float& x, float& y) {
    const float w = static_cast<float>(mapWidth), h = static_cast<float>(mapHeight);
    if (x < 1.0f) x = 1.0f;
    if (x > w) x = static_cast<float>(mapWidth - 1);
    if (y < 1.0f) y = 1.0f;
    if (y > h) y = static_cast<float>(mapHeight - 1);
}

void Kelda_engine::inRange() {
    inRange(posX, posY);
    for (int i = 0; i < spriteCount; ++i) inRange(sprites[i].x, sprites[i].y);
}
