#pragma once
#include <cstdint>

namespace zoa {

// Height offset of a thrown arc after t steps: (a t² - b t) / d, negative
// while the sprite is above where the arc started. Worked out in the game's
// 32-bit words (a step count damaged in a stage file wraps instead of
// overflowing); the division truncates toward zero.
constexpr int32_t ArcOffset(int32_t t, int32_t a, int32_t b, int32_t d) {
    const uint32_t u = static_cast<uint32_t>(t);
    const int32_t numerator =
        static_cast<int32_t>(static_cast<uint32_t>(a) * u * u - static_cast<uint32_t>(b) * u);
    return numerator / d;
}

// Arcs are followed for this many steps; from then on the height stays.
constexpr int32_t kArcSteps = 80;

}  // namespace zoa
