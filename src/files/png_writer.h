#pragma once
#include <cstdint>
#include <string>

#include "files/palette.h"

namespace zoa {

// Writes an 8-bit picture with its palette as an indexed-colour PNG, its
// image data compressed with zlib.
bool WritePng(const std::string& path, const uint8_t* pixels, int32_t width, int32_t height,
              const Palette& palette);

// Writes a true-colour picture (0xAARRGGBB pixels, rows top down) as an RGBA PNG.
bool WriteRgbaPng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height);

}  // namespace zoa
