#include "sprites/behaviours.h"

namespace zoa {

// Not written yet: the player's record only animates; the keys do not steer it yet.
void UpdatePlayer(int32_t) {}

}  // namespace zoa
