#pragma once
#include <cstdint>

namespace zoa::databuild {

// Deterministic integer hash and noise (no library randomness, so every build
// draws the same pictures).
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);
// A value 0..1 from a hash.
float Hash01(uint32_t a, uint32_t b = 0, uint32_t c = 0);
// Smooth value noise 0..1 that repeats every `period` cells along x.
float PeriodicNoise(float x, float y, int period, uint32_t seed);
// 4 x 4 ordered-dither threshold 0..15 for pixel (x, y).
int Bayer4(int x, int y);

}  // namespace zoa::databuild
