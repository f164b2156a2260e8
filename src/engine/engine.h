#pragma once
// The raycasting engine: one level's world, its 3D view, camera movement and sprite queries.
#include <allegro.h>

#include <fstream>
#include <string>

struct Kelda_sprite {
    float x;
    float y;
    BITMAP* bitmap;    // one of the engine's textures, not owned
    int health;        // game value; the engine never reads it
    int textureIndex;  // the sprite's type for scoring
};

class Kelda_engine {
public:
    int viewWidth;
    int viewHeight;
    Kelda_sprite* sprites;
    int spriteCount;
    unsigned char* visible;
    int crosshairSprite;
    int* spriteOrder;
    float* spriteDistance;
    float* zBuffer;
    int mapWidth;
    int mapHeight;
    unsigned short* walls;
    int** columns;
    float posX;
    float posY;
    float dirX;
    float dirY;
    float planeX;
    float planeY;
    int ceilingShade;
    int floorShade;
    unsigned char* ceilings;
    unsigned char* floors;
    int skyColor;
    unsigned short textureCount;
    BITMAP** textures;
    int* textureHeightShift;
    int* textureWidthShift;
    float* rowDistance;
    float* cameraColumn;
    int maskColor;
    int keyTurnLeft;
    int keyTurnRight;
    int keyForward;
    int keyBackward;
    int keyStrafeLeft;
    int keyStrafeRight;
    float (*moveSpeedFunc)();
    float (*turnSpeedFunc)();

    Kelda_engine();
    ~Kelda_engine();
    Kelda_engine(const Kelda_engine&) = delete;
    Kelda_engine& operator=(const Kelda_engine&) = delete;

    // Reads one level. Returns "" on success, the texture path for a texture that failed to
    // load or is not a power of two on a side, or a short reason for a malformed file
    // (see loadError()).
    std::string loadData(std::ifstream& in);
    // True when the last loadData failed on the file's structure rather than on a texture.
    bool loadError() const { return structuralError; }

    void setBuffers(int** buffer, float* zBuffer, int width, int height);
    void setCamera(float x, float y);
    void moveCamera(float dx, float dy);
    float getCameraX();
    float getCameraY();

    void render();

    void setupDefaultMove(int keyForward, int keyBackward, int keyTurnLeft, int keyTurnRight,
                          int keyStrafeLeft, int keyStrafeRight, float (*moveSpeed)(), float (*turnSpeed)());
    void defaultMove();

    Kelda_sprite* getSpriteList();
    unsigned char* getVisibleList();
    int getSprites();
    int getSpriteInCrosshair();
    void inRange(float& x, float& y);
    void inRange();

    void applyColorCorrection(float r, float g, float b);

private:
    bool structuralError = false;
};

int isPowerOfTwo(int n);
void bubbleSort(int* order, float* keys, int n);

void replaceColor(BITMAP* bmp, int from, int to);
void darkenColor(int& colour, float fr, float fg, float fb);
void darkenColor(int& colour, int shift);
int mergeColor(int a, int b);
int negateColor(int c);
