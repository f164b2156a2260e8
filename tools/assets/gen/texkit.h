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

// Streaky wood grain along x (planks run horizontally), in 0..1.
float grain(float u, float v, uint32_t seed, int rings = 6);

}  // namespace gen
