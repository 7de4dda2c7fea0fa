#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zoa::test {

// A PNG read back for checking what the game wrote: 8-bit samples only
// (indexed or RGBA, the two kinds the game writes), any row filter.
struct PngPicture {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t colourType = 0;        // 3 indexed, 6 RGBA
    std::vector<uint8_t> palette;  // PLTE: red, green, blue per entry
    std::vector<uint8_t> pixels;   // rows top down, 1 or 4 bytes a pixel
    uint8_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Decodes with zlib's inflate; false on anything it cannot read.
bool ReadPng(const std::string& path, PngPicture& out);

}  // namespace zoa::test
