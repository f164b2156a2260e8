#pragma once
// The raycasting engine: one level's world, its 3D view, camera movement and sprite queries.
#include <allegro.h>

#include <fstream>
#include <istream>
#include <string>
#include <vector>

#include "engine/texturePool.h"
#include "input/controls.h"

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

    // The caller's column buffer (width pointers to height ints) and depth buffer; the view is
    // drawn at this size. May be called again to change them.
    void setBuffers(int** buffer, float* zBuffer, int width, int height);
    void setCamera(float x, float y);
    void moveCamera(float dx, float dy);
    float getCameraX();
    float getCameraY();

    // Draws the view into the column buffer. A sprite at exactly (0, 0), where the game parks
    // removed monsters, is not drawn and cannot be aimed at. Outside the grid there is only sky.
    void render();

    void setupDefaultMove(int keyForward, int keyBackward, int keyTurnLeft, int keyTurnRight,
                          int keyStrafeLeft, int keyStrafeRight, float (*moveSpeed)(), float (*turnSpeed)());
    // Walks and turns by the keys given to setupDefaultMove, as the current input holds them.
    void defaultMove();
    void move(const Controls& controls);

    Kelda_sprite* getSpriteList();
    unsigned char* getVisibleList();
    int getSprites();
    int getSpriteInCrosshair();
    void inRange(float& x, float& y);
    void inRange();

    void applyColorCorrection(float r, float g, float b);

    // loadData's reader, for any input stream (tools and the fuzzer read from memory).
    std::string loadStream(std::istream& in);

private:
    bool structuralError = false;
    unsigned levelLoads = 0;  // tells the renderer's per-cell tables that the map arrays are new

    engine_render::TexturePool texturePool;
    int texelMode = 0;  // 32 or 16: read from the bitmaps' rows; 1: from texturePool; 0: the library's reader
    std::vector<engine_render::PoolTexture> shapes;  // the textures' sizes
    engine_render::TexelTables<uint32_t> tables32;
    engine_render::TexelTables<uint16_t> tables16;
    engine_render::TexelTables<int> tablesPool;
    template <typename Pixel> engine_render::TexelTables<Pixel>& tables();
    std::vector<engine_render::TexelRun> spriteRuns;  // a sprite's screen rows by texture row, reused between frames
    std::vector<uint32_t> rowCells;   // a column's floor rows: map cells and texel offsets,
    std::vector<uint64_t> rowWords;   // as castRows lays them out
    std::vector<uint32_t> rowBySize;

    void releaseLevel();
    void prepareTextures();
    template <typename Pixel> void renderColumns();
    void renderSprites();
};

int isPowerOfTwo(int n);
// True for an empty cell of the grid; cells outside it count as wall.
bool cellIsFree(const unsigned short* walls, int mapWidth, int mapHeight, int cx, int cy);
void bubbleSort(int* order, float* keys, int n);

void replaceColor(BITMAP* bmp, int from, int to);
void darkenColor(int& colour, float fr, float fg, float fb);
void darkenColor(int& colour, int shift);
int mergeColor(int a, int b);
int negateColor(int c);

// Copies the column buffer (columns[x][y]) into a bitmap of 15, 16, 24 or 32 bits; the same
// picture as putpixel for every pixel, clipping included, only much faster.
void copyColumnsToBitmap(int** columns, int w, int h, BITMAP* dest);
