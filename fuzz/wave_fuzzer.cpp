// The WAVE reader; an accepted file's samples are read whole.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    zoa::WaveFile wave(bytes, "fuzz.wav");
    if (!wave.loaded) {
        ZOA_FUZZ_CHECK(!wave.error.empty(), "a rejected WAVE file gives no reason");
        return 0;
    }
    ZOA_FUZZ_CHECK(wave.dataSize <= size, "more samples than bytes");
    unsigned sum = 0;
    for (uint32_t i = 0; i < wave.dataSize; ++i) sum += wave.data[i];
    return sum == 0xFFFFFFFFu;
}
