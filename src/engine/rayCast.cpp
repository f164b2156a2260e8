// The grid walk and the wall stripe of one column, in single precision, step for step.
#include "engine/rayCast.h"

#include <cmath>

#include "engine/renderMath.h"

namespace engine_ray {

using engine_math::abs64;
using engine_math::divide;
using engine_math::truncToInt;

Hit cast(const Camera& cam, const Grid& grid, float cameraX, int height) {
    Hit h{};
    const float px = cam.posX, py = cam.posY;
    h.rayDirX = cam.dirX + cam.planeX * cameraX;
    h.rayDirY = cam.dirY + cam.planeY * cameraX;
    int mapX = truncToInt(px), mapY = truncToInt(py);
    if (mapX < 0 || mapX >= grid.width || mapY < 0 || mapY >= grid.height) return h;

    const float rdx2 = h.rayDirX * h.rayDirX, rdy2 = h.rayDirY * h.rayDirY;
    const float deltaDistX = std::sqrt(1.0f + divide(rdy2, rdx2));
    const float deltaDistY = std::sqrt(1.0f + divide(rdx2, rdy2));
    int stepX, stepY;
    float sideDistX, sideDistY;
    if (h.rayDirX < 0) {
        stepX = -1;
        sideDistX = (px - static_cast<float>(mapX)) * deltaDistX;
    } else {
        stepX = 1;
        sideDistX = (static_cast<float>(mapX) + 1.0f - px) * deltaDistX;
    }
    if (h.rayDirY < 0) {
        stepY = -1;
        sideDistY = (py - static_cast<float>(mapY)) * deltaDistY;
    } else {
        stepY = 1;
        sideDistY = (static_cast<float>(mapY) + 1.0f - py) * deltaDistY;
    }
    // Every step moves one cell in a fixed direction, so leaving the grid ends the walk even on a
    // level whose border is open.
    int side = 0;
    for (;;) {
        if (sideDistX < sideDistY) {
            sideDistX += deltaDistX;
            mapX += stepX;
            side = 0;
        } else {
            sideDistY += deltaDistY;
            mapY += stepY;
            side = 1;
        }
        if (static_cast<unsigned>(mapX) >= static_cast<unsigned>(grid.width) ||
            static_cast<unsigned>(mapY) >= static_cast<unsigned>(grid.height))
            return h;
        if (grid.walls[mapY * grid.width + mapX] != 0xFFFF) break;
    }
    h.found = true;
    h.side = side;
    h.mapX = mapX;
    h.mapY = mapY;

    const float offX = static_cast<float>((1 - stepX) >> 1);
    const float offY = static_cast<float>((1 - stepY) >> 1);
    const float hitDist = side == 0 ? divide(static_cast<float>(mapX) - px + offX, h.rayDirX)
                                    : divide(static_cast<float>(mapY) - py + offY, h.rayDirY);
    h.perpWallDist = std::fabs(hitDist);
    h.lineHeight = abs64(truncToInt(divide(static_cast<float>(height), h.perpWallDist)));
    int64_t drawStart = (height - h.lineHeight) >> 1;
    if (drawStart < 0) drawStart = 0;
    int64_t drawEnd = (h.lineHeight + height) >> 1;
    if (drawEnd >= height) drawEnd = height - 1;
    h.drawStart = static_cast<int>(drawStart);
    h.drawEnd = static_cast<int>(drawEnd);

    float wallX = side == 0 ? py + hitDist * h.rayDirY : px + hitDist * h.rayDirX;
    wallX -= std::floor(wallX);
    h.wallX = wallX;

    if (side == 0 && h.rayDirX > 0) {
        h.floorXWall = static_cast<float>(mapX);
        h.floorYWall = static_cast<float>(mapY) + wallX;
    } else if (side == 0 && h.rayDirX < 0) {
        h.floorXWall = static_cast<float>(mapX) + 1.0f;
        h.floorYWall = static_cast<float>(mapY) + wallX;
    } else if (side == 1 && h.rayDirY > 0) {
        h.floorXWall = static_cast<float>(mapX) + wallX;
        h.floorYWall = static_cast<float>(mapY);
    } else {
        h.floorXWall = static_cast<float>(mapX) + wallX;
        h.floorYWall = static_cast<float>(mapY) + 1.0f;
    }
    return h;
}

}  // namespace engine_ray
