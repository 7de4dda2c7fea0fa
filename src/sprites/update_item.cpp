#include "sprites/behaviours.h"

namespace zoa {

// Not written yet: pick-ups, pads and the sparkle only animate.
void UpdateItem(int32_t) {}

}  // namespace zoa
