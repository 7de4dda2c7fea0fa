#include "files/palette_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "files/utf8_path.h"

namespace zoa {

bool ReadPaletteFile(const std::string& path, Palette& out, std::string* error) {
    std::ifstream file(files::FsPath(path), std::ios::binary);
    if (!file) {
        if (error) *error = "cannot open palette file " + path;
        return false;
    }
    uint8_t bytes[kPaletteFileSize];
    file.read(reinterpret_cast<char*>(bytes), kPaletteFileSize);
    return ReadPaletteBytes(bytes, static_cast<size_t>(file.gcount()), out, error, path);
}

bool ReadPaletteBytes(const uint8_t* bytes, size_t size, Palette& out, std::string* error,
                      const std::string& name) {
    if (size < kPaletteFileSize) {
        if (error) *error = "palette file " + name + " is shorter than 1024 bytes";
        return false;
    }
    for (int i = 0; i < kPaletteSize; ++i) {
        const uint8_t* record = bytes + 4 * i;
        out[i] = PaletteEntry{record[2], record[1], record[0], record[3]};
    }
    return true;
}

bool WritePaletteFile(const std::string& path, const Palette& palette) {
    uint8_t bytes[kPaletteFileSize];
    for (int i = 0; i < kPaletteSize; ++i) {
        uint8_t* record = bytes + 4 * i;
        record[0] = palette[i].blue;
        record[1] = palette[i].green;
        record[2] = palette[i].red;
        record[3] = palette[i].flags;
    }
    std::ofstream file(files::FsPath(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes), kPaletteFileSize);
    return static_cast<bool>(file.flush());
}

}  // namespace zoa
