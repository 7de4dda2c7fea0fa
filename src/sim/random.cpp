#include "sim/random.h"

#include "sim/game_state.h"

namespace zoa {

void SeedRandom(uint32_t seed) {
    game.RandomState = seed;
}

int32_t Random() {
    game.RandomState = game.RandomState * 214013u + 2531011u;
    return static_cast<int32_t>((game.RandomState >> 16) & 0x7FFF);
}

}  // namespace zoa
