#pragma once
#include <cstdint>
#include <vector>

namespace zoa {

// The logo's audio, kept for its picture: one sample per millisecond and
// channel (interleaved, 16-bit), from the audio stream's start.
struct WaveTrace {
    std::vector<int16_t> samples;
    int32_t channels = 0;  // 1: one trace; 2: a red left and a green right trace
    int64_t startMs = 0;   // the stream's start on the logo's clock

    int64_t Milliseconds() const { return channels > 0 ? int64_t(samples.size()) / channels : 0; }
};

// Height of the strip's waveform band and of the whole strip with its time text.
constexpr int32_t kWaveBandHeight = 64;
constexpr int32_t kWaveStripHeight = kWaveBandHeight + 16;

// Paints the strip whose top is at `top` on a canvas of `width` x `height`
// pixels (0xAARRGGBB, rows of `stride` pixels): the samples around `timeMs`,
// one millisecond per pixel with `timeMs` in the middle, a red one-pixel mark
// there, and the time as "%ld.%03lds" below it. Whatever lies outside the
// canvas is left out.
void PaintWaveStrip(uint32_t* canvas, int32_t stride, int32_t width, int32_t height, int32_t top,
                    const WaveTrace& trace, int64_t timeMs);

}  // namespace zoa
