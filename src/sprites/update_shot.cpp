#include "sprites/behaviours.h"

namespace zoa {

// Not written yet: shots and effects only animate where they were made.
void UpdateShot(int32_t) {}

}  // namespace zoa
