#include "sprites/update_sprites.h"

namespace zoa {

// Behaviours, animation and the draw order are not part of the game yet:
// sprites stand still as their stage stored them.
void UpdateSprites() {}

}  // namespace zoa
