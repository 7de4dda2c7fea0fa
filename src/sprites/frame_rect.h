#pragma once
#include <cstdint>

#include "gfx/geometry.h"

namespace zoa {

// First sheet line (counted in frame heights) of animation rows 0 to 9.
inline constexpr int32_t SheetRowTable[10] = {0, 1, 3, 5, 6, 7, 9, 11, 12, 13};

// Width of every sprite sheet; a row of frames that would reach it wraps.
inline constexpr int32_t kSheetLineWidth = 640;

// Where frame `frame` of animation row `row` lies on its sheet, for a sprite
// whose frame 0 of row 0 is at (srcX, srcY) and whose frames are width x height.
// Frames of a row sit side by side with a pitch of `width`, starting at
// (srcX, srcY + height * SheetRowTable[row]). A frame whose right edge would
// reach x 640 or beyond is taken from the next frame-height line instead, and
// the wrapped frames start again at srcX. A row outside 0..9 reads as row 0.
// Sprite drawing and the data builder both place frames through this one rule.
constexpr Rect FrameSourceRect(int32_t srcX, int32_t srcY, int32_t width, int32_t height,
                               int32_t row, int32_t frame) {
    const int32_t line = (row >= 0 && row < 10) ? SheetRowTable[row] : 0;
    int32_t columnShift = frame * width;
    int32_t lineShift = height * line;
    const int32_t overrun = srcX + frame * width + width - kSheetLineWidth;
    if (overrun >= 0 && width > 0) {
        columnShift = (overrun / width) * width;
        lineShift = height * line + height;
    }
    return Rect{srcX + columnShift, srcY + lineShift, srcX + width + columnShift,
                srcY + height + lineShift};
}

}  // namespace zoa
