#pragma once
#include <cstdint>
#include <string_view>

namespace zoa {

// Our own 5 x 7 pixel font: capitals, digits and a little punctuation,
// proportional (each glyph has its own width and one column of spacing). The
// data builder draws the titles of the pictures with it, the stage editor its
// status line and the window its practice overlay. Small letters are drawn as capitals; a character
// the font lacks is drawn as '?'.
constexpr int kGlyphHeight = 7;

// Whether the font has a glyph for `ch` (small letters count as capitals).
bool HasGlyph(char ch);
// The glyph's rows, '#' for ink, each as wide as the glyph.
const char* const* GlyphRows(char ch);
int GlyphWidth(char ch);
// Width in pixels of `text` drawn at `scale`.
int TextWidth(std::string_view text, int scale);

// Draws `text` in one colour into an 8-bit picture of width x height pixels,
// its top-left glyph pixel at (x, y), cut at the picture's edges.
void DrawPixelText(uint8_t* pixels, int width, int height, int x, int y, std::string_view text,
                   uint8_t colour);

}  // namespace zoa
