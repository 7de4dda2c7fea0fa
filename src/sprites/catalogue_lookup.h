#pragma once
#include <cstdint>

#include "sprites/sprite_record.h"

namespace zoa {

// The record the catalogue of sprite types makes for `type`, before it is
// placed: every field but x and y (facing: 0 where the spawner would choose at
// random). False for a code the catalogue does not hold. The stage compiler
// fills the fields a stage source leaves out from here.
bool CatalogueRecord(int32_t type, SpriteRecord& out);

}  // namespace zoa
