#include "pixel_font.h"

#include <cstring>
#include <vector>

namespace zoa::databuild {

namespace {

struct Glyph {
    char ch;
    const char* rows[kGlyphHeight];
};

// '#' is ink; every row of a glyph has the glyph's width.
constexpr Glyph kGlyphs[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ####", "#    ", "#    ", "#  ##", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {"###", " # ", " # ", " # ", " # ", " # ", "###"}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {" # ", "## ", " # ", " # ", " # ", " # ", "###"}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#### ", "    #", "    #", " ### ", "    #", "    #", "#### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {" ### ", "#    ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "    #", " ### "}},
    {'&', {" ##  ", "#  # ", "#  # ", " ##  ", "# # #", "#  # ", " ## #"}},
    {'-', {"   ", "   ", "   ", "###", "   ", "   ", "   "}},
    {'!', {"#", "#", "#", "#", "#", " ", "#"}},
    {'.', {" ", " ", " ", " ", " ", " ", "#"}},
    {':', {" ", "#", " ", " ", " ", "#", " "}},
    {'?', {" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "}},
    {'/', {"    #", "   # ", "   # ", "  #  ", " #   ", " #   ", "#    "}},
    {'(', {" #", "# ", "# ", "# ", "# ", "# ", " #"}},
    {')', {"# ", " #", " #", " #", " #", " #", "# "}},
    {' ', {"   ", "   ", "   ", "   ", "   ", "   ", "   "}},
};

const Glyph* Find(char ch) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    for (const Glyph& g : kGlyphs)
        if (g.ch == ch) return &g;
    return Find('?');
}

int GlyphWidth(const Glyph& g) { return static_cast<int>(std::strlen(g.rows[0])); }

// The glyphs' ink at `scale`, as a mask of (width x height).
std::vector<uint8_t> TextMask(std::string_view text, int scale, int* width, int* height) {
    *width = TextWidth(text, scale);
    *height = kGlyphHeight * scale;
    std::vector<uint8_t> mask(static_cast<size_t>(*width) * *height, 0);
    int x = 0;
    for (char ch : text) {
        const Glyph& g = *Find(ch);
        const int gw = GlyphWidth(g);
        for (int r = 0; r < kGlyphHeight; ++r)
            for (int c = 0; c < gw; ++c)
                if (g.rows[r][c] == '#')
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
    int w = 0;
    for (char ch : text) w += (GlyphWidth(*Find(ch)) + 1) * scale;
    return w > 0 ? w - scale : 0;
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
            if (!ink(i, j - 1)) l = s.top + 1;  // lit top edge
            else if (!ink(i, j + 1)) l -= 1;    // shaded foot
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
