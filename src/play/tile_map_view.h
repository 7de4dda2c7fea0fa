#pragma once

namespace zoa {

// Draws the part of the map the camera sees, 20 x 15 tiles or one more column
// and row when the camera is between tiles, cut at the screen's edges.
void DrawTileMap();

}  // namespace zoa
