#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/palette.h"

namespace zoa {

// The palette file: 256 records of four bytes (blue, green, red, flags), no
// header, 1024 bytes. Bytes after the first 1024 are ignored.
constexpr size_t kPaletteFileSize = 1024;

// Reads a palette file. Fails (false, with a reason in *error) when the file
// cannot be opened or holds fewer than 1024 bytes; `out` is then untouched.
bool ReadPaletteFile(const std::string& path, Palette& out, std::string* error);
// The same from the file's bytes; `name` only goes into the error text.
bool ReadPaletteBytes(const uint8_t* bytes, size_t size, Palette& out, std::string* error,
                      const std::string& name);

// Writes a palette file; false when it cannot be written.
bool WritePaletteFile(const std::string& path, const Palette& palette);

}  // namespace zoa
