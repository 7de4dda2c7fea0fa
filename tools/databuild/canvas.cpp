#include "canvas.h"

namespace zoa::databuild {

void Canvas::FillRect(const Rect& r, uint8_t c) {
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x) Set(x, y, c);
}

void Canvas::Stamp(const Canvas& src, int32_t x, int32_t y, bool mirror) {
    for (int32_t sy = 0; sy < src.Height(); ++sy) {
        for (int32_t sx = 0; sx < src.Width(); ++sx) {
            const uint8_t c = src.Get(sx, sy);
            if (c == TransparentIndex) continue;
            Set(x + (mirror ? src.Width() - 1 - sx : sx), y + sy, c);
        }
    }
}

void Canvas::Paste(const Canvas& src, int32_t x, int32_t y) {
    for (int32_t sy = 0; sy < src.Height(); ++sy)
        for (int32_t sx = 0; sx < src.Width(); ++sx) Set(x + sx, y + sy, src.Get(sx, sy));
}

Canvas Canvas::Crop(const Rect& r) const {
    Canvas out(r.Width(), r.Height());
    for (int32_t y = 0; y < r.Height(); ++y)
        for (int32_t x = 0; x < r.Width(); ++x) out.Set(x, y, Get(r.left + x, r.top + y));
    return out;
}

void Canvas::OutlineOutside(uint8_t c) {
    std::vector<uint8_t> next = pixels_;
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            if (Opaque(x, y)) continue;
            if (Opaque(x - 1, y) || Opaque(x + 1, y) || Opaque(x, y - 1) || Opaque(x, y + 1))
                next[static_cast<size_t>(y) * width_ + x] = c;
        }
    }
    pixels_.swap(next);
}

}  // namespace zoa::databuild
