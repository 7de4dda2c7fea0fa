#pragma once

namespace zoa {

// Draws every live sprite in draw order over the map and applies the contact
// rules. RunFrame calls it once per frame of play, paused or not, unless the
// tile sheet is shown instead of the map.
void DrawSprites();

}  // namespace zoa
