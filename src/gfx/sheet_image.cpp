#include "gfx/sheet_image.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "platform/message_box.h"

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
    std::ifstream file(file_path, std::ios::binary);
    if (!file) {
        error = "cannot open sheet file " + file_path;
        return;
    }
    char magic[2] = {};
    file.read(magic, 2);
    if (file.gcount() != 2 || std::memcmp(magic, kMagic, 2) != 0) {
        ShowMessageBox("ERROR: Bitmap File");
        error = file_path + " is not a packed sheet file";
        return;
    }
    file.seekg(0, std::ios::end);
    const auto length = static_cast<size_t>(file.tellg());
    file.seekg(2);
    const size_t rest = length - 2;
    if (length < kSheetHeaderSize) {
        error = file_path + " is too short to hold a sheet header";
        return;
    }
    auto block = std::make_unique<uint8_t[]>(rest);
    file.read(reinterpret_cast<char*>(block.get()), static_cast<std::streamsize>(rest));
    if (static_cast<size_t>(file.gcount()) != rest) {
        error = "cannot read sheet file " + file_path;
        return;
    }
    const int32_t w = kSizeUnit * block[0];
    const int32_t h = kSizeUnit * block[2];
    const size_t needed = kSheetHeaderSize + static_cast<size_t>(w) * static_cast<size_t>(h);
    if (w == 0 || h == 0 || length < needed) {
        error = file_path + ": " + std::to_string(length) + " bytes cannot hold a " +
                std::to_string(w) + " x " + std::to_string(h) + " sheet";
        return;
    }
    raw = std::move(block);
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
