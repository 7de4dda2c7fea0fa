#pragma once
#include <cstdint>
#include <string_view>

#include "canvas.h"
#include "files/pixel_font.h"
#include "palette_design.h"

namespace zoa::databuild {

// Our own 5 x 7 pixel font (files/pixel_font.h), drawn with outline and shading.
using zoa::kGlyphHeight;

// Width in pixels of `text` drawn at `scale` (without outline).
int TextWidth(std::string_view text, int scale);

struct TextStyle {
    Ramp ramp = kGold;
    int top = 7;     // shade of the glyphs' top rows
    int bottom = 3;  // shade of their bottom rows
    int scale = 2;
    bool outline = true;
    uint8_t outlineColour = kOutline;
    bool shadow = true;  // a dark drop shadow one outline further down-right
};

// Draws `text` with its top-left glyph pixel at (x, y): a vertical gradient
// fill, a lit top edge, a 1-pixel outline and an optional drop shadow.
void DrawText(Canvas& c, int x, int y, std::string_view text, const TextStyle& style);

// Plain single-colour text, no outline (for labels on previews).
void DrawPlainText(Canvas& c, int x, int y, std::string_view text, uint8_t colour, int scale = 1);

}  // namespace zoa::databuild
