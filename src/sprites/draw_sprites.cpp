#include "sprites/draw_sprites.h"

namespace zoa {

// Sprite drawing and contact are not part of the game yet: frames show the
// background, the map and the HUD only.
void DrawSprites() {}

}  // namespace zoa
