#pragma once
#include <cstdint>

#include "sim/sprite_record.h"

namespace zoa {

// The record the catalogue of sprite types makes for `type` with its top-left
// corner at (x, y), as the spawner would make it without a parent: facing 0
// where the spawner faces a sprite at random or like its parent, the spark's
// own life, and the arcing shots' flight starting from y. False for a code the
// catalogue does not hold. The stage compiler fills the fields a stage source
// leaves out from here.
bool CatalogueRecord(int32_t type, int32_t x, int32_t y, SpriteRecord& out);

}  // namespace zoa
