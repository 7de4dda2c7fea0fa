#include "platform/present.h"

#include <algorithm>

namespace zoa::platform {

void MakeArgbTable(const Palette& palette, ArgbTable& table) {
    for (int i = 0; i < kPaletteSize; ++i) {
        const PaletteEntry& e = palette[i];
        table[i] = 0xFF000000u | (uint32_t{e.red} << 16) | (uint32_t{e.green} << 8) | e.blue;
    }
}

void ConvertToArgb(const uint8_t* pixels, int count, const Palette& palette, uint32_t* out) {
    ArgbTable lut;
    MakeArgbTable(palette, lut);
    for (int i = 0; i < count; ++i) out[i] = lut[pixels[i]];
}

Viewport FitPicture(int w, int h, int outW, int outH, ScaleMode mode) {
    Viewport v;
    if (w <= 0 || h <= 0 || outW <= 0 || outH <= 0) return v;
    if (mode == ScaleMode::Stretch) return {0, 0, outW, outH};
    const int whole = mode == ScaleMode::Integer ? std::min(outW / w, outH / h) : 0;
    if (whole >= 1) {
        v.w = w * whole;
        v.h = h * whole;
    } else if (static_cast<int64_t>(outW) * h <= static_cast<int64_t>(outH) * w) {
        v.w = outW;
        v.h = static_cast<int>(static_cast<int64_t>(outW) * h / w);
    } else {
        v.h = outH;
        v.w = static_cast<int>(static_cast<int64_t>(outH) * w / h);
    }
    v.x = (outW - v.w) / 2;
    v.y = (outH - v.h) / 2;
    return v;
}

}  // namespace zoa::platform
