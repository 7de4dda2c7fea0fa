#pragma once
#include <cstdint>
#include <iterator>
#include <string>

#include "platform/screen_size.h"
#include "sim/sprite_types.h"

namespace zoa {

// What the editor's screen is made of, for the parts that draw it and the
// parts that read the mouse on it.

// The status line along the bottom; the map shows above it.
constexpr int32_t kStatusHeight = 11;
constexpr int32_t kStatusTop = kScreenHeight - kStatusHeight;

// The sprite strip: a grid of cells at the top, one sprite type in each. It
// offers the pick-ups, pads and scenery, then the enemies; the hero has a key
// of its own (there is always exactly one), and the sparkle only follows a
// taken pick-up.
constexpr int32_t kStripCell = 64;
constexpr int32_t kStripColumns = kScreenWidth / kStripCell;
constexpr int32_t kStripTypes[] = {kLifePickUp,
                                   kSmallLifePickUp,
                                   kGaugePickUp,
                                   kLifePickUpB,
                                   1004,
                                   1005,
                                   1006,
                                   kSpringPad,
                                   kFirstJumpPad,
                                   1009,
                                   1010,
                                   1011,
                                   kLastJumpPad,
                                   kBigLifePickUp,
                                   kExtraLifePickUp,
                                   1016,
                                   1017,
                                   1018,
                                   1019,
                                   1020,
                                   kWalkerShooter,
                                   kBomber,
                                   kFlamer,
                                   kCrawler,
                                   kBomberB,
                                   kWalkerShooterB};
constexpr int32_t kStripCount = static_cast<int32_t>(std::size(kStripTypes));

// The strip cell at screen point (x, y), or -1.
inline int32_t StripCell(int32_t x, int32_t y) {
    const int32_t i = (y / kStripCell) * kStripColumns + x / kStripCell;
    return i < kStripCount ? i : -1;
}

// The status line's font has capitals only.
inline std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace zoa
