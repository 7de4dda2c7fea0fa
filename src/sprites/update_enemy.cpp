#include "sprites/behaviours.h"

namespace zoa {

// Not written yet: enemies only animate where their stage put them.
void UpdateEnemy(int32_t) {}

}  // namespace zoa
