#pragma once

namespace zoa {

// Shows the running stage as it stands, changing nothing: the background at
// its offsets, the map, every sprite in draw order and the HUD. A frame of
// play draws the same picture after moving everything; this one is for
// moments put back in place (a rewind), where nothing may move or touch.
void DrawStillPicture();

}  // namespace zoa
