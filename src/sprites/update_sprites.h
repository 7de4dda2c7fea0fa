#pragma once

namespace zoa {

// The sprite step of a frame of play: every live sprite's behaviour by its
// type, its animation, and the draw order. RunFrame calls it once per frame
// unless the pause menu is open.
void UpdateSprites();

}  // namespace zoa
