#pragma once
// One ray per screen column through the map grid to the first wall.
#include <cstdint>

namespace engine_ray {

struct Camera {
    float posX, posY, dirX, dirY, planeX, planeY;
};

struct Grid {
    const unsigned short* walls;  // 0xFFFF = free cell
    int width, height;
};

struct Hit {
    bool found;  // false when the ray left the grid (or started outside it)
    int side;    // 0: a face toward ±x, 1: a face toward ±y
    int mapX, mapY;
    float rayDirX, rayDirY;
    float perpWallDist;
    float wallX;  // where along the face, 0 to 1
    float floorXWall, floorYWall;  // the foot of the face, where the floor meets it
    int64_t lineHeight;
    int drawStart, drawEnd;  // rows of the wall stripe: drawStart <= y < drawEnd
};

// Casts the ray of one column (cameraX from -1 at the left edge) for a view `height` rows high.
Hit cast(const Camera& cam, const Grid& grid, float cameraX, int height);

}  // namespace engine_ray
