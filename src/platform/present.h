#pragma once
#include <cstdint>

#include "files/palette.h"
#include "platform/settings.h"

namespace zoa::platform {

// Turns an 8-bit picture into 32-bit 0xAARRGGBB pixels through the palette.
void ConvertToArgb(const uint8_t* pixels, int count, const Palette& palette, uint32_t* out);
// The palette as 0xAARRGGBB colours, for converting many rows.
using ArgbTable = uint32_t[kPaletteSize];
void MakeArgbTable(const Palette& palette, ArgbTable& table);

// Where a picture of `w` x `h` lands in an output of `outW` x `outH`, centred.
// Integer: scaled by a whole number when at least 1x fits (sharp, even
// pixels), otherwise shrunk to fit with its aspect kept. Aspect: as large as
// fits with its aspect kept. Stretch: the whole output.
struct Viewport {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};
Viewport FitPicture(int w, int h, int outW, int outH, ScaleMode mode = ScaleMode::Integer);

}  // namespace zoa::platform
