#include "reference_render.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
// Float to int by truncation; what cannot be converted gives INT_MIN.
int trunc_(float v) {
    return v >= -2147483648.0f && v < 2147483648.0f ? static_cast<int>(v) : INT_MIN;
}

// a / b, IEEE results for a zero divisor.
float div_(float a, float b) {
    if (b == 0.0f) {
        if (std::isnan(a) || a == 0.0f) return NAN;
        return (a > 0.0f) == !std::signbit(b) ? INFINITY : -INFINITY;
    }
    return a / b;
}

int64_t abs_(int v) { return std::llabs(static_cast<long long>(v)); }
}  // namespace

void referenceRender(const Kelda_engine& e, ReferenceOutput& out) {
    const int W = e.viewWidth, H = e.viewHeight;

    std::vector<float> cameraColumn(W), rowDistance(H + 1);
    for (int x = 0; x < W; ++x) cameraColumn[x] = static_cast<float>(2 * x) / static_cast<float>(W) - 1.0f;
    for (int y = 0; y <= H; ++y)
        rowDistance[y] = 2 * y == H ? INFINITY : static_cast<float>(H) / static_cast<float>(2 * y - H);

    for (int x = 0; x < W; ++x) {
        // 1. Ray.
        float cameraX = cameraColumn[x];
        float rayDirX = e.dirX + e.planeX * cameraX;
        float rayDirY = e.dirY + e.planeY * cameraX;
        int mapX = trunc_(e.posX);
        int mapY = trunc_(e.posY);
        bool inGrid = mapX >= 0 && mapX < e.mapWidth && mapY >= 0 && mapY < e.mapHeight;
        // 2. Distances between boundaries.
        float deltaDistX = std::sqrt(1.0f + div_(rayDirY * rayDirY, rayDirX * rayDirX));
        float deltaDistY = std::sqrt(1.0f + div_(rayDirX * rayDirX, rayDirY * rayDirY));
        // 3. Steps.
        const int stepX = rayDirX < 0 ? -1 : 1;
        const int stepY = rayDirY < 0 ? -1 : 1;
        float sideDistX = (rayDirX < 0 ? e.posX - mapX : mapX + 1.0f - e.posX) * deltaDistX;
        float sideDistY = (rayDirY < 0 ? e.posY - mapY : mapY + 1.0f - e.posY) * deltaDistY;
        // 4. Grid walk; leaving the grid means the ray found no wall.
        int side = 0;
        bool hit = false;
        while (inGrid) {
            if (sideDistX < sideDistY) {
                sideDistX += deltaDistX;
                mapX += stepX;
                side = 0;
            } else {
                sideDistY += deltaDistY;
                mapY += stepY;
                side = 1;
            }
            if (mapX < 0 || mapX >= e.mapWidth || mapY < 0 || mapY >= e.mapHeight) break;
            if (e.walls[mapY * e.mapWidth + mapX] != 0xFFFF) hit = true;
            if (hit) break;
        }
        if (!hit) {
            for (int y = 0; y < H; ++y) out.columns[x][y] = e.skyColor;
            out.zBuffer[x] = FLT_MAX;
            continue;
        }
        // 5. Distance.
        float perpWallDist;
        if (side == 0)
            perpWallDist = std::fabs(div_(mapX - e.posX + ((1 - stepX) >> 1), rayDirX));
        else
            perpWallDist = std::fabs(div_(mapY - e.posY + ((1 - stepY) >> 1), rayDirY));
        // 6. Stripe.
        int64_t lineHeight = abs_(trunc_(div_(static_cast<float>(H), perpWallDist)));
        int64_t drawStart = (H - lineHeight) >> 1;
        if (drawStart < 0) drawStart = 0;
        int64_t drawEnd = (lineHeight + H) >> 1;
        if (drawEnd >= H) drawEnd = H - 1;
        // 7. Texture column.
        int texNum = e.walls[mapY * e.mapWidth + mapX];
        BITMAP* wallTex = e.textures[texNum];
        float wallX;
        if (side == 0)
            wallX = e.posY + div_(mapX - e.posX + ((1 - stepX) >> 1), rayDirX) * rayDirY;
        else
            wallX = e.posX + div_(mapY - e.posY + ((1 - stepY) >> 1), rayDirY) * rayDirX;
        wallX -= std::floor(wallX);
        int64_t texX = trunc_(wallX * static_cast<float>(wallTex->w));
        if (side == 0 && rayDirX > 0) texX = wallTex->w - texX - 1;
        if (side == 1 && rayDirY < 0) texX = wallTex->w - texX - 1;
        if (texX < 0 || texX >= wallTex->w) texX = -1;  // beside the texture, wherever
        // 8. Wall pixels.
        for (int64_t y = drawStart; y < drawEnd; ++y) {
            int64_t d = 2 * y - H + lineHeight;
            int64_t texY = ((d * 128 * (int64_t(1) << e.textureHeightShift[texNum])) / lineHeight) >> 8;
            out.columns[x][y] = getpixel(wallTex, static_cast<int>(texX), static_cast<int>(texY));
        }
        // 9. Depth.
        out.zBuffer[x] = perpWallDist;
        // 10. Floor anchor.
        float floorXWall, floorYWall;
        if (side == 0 && rayDirX > 0) floorXWall = mapX, floorYWall = mapY + wallX;
        else if (side == 0 && rayDirX < 0) floorXWall = mapX + 1.0f, floorYWall = mapY + wallX;
        else if (side == 1 && rayDirY > 0) floorXWall = mapX + wallX, floorYWall = mapY;
        else floorXWall = mapX + wallX, floorYWall = mapY + 1.0f;
        // 11. Floor and ceiling rows.
        int start = drawEnd < 0 ? H : static_cast<int>(drawEnd);
        for (int y = start; y <= H; ++y) {
            float weight = div_(rowDistance[y], perpWallDist);
            float fx = weight * floorXWall + (1.0f - weight) * e.posX;
            float fy = weight * floorYWall + (1.0f - weight) * e.posY;
            if (fy > static_cast<float>(e.mapHeight)) fy = e.mapHeight - 1;
            int cx = trunc_(fx);
            int cy = trunc_(fy);
            if (cx < 0 || cx > e.mapWidth - 1) cx = e.mapWidth - 1;
            if (cy < 0 || cy > e.mapHeight - 1) cy = e.mapHeight - 1;
            int cell = cy * e.mapWidth + cx;
            if (y != H) {
                BITMAP* t = e.textures[e.floors[cell]];
                int colour = getpixel(t, trunc_(t->w * fx) & (t->w - 1), trunc_(t->h * fy) & (t->h - 1));
                if (e.floorShade != 0) darkenColor(colour, e.floorShade);
                out.columns[x][y] = colour;
            }
            if (y != start) {
                int c = e.ceilings[cell];
                if (c == 0xFF) {
                    out.columns[x][H - y] = e.skyColor;
                } else {
                    BITMAP* t = e.textures[c];
                    int colour = getpixel(t, trunc_(t->w * fx) & (t->w - 1), trunc_(t->h * fy) & (t->h - 1));
                    if (e.ceilingShade != 0) darkenColor(colour, e.ceilingShade);
                    out.columns[x][H - y] = colour;
                }
            }
        }
    }
    // 12. Distances.
    for (int i = 0; i < e.spriteCount; ++i) {
        out.order[i] = i;
        out.distance[i] = (e.posX - e.sprites[i].x) * (e.posX - e.sprites[i].x) +
                          (e.posY - e.sprites[i].y) * (e.posY - e.sprites[i].y);
    }
    bubbleSort(out.order, out.distance, e.spriteCount);  // 13. Farthest first.
    out.crosshair = -1;  // 14.
    // 15. Each sprite.
    for (int k = 0; k < e.spriteCount; ++k) {
        const Kelda_sprite& s = e.sprites[out.order[k]];
        if (s.x == 0.0f && s.y == 0.0f) continue;  // removed monsters
        BITMAP* bmp = s.bitmap;
        if (!bmp || bmp->w > (1 << 20) || bmp->h > (1 << 20)) continue;
        float sx = s.x - e.posX;
        float sy = s.y - e.posY;
        float invDet = div_(1.0f, e.planeX * e.dirY - e.dirX * e.planeY);
        float transformX = invDet * (e.dirY * sx - e.dirX * sy);
        float transformY = invDet * (e.planeX * sy - e.planeY * sx);
        int64_t spriteScreenX = trunc_((W >> 1) * (1 + div_(transformX, transformY)));
        int64_t spriteHeight = abs_(trunc_(div_(static_cast<float>(H), transformY)));
        int64_t drawStartY = (H - spriteHeight) >> 1;
        if (drawStartY < 0) drawStartY = 0;
        int64_t drawEndY = (spriteHeight + H) >> 1;
        if (drawEndY >= H) drawEndY = H - 1;
        int64_t spriteWidth = abs_(trunc_(div_(static_cast<float>(H), transformY)));
        int64_t drawStartX = spriteScreenX - (spriteWidth >> 1);
        if (drawStartX < 0) drawStartX = 0;
        int64_t drawEndX = (spriteWidth >> 1) + spriteScreenX;
        if (drawEndX >= W) drawEndX = W - 1;
        for (int64_t stripe = drawStartX; stripe < drawEndX; ++stripe) {
            int64_t texX = (((stripe - (spriteScreenX - (spriteWidth >> 1))) * 256 * bmp->w) / spriteWidth) >> 8;
            if (!(transformY > 0 && stripe >= 0 && stripe < W && transformY < out.zBuffer[stripe])) continue;
            if (stripe == (W >> 1)) out.crosshair = out.order[k];
            for (int64_t y = drawStartY; y < drawEndY; ++y) {
                int64_t d = 2 * y - H + spriteHeight;
                int64_t texY = ((d * 128 * bmp->h) / spriteHeight) >> 8;
                if (texX < 0 || texY < 0) continue;
                int colour = getpixel(bmp, static_cast<int>(texX), static_cast<int>(texY));
                if (colour == e.maskColor) continue;
                out.columns[stripe][y] = colour;
                out.visible[out.order[k]] = 1;
            }
        }
    }
}
