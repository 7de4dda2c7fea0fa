#include "platform/overlay_text.h"

#include "files/pixel_font.h"

namespace zoa::platform {

namespace {

constexpr uint32_t kInk = 0xFFFFFFFF;
constexpr uint32_t kBand = 0xFF101018;

void Put(uint32_t* pixels, int width, int height, int x, int y, uint32_t colour) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[y * width + x] = colour;
}

}  // namespace

void DrawOverlayText(uint32_t* pixels, int width, int height, int x, int y, std::string_view text,
                     int scale) {
    const int w = static_cast<int>(text.size()) * OverlayCharWidth(scale) + scale;
    for (int py = y; py < y + OverlayLineHeight(scale); ++py)
        for (int px = x; px < x + w; ++px) Put(pixels, width, height, px, py, kBand);
    // Each character in a cell of its own, so a line keeps its columns
    // whatever the keys held or the numbers; what the font lacks stays blank.
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (!HasGlyph(ch)) continue;
        const char* const* rows = GlyphRows(ch);
        const int gw = GlyphWidth(ch);
        const int left =
            x + scale + static_cast<int>(i) * OverlayCharWidth(scale) + (5 - gw) / 2 * scale;
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < gw; ++col) {
                if (rows[row][col] != '#') continue;
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx)
                        Put(pixels, width, height, left + col * scale + sx,
                            y + scale + row * scale + sy, kInk);
            }
    }
}

}  // namespace zoa::platform
