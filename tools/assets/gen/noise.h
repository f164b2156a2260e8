// Deterministic random numbers and tileable noise. Everything is seeded by fixed numbers so
// the generated files only change when a parameter changes.
#pragma once
#include <cstdint>

namespace gen {

inline uint32_t hash3(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}
inline float hashf(int x, int y, uint32_t seed) { return (hash3(x, y, seed) & 0xFFFFFF) / 16777216.0f; }

class Rng {
public:
    explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint32_t next() {
        s += 0x9E3779B97F4A7C15ull;
        uint64_t z = s;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
    }
    float uni() { return (next() & 0xFFFFFF) / 16777216.0f; }
    float range(float lo, float hi) { return lo + (hi - lo) * uni(); }
    int irange(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1)); }

private:
    uint64_t s;
};

inline int wrapi(int v, int p) { return ((v % p) + p) % p; }

// Value noise on a lattice of `period` cells per unit, wrapping so that it tiles over [0,1).
float vnoise(float u, float v, int period, uint32_t seed);

// Fractal sum of tileable value noise, in about [0,1].
float fbm(float u, float v, int period, int octaves, uint32_t seed, float gain = 0.5f);

}  // namespace gen
