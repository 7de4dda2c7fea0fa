#pragma once
#include <cstdint>

namespace zoa {

// The one pseudo-random generator behind every random choice of the game:
// linear congruential on 32 bits, each value bits 16 to 30 of the new state.
constexpr int32_t kRandomMax = 32767;

void SeedRandom(uint32_t seed);
int32_t Random();

}  // namespace zoa
