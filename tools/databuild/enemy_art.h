#pragma once
#include <cstdint>

#include "canvas.h"

namespace zoa::databuild {

// The six enemy kinds, facing right, feet on the bottom rows of the frame:
// 10001 the lobber (walks, throws arcing shells), 10002 the rotor drone and
// 10005 the bat wing (fly, drop bombs), 10003 the flamer (walks, breathes
// fire low ahead), 10004 the spike crawler (creeps, hurts by touch) and 10006
// the sentry (walks, fires pellets). Rows: 0 walk or fly, 1 attack, 2 (1 for
// the crawler) defeat.
void DrawEnemyFrame(int32_t type, int32_t row, int32_t frame, Canvas& c);

}  // namespace zoa::databuild
