#include "noise.h"

#include <cmath>

namespace assetgen {

Rng::Rng(uint64_t seed) : state_(seed * 6364136223846793005ULL + 1442695040888963407ULL) {
    Next();
}

uint32_t Rng::Next() {
    const uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
    const uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const uint32_t rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

float Rng::Uniform() { return (Next() >> 8) * (1.0f / 16777216.0f); }

float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

int Rng::Below(int n) { return n > 0 ? static_cast<int>(Next() % static_cast<uint32_t>(n)) : 0; }

float Noise::Lattice(int x, int y, uint32_t salt) const {
    uint32_t h = (seed_ + salt * 0x632BE5ABu) * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (h >> 8) * (1.0f / 16777216.0f);
}

float Noise::At(float x, float y, int period, uint32_t salt) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float tx = x - fx;
    const float ty = y - fy;
    const float sx = tx * tx * (3 - 2 * tx);
    const float sy = ty * ty * (3 - 2 * ty);
    auto wrap = [period](int v) { return period > 0 ? ((v % period) + period) % period : v; };
    const int x0 = wrap(static_cast<int>(fx));
    const int y0 = wrap(static_cast<int>(fy));
    const int x1 = wrap(static_cast<int>(fx) + 1);
    const int y1 = wrap(static_cast<int>(fy) + 1);
    const float a = Lattice(x0, y0, salt) + (Lattice(x1, y0, salt) - Lattice(x0, y0, salt)) * sx;
    const float b = Lattice(x0, y1, salt) + (Lattice(x1, y1, salt) - Lattice(x0, y1, salt)) * sx;
    return a + (b - a) * sy;
}

float Noise::Fractal(float x, float y, int cells, int octaves) const {
    float sum = 0;
    float weight = 1;
    float total = 0;
    int period = cells;
    for (int o = 0; o < octaves; ++o) {
        sum += At(x * period, y * period, period, static_cast<uint32_t>(o)) * weight;
        total += weight;
        weight *= 0.5f;
        period *= 2;
    }
    return sum / total;
}

}  // namespace assetgen
