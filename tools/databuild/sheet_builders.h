#pragma once
#include "canvas.h"

namespace zoa::databuild {

Canvas BuildLoadingSheet();     // SPl: the loading picture
Canvas BuildTitleSheet();       // SPm: the title picture with the plain menu items
Canvas BuildInterfaceSheet();   // SPmi: menu pictures, HUD labels, bars, digits, game over
Canvas BuildTileSheet();        // SPt: 570 tiles on the 19 x 30 grid
Canvas BuildBackgroundSheet();  // SPb: the seven parallax strips

}  // namespace zoa::databuild
