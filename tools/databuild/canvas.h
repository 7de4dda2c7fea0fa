#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/palette.h"
#include "gfx/geometry.h"

namespace zoa::databuild {

// An 8-bit picture being drawn, top row first. It starts out transparent
// (index 250); reads outside it answer transparent, writes outside it are lost.
class Canvas {
  public:
    Canvas() = default;
    Canvas(int32_t width, int32_t height, uint8_t fill = TransparentIndex)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }
    std::vector<uint8_t>& Pixels() { return pixels_; }

    bool Inside(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    uint8_t Get(int32_t x, int32_t y) const {
        return Inside(x, y) ? pixels_[static_cast<size_t>(y) * width_ + x] : TransparentIndex;
    }
    void Set(int32_t x, int32_t y, uint8_t c) {
        if (Inside(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = c;
    }
    bool Opaque(int32_t x, int32_t y) const { return Get(x, y) != TransparentIndex; }

    void FillRect(const Rect& r, uint8_t c);
    // Copies the opaque pixels of `src` with its top-left at (x, y); mirrored
    // left to right when `mirror` is set.
    void Stamp(const Canvas& src, int32_t x, int32_t y, bool mirror = false);
    // Copies every pixel of `src` (transparent ones too) to (x, y).
    void Paste(const Canvas& src, int32_t x, int32_t y);

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> pixels_;
};

}  // namespace zoa::databuild
