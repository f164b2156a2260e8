// Helpers for 64 x 64 tiling textures: per-pixel painters, block bevels and cellular noise.
#pragma once
#include <cstdint>
#include <functional>

#include "image.h"
#include "patterns.h"

namespace gen {

constexpr int TEX = 64;
constexpr float TWO_PI = 6.28318530718f;

// Fills a fresh texture with f(x, y, u, v); u and v run over [0,1) and wrap. With ss > 1 each
// pixel averages ss x ss samples, for fine lines that would otherwise break into dots.
Image texture(const std::function<Col(int, int, float, float)>& f, int ss = 1);

// Light on the upper and left rims of a block, shade on the lower and right ones.
float bevel(const Block& b, float bw, float bh, float width = 2.0f);

// Tileable cellular noise on a cells x cells grid: distance to the nearest and second
// nearest feature point (in cell units) and the nearest point's id.
struct Cell {
    float f1, f2;
    uint32_t id;
};
Cell cellular(float u, float v, int cells, uint32_t seed, float jitter = 0.8f);

// Running-bond block masonry: per-block tint between a and b, bevelled rims, grain and mortar
// joints `joint` pixels wide. Block sizes must divide the texture so it tiles.
Col masonryPixel(float x, float y, float u, float v, float bw, float bh, Col a, Col b, Col mortar,
                 uint32_t seed, float joint = 1.0f);

// Raw broken rock: a bumpy surface of cracked lumps lit from the upper left, coloured from dark
// (hollows) to light (ridges). `cells` lumps across the tile; relief scales the bumps.
Col rockPixel(float u, float v, uint32_t seed, Col dark, Col light, int cells = 5, float relief = 6.0f);

// Streaky wood grain along x (planks run horizontally), in 0..1.
float grain(float u, float v, uint32_t seed, int rings = 6);

}  // namespace gen
