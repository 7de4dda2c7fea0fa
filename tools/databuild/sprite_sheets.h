#pragma once
#include <cstdint>

#include "canvas.h"
#include "sprite_layout.h"

namespace zoa::databuild {

// Draws one frame of a catalogued sprite type, facing right, into a canvas of
// the type's frame size.
void DrawSpriteFrame(int32_t type, int32_t row, int32_t frame, Canvas& c);

// A whole sprite sheet (SPgi, SPcca, SPccb, SPmca or SPmcb): every planned
// frame drawn at its rectangle; the B sheets hold the same frames mirrored,
// each within its own rectangle, so they face left.
Canvas BuildSpriteSheet(SheetId id);

}  // namespace zoa::databuild
