#pragma once
#include <cstdint>
#include <string_view>

namespace zoa::platform {

// Writes `text` into a true-colour picture (0xAARRGGBB, `width` pixels a row)
// at (x, y) in the game's 5 x 7 pixel font (files/pixel_font.h), one cell a
// character, each font pixel `scale` pixels wide and high, in white on a dark
// band. Letters are shown as capitals; characters the font lacks show as
// blanks; what leaves the picture is cut off.
void DrawOverlayText(uint32_t* pixels, int width, int height, int x, int y, std::string_view text,
                     int scale);

// Width in pixels of one character at `scale`.
constexpr int OverlayCharWidth(int scale) {
    return 6 * scale;
}
constexpr int OverlayLineHeight(int scale) {
    return 9 * scale;
}

}  // namespace zoa::platform
