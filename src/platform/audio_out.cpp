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

}  // namespace zoa::platform
