#pragma once
#include <cstdint>
#include <vector>

namespace zoa::databuild {

constexpr uint32_t kSampleRate = 22050;

// Effect `index` 0..14 (A..O) and looped track `index` 0..3 (1..4), as 16-bit
// mono samples at kSampleRate.
std::vector<int16_t> SoundEffect(int index);
std::vector<int16_t> MusicTrack(int index);

}  // namespace zoa::databuild
