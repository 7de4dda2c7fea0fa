#include "platform/audio_out.h"

namespace zoa::platform {

namespace {
constexpr uint32_t kLowestRate = 1000;
constexpr uint32_t kHighestRate = 192000;
}  // namespace

bool IsPlayablePcm(const PcmFormat& format) {
    return (format.bits == 8 || format.bits == 16) &&
           (format.channels == 1 || format.channels == 2) && format.rate >= kLowestRate &&
           format.rate <= kHighestRate;
}

void WidenPcm(const PcmFormat& format, const uint8_t* data, uint32_t frames, int outChannels,
              int16_t* out) {
    const uint32_t count = frames * format.channels;
    const bool toBothSides = format.channels == 1 && outChannels == 2;
    for (uint32_t i = 0; i < count; ++i) {
        const int16_t sample = format.bits == 8
                                   ? static_cast<int16_t>((data[i] - 128) * 256)
                                   : static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8);
        if (toBothSides) {
            out[2 * i] = out[2 * i + 1] = sample;
        } else {
            out[i] = sample;
        }
    }
}

}  // namespace zoa::platform
