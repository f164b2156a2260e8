// The engine object: construction, the level's arrays, the buffers with their lookup tables, the camera.
#include "engine/engine.h"

#include <limits>

Kelda_engine::Kelda_engine()
    : viewWidth(0),
      viewHeight(0),
      sprites(nullptr),
      spriteCount(0),
      visible(nullptr),
      crosshairSprite(-1),
      spriteOrder(nullptr),
      spriteDistance(nullptr),
      zBuffer(nullptr),
      mapWidth(0),
      mapHeight(0),
      walls(nullptr),
      columns(nullptr),
      posX(0.0f),
      posY(0.0f),
      dirX(-1.0f),
      dirY(0.0f),
      planeX(0.0f),
      planeY(0.66f),
      ceilingShade(0),
      floorShade(0),
      ceilings(nullptr),
      floors(nullptr),
      skyColor(makecol(153, 153, 255)),
      textureCount(0),
      textures(nullptr),
      textureHeightShift(nullptr),
      textureWidthShift(nullptr),
      rowDistance(nullptr),
      cameraColumn(nullptr),
      maskColor(makecol(255, 0, 255)),
      keyTurnLeft(-1),
      keyTurnRight(-1),
      keyForward(-1),
      keyBackward(-1),
      keyStrafeLeft(-1),
      keyStrafeRight(-1),
      moveSpeedFunc(nullptr),
      turnSpeedFunc(nullptr) {}

Kelda_engine::~Kelda_engine() {
    releaseLevel();
    delete[] rowDistance;
    delete[] cameraColumn;
}

void Kelda_engine::releaseLevel() {
    if (textures) {
        for (int i = 0; i < textureCount; ++i)
            if (textures[i]) destroy_bitmap(textures[i]);
    }
    delete[] textures;
    delete[] walls;
    delete[] ceilings;
    delete[] floors;
    delete[] sprites;
    delete[] spriteOrder;
    delete[] spriteDistance;
    delete[] textureHeightShift;
    delete[] textureWidthShift;
    delete[] visible;
    textures = nullptr;
    walls = nullptr;
    ceilings = floors = nullptr;
    sprites = nullptr;
    spriteOrder = nullptr;
    spriteDistance = nullptr;
    textureHeightShift = textureWidthShift = nullptr;
    visible = nullptr;
    textureCount = 0;
    spriteCount = 0;
    mapWidth = mapHeight = 0;
    texturePool.clear();
    shapes.clear();
}

void Kelda_engine::setBuffers(int** buffer, float* depth, int width, int height) {
    columns = buffer;
    zBuffer = depth;
    viewWidth = width;
    viewHeight = height;
    // A second call replaces the tables; the old ones are released rather than leaked.
    delete[] cameraColumn;
    delete[] rowDistance;
    cameraColumn = nullptr;
    rowDistance = nullptr;
    if (width <= 0 || height <= 0) return;
    cameraColumn = new float[width];
    for (int x = 0; x < width; ++x) cameraColumn[x] = static_cast<float>(2 * x) / static_cast<float>(width) - 1.0f;
    rowDistance = new float[height + 1];
    for (int y = 0; y <= height; ++y) {
        const int below = 2 * y - height;
        // The horizon row of an even height is infinitely far; written out to avoid dividing by zero.
        rowDistance[y] = below == 0 ? std::numeric_limits<float>::infinity()
                                    : static_cast<float>(height) / static_cast<float>(below);
    }
}

void Kelda_engine::setCamera(float x, float y) {
    posX = x;
    posY = y;
}

void Kelda_engine::moveCamera(float dx, float dy) {
    posX += dx;
    posY += dy;
}

float Kelda_engine::getCameraX() { return posX; }
float Kelda_engine::getCameraY() { return posY; }

int isPowerOfTwo(int n) {
    // Unsigned, so that k = 31 (the lowest int) is tried without overflowing.
    for (int k = 0; k <= 31; ++k)
        if ((1u << k) == static_cast<unsigned>(n)) return k;
    return -1;
}
