#pragma once
#include <cstddef>

namespace zoa {

// Bytes one frame writes: 640 x (215 + 264 + 236) of background, the 640 x 480
// of tiles, and the HUD (two labels, two full bars, two spare lives, the stage
// label and one digit).
inline constexpr size_t kFrameBytes = 640 * (215 + 264 + 236) + 640 * 480 + 2 * 62 * 29 +
                                      2 * 500 * 17 + 2 * 65 * 75 + 74 * 35 + 31 * 31;

}  // namespace zoa
