#pragma once
#include <cstdint>

#include "gfx/palette.h"

namespace zoa::platform {

// Turns an 8-bit picture into 32-bit 0xAARRGGBB pixels through the palette.
void ConvertToArgb(const uint8_t* pixels, int count, const Palette& palette, uint32_t* out);

// Where a picture of `w` x `h` lands in an output of `outW` x `outH`: centred,
// aspect kept, scaled by a whole number when at least 1x fits (sharp pixels),
// otherwise shrunk to fit.
struct Viewport {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};
Viewport FitPicture(int w, int h, int outW, int outH);

}  // namespace zoa::platform
