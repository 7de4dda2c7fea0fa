// The packed sheet reader (.nbm); every pixel of an accepted sheet is read.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "gfx/sheet_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zoa::SheetImage sheet(data, size, "fuzz.nbm");
    if (sheet.Empty()) {
        ZOA_FUZZ_CHECK(!sheet.error.empty(), "a rejected sheet gives no reason");
        return 0;
    }
    unsigned sum = 0;
    for (int32_t y = 0; y < sheet.height; ++y)
        for (int32_t x = 0; x < sheet.width; ++x) sum += sheet.At(x, y);
    return sum == 0xFFFFFFFFu;  // keeps the reads
}
