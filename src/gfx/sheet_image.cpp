#include "gfx/sheet_image.h"

#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "files/le_words.h"
#include "files/read_buffer.h"
#include "files/utf8_path.h"
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
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + ".nbm";
}

SheetImage::SheetImage(const std::string& path, bool packed) {
    // Only packed sheets exist in this game; the flag stays for the loaders' sake.
    (void)packed;
    const std::string file_path = PackedSheetPath(path);
    if (!ReadWholeFile(file_path, file_)) {
        error = "cannot open sheet file " + file_path;
        return;
    }
    // The pixels stay where the file was read to.
    if (!Decode(file_.data(), file_.size(), file_path)) file_.clear();
}

SheetImage::SheetImage(const std::string& path, bool packed, files::ReadBuffer& buffer) {
    (void)packed;
    const std::string file_path = PackedSheetPath(path);
    if (!buffer.Read(file_path)) {
        error = "cannot open sheet file " + file_path;
        return;
    }
    Decode(buffer.data(), buffer.size(), file_path);
}

SheetImage::SheetImage(const uint8_t* bytes, size_t size, const std::string& name) {
    if (Decode(bytes, size, name)) {
        file_.assign(bytes, bytes + size);
        pixels = file_.data() + kSheetHeaderSize;
    }
}

bool SheetImage::Decode(const uint8_t* bytes, size_t length, const std::string& name) {
    if (length < 2 || std::memcmp(bytes, kMagic, 2) != 0) {
        ShowMessageBox("ERROR: Bitmap File");
        error = name + " is not a packed sheet file";
        return false;
    }
    if (length < kSheetHeaderSize) {
        error = name + " is too short to hold a sheet header";
        return false;
    }
    const int32_t w = kSizeUnit * bytes[2];
    const int32_t h = kSizeUnit * bytes[4];
    const size_t needed = kSheetHeaderSize + static_cast<size_t>(w) * static_cast<size_t>(h);
    if (w == 0 || h == 0 || length < needed) {
        error = name + ": " + std::to_string(length) + " bytes cannot hold a " + std::to_string(w) +
                " x " + std::to_string(h) + " sheet";
        return false;
    }
    width = w;
    height = h;
    pixels = bytes + kSheetHeaderSize;
    return true;
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
    std::ofstream file(files::FsPath(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace zoa
