#pragma once
#include <array>
#include <cstdint>

namespace zoa {

constexpr int kPaletteSize = 256;
// Palette index that keyed sheets treat as transparent.
constexpr uint8_t TransparentIndex = 250;

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

using Palette = std::array<PaletteEntry, kPaletteSize>;

}  // namespace zoa
