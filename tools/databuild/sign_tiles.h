#pragma once
#include "canvas.h"

namespace zoa::databuild {

// Draws sign tile `n` (IsSignTile) with its top-left corner at (ox, oy).
void SignTile(Canvas& sheet, int ox, int oy, int n);

}  // namespace zoa::databuild
