#pragma once
#include <cstdint>

namespace zoa {

// The sound index of a level's looped background track: Sound1 for levels 0 to
// 2, Sound2 for 3 and 4, Sound3 for 5 and 6, Sound4 from 7 on. The level is
// compared as an unsigned number, so a negative level counts as a high one.
int32_t LevelTrack(int32_t level);

// Stops the four looped tracks, Sound1 to Sound4 in this order.
void StopLevelTracks();

}  // namespace zoa
