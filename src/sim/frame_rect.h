#pragma once
#include <cstdint>

#include "gfx/geometry.h"

namespace zoa {

// First sheet line (counted in frame heights) of animation rows 0 to 9.
inline constexpr int32_t SheetRowTable[10] = {0, 1, 3, 5, 6, 7, 9, 11, 12, 13};

// Width of every sprite sheet; a row of frames that would reach it wraps.
inline constexpr int32_t kSheetLineWidth = 640;

// A frame's rectangle on its sheet, worked out in 64 bits so that no record,
// however damaged, overflows on the way.
struct FrameSpan {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
};

// Where frame `frame` of animation row `row` lies on its sheet, for a sprite
// whose frame 0 of row 0 is at (srcX, srcY) and whose frames are width x height.
// Frames of a row sit side by side with a pitch of `width`, starting at
// (srcX, srcY + height * SheetRowTable[row]). A frame whose right edge would
// reach x 640 or beyond is taken from the next frame-height line instead, and
// the wrapped frames start again at srcX. A row outside 0..9 reads as row 0; a
// width of 0 or less never wraps (its rectangle is empty anyway).
// Sprite drawing and the data builder both place frames through this one rule.
constexpr FrameSpan FrameSourceSpan(int32_t srcX, int32_t srcY, int32_t width, int32_t height,
                                    int32_t row, int32_t frame) {
    const int64_t line = (row >= 0 && row < 10) ? SheetRowTable[row] : 0;
    int64_t columnShift = int64_t{frame} * width;
    int64_t lineShift = int64_t{height} * line;
    const int64_t overrun = int64_t{srcX} + int64_t{frame} * width + width - kSheetLineWidth;
    if (overrun >= 0 && width > 0) {
        columnShift = (overrun / width) * width;
        lineShift = int64_t{height} * line + height;
    }
    return FrameSpan{srcX + columnShift, srcY + lineShift, srcX + width + columnShift,
                     srcY + height + lineShift};
}

// The same as a rectangle, for frames whose numbers fit a sheet.
constexpr Rect FrameSourceRect(int32_t srcX, int32_t srcY, int32_t width, int32_t height,
                               int32_t row, int32_t frame) {
    const FrameSpan s = FrameSourceSpan(srcX, srcY, width, height, row, frame);
    return Rect{static_cast<int32_t>(s.left), static_cast<int32_t>(s.top),
                static_cast<int32_t>(s.right), static_cast<int32_t>(s.bottom)};
}

}  // namespace zoa
