#pragma once
#include <cstdint>

#include "canvas.h"

namespace zoa::databuild {

// Pick-ups, pads, scenery, shots and effects (every type below 10000).
void DrawItemFrame(int32_t type, int32_t frame, Canvas& c);

}  // namespace zoa::databuild
