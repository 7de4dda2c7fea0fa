#pragma once

namespace zoa {

// The title picture with the chosen item highlighted, shown at once.
void DrawTitle();

// The pause menu's items and cursor over the frame being composed.
void DrawPauseMenu();

}  // namespace zoa
