#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zoa {

namespace files {
class ReadBuffer;
}

// One packed sheet file (.nbm) held in memory while it is copied into its
// surface. Layout: "NB", width / 10 at byte 2, height / 10 at byte 4, then the
// pixels from byte 8 on, one palette index per byte, rows stored bottom-up.
class SheetImage {
  public:
    // Reads the file at once. The path's extension is replaced by "nbm".
    // A rejected file leaves the image empty (null pixels, zero sizes).
    SheetImage(const std::string& path, bool packed);
    // The same, read into `buffer`: the pixels stay there and are good until
    // the buffer's next read.
    SheetImage(const std::string& path, bool packed, files::ReadBuffer& buffer);
    // The same from the file's bytes; `name` only goes into the error text.
    SheetImage(const uint8_t* bytes, size_t size, const std::string& name);
    virtual ~SheetImage() = default;
    SheetImage(const SheetImage&) = delete;
    SheetImage& operator=(const SheetImage&) = delete;

    bool Empty() const { return pixels == nullptr; }
    // Palette index of picture pixel (x, y), counted from the top.
    uint8_t At(int32_t x, int32_t y) const { return pixels[(height - 1 - y) * width + x]; }

    int32_t width = 0;
    int32_t height = 0;
    const uint8_t* pixels = nullptr;  // first stored (bottom) row, inside the file's bytes
    std::string error;                // why the file was rejected, if it was

  private:
    bool Decode(const uint8_t* bytes, size_t length, const std::string& name);

    std::vector<uint8_t> file_;  // the whole file, as read
};

constexpr size_t kSheetHeaderSize = 8;

// The file a sheet path names: same folder and name, extension "nbm".
std::string PackedSheetPath(const std::string& path);

// Writes a packed sheet from top-down rows. Width and height must be positive
// multiples of 10 no larger than 2550; false otherwise or when writing fails.
bool WriteSheetFile(const std::string& path, int32_t width, int32_t height,
                    const uint8_t* topDownPixels);

}  // namespace zoa
