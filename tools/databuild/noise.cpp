#include "noise.h"

#include <cmath>

namespace zoa::databuild {

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float Hash01(uint32_t a, uint32_t b, uint32_t c) {
    return static_cast<float>(Hash(a, b, c) & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float PeriodicNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto v = [&](int i, int j) {
        const int wrapped = ((i % period) + period) % period;
        return Hash01(static_cast<uint32_t>(wrapped), static_cast<uint32_t>(j), seed);
    };
    const float a = v(ix, iy) + (v(ix + 1, iy) - v(ix, iy)) * sx;
    const float b = v(ix, iy + 1) + (v(ix + 1, iy + 1) - v(ix, iy + 1)) * sx;
    return a + (b - a) * sy;
}

int Bayer4(int x, int y) {
    static const int kMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return kMatrix[y & 3][x & 3];
}

}  // namespace zoa::databuild
