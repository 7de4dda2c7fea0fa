#pragma once
#include <cstdint>

namespace zoa {

// Draws n (taken as unsigned) with the digit cells of the interface sheet: up
// to three digits, 20 pixels apart, the first at (x, y); nothing from 1000 on.
void DrawNumber(int32_t x, int32_t y, int32_t n);

// The head-up display over the finished picture: the life and gauge bars of the
// player's record, the spare lives, the stage number or the demo label, and the
// game-over picture once the last life is used up.
void DrawHud();

}  // namespace zoa
