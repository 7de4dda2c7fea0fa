#pragma once
#include <string>

#include "canvas.h"
#include "sprite_layout.h"

namespace zoa::databuild {

// Writes a review picture of a sheet: transparency as a dark checkerboard,
// every rectangle the game reads outlined and labelled.
bool WriteSheetPreview(const std::string& path, SheetId id, const Canvas& sheet);

}  // namespace zoa::databuild
