// The palette file reader.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/palette_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zoa::Palette palette{};
    std::string error;
    zoa::ReadPaletteBytes(data, size, palette, &error, "fuzz.pal");
    return 0;
}
