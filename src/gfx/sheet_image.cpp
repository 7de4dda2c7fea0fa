#include "gfx/sheet_image.h"

#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/message_box.h"
#include "world/le_words.h"

namespace zoa {

namespace {
constexpr char kMagic[2] = {'N', 'B'};
constexpr int32_t kSizeUnit = 10;
constexpr int32_t kLargestSide = 255 * kSizeUnit;
}  // namespace

std::string PackedSheetPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + ".nbm";
}

SheetImage::SheetImage(const std::string& path, bool packed) {
    // Only packed sheets exist in this game; the flag stays for the loaders' sake.
    (void)packed;
    const std::string file_path = PackedSheetPath(path);
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(file_path, bytes)) {
        error = "cannot open sheet file " + file_path;
        return;
    }
    Decode(bytes.data(), bytes.size(), file_path);
}

SheetImage::SheetImage(const uint8_t* bytes, size_t size, const std::string& name) {
    Decode(bytes, size, name);
}

void SheetImage::Decode(const uint8_t* bytes, size_t length, const std::string& name) {
    if (length < 2 || std::memcmp(bytes, kMagic, 2) != 0) {
        ShowMessageBox("ERROR: Bitmap File");
        error = name + " is not a packed sheet file";
        return;
    }
    if (length < kSheetHeaderSize) {
        error = name + " is too short to hold a sheet header";
        return;
    }
    const int32_t w = kSizeUnit * bytes[2];
    const int32_t h = kSizeUnit * bytes[4];
    const size_t needed = kSheetHeaderSize + static_cast<size_t>(w) * static_cast<size_t>(h);
    if (w == 0 || h == 0 || length < needed) {
        error = name + ": " + std::to_string(length) + " bytes cannot hold a " + std::to_string(w) +
                " x " + std::to_string(h) + " sheet";
        return;
    }
    // The block keeps what follows the magic bytes, as the file had it.
    const size_t rest = length - 2;
    raw = std::make_unique<uint8_t[]>(rest);
    std::memcpy(raw.get(), bytes + 2, rest);
    width = w;
    height = h;
    pixels = raw.get() + (kSheetHeaderSize - 2);
}

bool WriteSheetFile(const std::string& path, int32_t width, int32_t height,
                    const uint8_t* topDownPixels) {
    if (width <= 0 || height <= 0 || width % kSizeUnit != 0 || height % kSizeUnit != 0 ||
        width > kLargestSide || height > kLargestSide) {
        return false;
    }
    std::vector<uint8_t> bytes(kSheetHeaderSize + static_cast<size_t>(width) * height, 0);
    bytes[0] = 'N';
    bytes[1] = 'B';
    bytes[2] = static_cast<uint8_t>(width / kSizeUnit);
    bytes[4] = static_cast<uint8_t>(height / kSizeUnit);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = topDownPixels + static_cast<size_t>(y) * width;
        std::memcpy(bytes.data() + kSheetHeaderSize + static_cast<size_t>(height - 1 - y) * width,
                    row, width);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace zoa
