#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/palette.h"

namespace zoa::test {

// A fresh empty folder under the system's temp folder, removed when destroyed.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

// The colour of palette entry i in the fixture palette.
PaletteEntry FixtureColour(int i);
Palette FixturePalette();

// Value of fixture sheet `sheet` (0..9) at pixel (x, y): a pattern that tells
// sheets and positions apart, with transparent (250) pixels on a grid.
uint8_t FixturePixel(int sheet, int32_t x, int32_t y);

// Writes a complete set of ten small-pattern sheets and a palette under
// root/data/nbm, as the game expects them.
void WriteFixtureSheets(const std::string& root);

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);

}  // namespace zoa::test
