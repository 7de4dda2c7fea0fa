#pragma once
#include <cstdint>

#include "sim/sprite_record.h"

namespace zoa {

// Rules the shot and effect behaviours (types 100..107) share. These types
// only show row 0, so their last frame is frames[0] - 1.
bool AtLastFrameOfRow0(const SpriteRecord& s);

// Moves left when dir is 2, right when it is 0, by the distance; any other
// facing does not move. True when it moved.
bool FlyAcross(SpriteRecord& s, int64_t distance);

// Makes the follow-up sprite from record `index` (placed and faced from it),
// then removes the record.
void ReplaceBy(int32_t index, int32_t type);

// Flight words of the thrown shots 100, 103 and 107.
constexpr int32_t kFlightStepWord = 1;   // frames entry: the step count k, 0 when made
constexpr int32_t kFlightStartWord = 2;  // frames entry: y where the flight started

// The behaviours, one per type.
void UpdatePlayerShot(int32_t index);  // 100
void UpdateSpark(int32_t index);       // 101
void UpdateBurst(int32_t index);       // 102
void UpdateThrownShot(int32_t index);  // 103 and 107
void UpdateBombShot(int32_t index);    // 104
void UpdateBombBurst(int32_t index);   // 105
void UpdateFlame(int32_t index);       // 106

}  // namespace zoa
