// noise.h: the generator's own random numbers and tileable value noise, so
// every run paints and synthesises exactly the same bytes.
#pragma once

#include <cstdint>

namespace assetgen {

// A small permuted congruential generator with a fixed seed per asset.
class Rng {
public:
    explicit Rng(uint64_t seed);
    uint32_t Next();
    float Uniform();                 // 0 <= v < 1
    float Range(float lo, float hi);  // lo <= v < hi
    int Below(int n);                 // 0 .. n - 1
    float Signed() { return Range(-1.0f, 1.0f); }

private:
    uint64_t state_;
};

// Smooth value noise on an integer lattice that repeats every `period`
// cells, so noise sampled over a whole period tiles seamlessly.
class Noise {
public:
    explicit Noise(uint32_t seed) : seed_(seed) {}
    // 0..1 at lattice coordinates (x, y).
    float At(float x, float y, int period, uint32_t salt = 0) const;
    // Sum of octaves, each of twice the frequency and half the weight;
    // (x, y) in 0..1 over one tile of `cells` lattice cells. Result 0..1.
    float Fractal(float x, float y, int cells, int octaves) const;

private:
    float Lattice(int x, int y, uint32_t salt) const;
    uint32_t seed_;
};

}  // namespace assetgen
