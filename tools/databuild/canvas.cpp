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

}  // namespace zoa::databuild
