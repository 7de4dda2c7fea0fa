#pragma once
#include <vector>

#include "sim/sprite_record.h"

namespace zoa {

// Draws frame 0 of row 0 of a sprite, from sheetA or sheetB by its facing, at
// its place in the view whose top-left corner is the camera, cut to the screen
// the way sprite drawing cuts it. Nothing moves and no contact rule runs: a
// stage shown as it stands (the stage picture of the compiler, the editor).
void DrawStillSprite(const SpriteRecord& s);

// Every sprite of a stage that way, in draw-depth order (scenery first, the
// player last), as sprite drawing orders them.
void DrawStillSprites(const std::vector<SpriteRecord>& sprites);

}  // namespace zoa
