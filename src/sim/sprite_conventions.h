#pragma once
#include <cstdint>

#include "sim/sprite_record.h"

namespace zoa {

// The rules every behaviour shares. The tile under a world point is
// TileAttrAt (sim/world_map.h); a point outside the map reads as empty.

// Frames of the defeat row 9, which only the player shows and which has no
// frames entry of its own.
constexpr int32_t kDefeatRow = 9;
constexpr int32_t kDefeatRowFrames = 5;

// The frame count of the record's current row: frames[row] for rows 0..7, 5
// for row 9. Any other row has no frames: its frame stays at 0.
int32_t RowFrameCount(const SpriteRecord& sprite);

// True when the record is wholly out of the 640 x 480 view at the camera; a
// sprite that only touches an edge of the view is on screen.
bool IsOffScreen(const SpriteRecord& sprite);

// Restarts the current row: the next animation step shows frame 0.
constexpr int32_t kRestartTick = 30;
constexpr int32_t kRestartFrame = -1;
void RestartAnimation(SpriteRecord& sprite);

// True for a tile attribute of 1 (solid) and 0 (empty) at a world point; a
// tile of any other attribute is neither.
bool IsSolidAt(int32_t x, int32_t y);
bool IsEmptyAt(int32_t x, int32_t y);

}  // namespace zoa
