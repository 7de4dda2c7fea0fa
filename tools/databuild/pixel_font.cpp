#include "pixel_font.h"

#include <vector>

#include "files/pixel_font.h"

namespace zoa::databuild {

namespace {

// The glyphs' ink at `scale`, as a mask of (width x height).
std::vector<uint8_t> TextMask(std::string_view text, int scale, int* width, int* height) {
    *width = TextWidth(text, scale);
    *height = kGlyphHeight * scale;
    std::vector<uint8_t> mask(static_cast<size_t>(*width) * *height, 0);
    int x = 0;
    for (char ch : text) {
        const char* const* rows = zoa::GlyphRows(ch);
        const int gw = zoa::GlyphWidth(ch);
        for (int r = 0; r < kGlyphHeight; ++r)
            for (int c = 0; c < gw; ++c)
                if (rows[r][c] == '#')
                    for (int j = 0; j < scale; ++j)
                        for (int i = 0; i < scale; ++i)
                            mask[static_cast<size_t>(r * scale + j) * *width + x + c * scale + i] =
                                1;
        x += (gw + 1) * scale;
    }
    return mask;
}

}  // namespace

int TextWidth(std::string_view text, int scale) {
    return zoa::TextWidth(text, scale);
}

void DrawText(Canvas& c, int x, int y, std::string_view text, const TextStyle& s) {
    int w = 0, h = 0;
    const std::vector<uint8_t> mask = TextMask(text, s.scale, &w, &h);
    auto ink = [&](int i, int j) {
        return i >= 0 && j >= 0 && i < w && j < h && mask[static_cast<size_t>(j) * w + i] != 0;
    };
    auto nearInk = [&](int i, int j) {
        return !ink(i, j) && (ink(i - 1, j) || ink(i + 1, j) || ink(i, j - 1) || ink(i, j + 1));
    };
    if (s.shadow) {
        for (int j = -1; j <= h; ++j)
            for (int i = -1; i <= w; ++i)
                if (ink(i, j) || (s.outline && nearInk(i, j))) c.Set(x + i + 1, y + j + 1, kBlack);
    }
    if (s.outline) {
        for (int j = -1; j <= h; ++j)
            for (int i = -1; i <= w; ++i)
                if (nearInk(i, j)) c.Set(x + i, y + j, s.outlineColour);
    }
    for (int j = 0; j < h; ++j) {
        const int level = s.top + (s.bottom - s.top) * j / (h > 1 ? h - 1 : 1);
        for (int i = 0; i < w; ++i) {
            if (!ink(i, j)) continue;
            int l = level;
            if (!ink(i, j - 1))
                l = s.top + 1;  // lit top edge
            else if (!ink(i, j + 1))
                l -= 1;  // shaded foot
            c.Set(x + i, y + j, Shade(s.ramp, l));
        }
    }
}

void DrawPlainText(Canvas& c, int x, int y, std::string_view text, uint8_t colour, int scale) {
    int w = 0, h = 0;
    const std::vector<uint8_t> mask = TextMask(text, scale, &w, &h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (mask[static_cast<size_t>(j) * w + i]) c.Set(x + i, y + j, colour);
}

}  // namespace zoa::databuild
