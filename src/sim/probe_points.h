#pragma once
#include <cstdint>

#include "sim/sprite_conventions.h"
#include "sim/sprite_record.h"
#include "sim/wrap32.h"

namespace zoa {

// Tile tests at probe points that behaviours work out from record words in
// 64 bits (x + width, y + height + 8, ...). A point is tested as the 32-bit
// world point it stands for; outside the map it reads as empty.
inline bool SolidAt(int64_t x, int64_t y) {
    return IsSolidAt(Wrap32(x), Wrap32(y));
}
inline bool EmptyAt(int64_t x, int64_t y) {
    return IsEmptyAt(Wrap32(x), Wrap32(y));
}

// The record's centre column, x + width / 2.
inline int64_t CentreX(const SpriteRecord& s) {
    return int64_t{s.x} + s.width / 2;
}

}  // namespace zoa
