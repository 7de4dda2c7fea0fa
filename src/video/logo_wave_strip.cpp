#include "video/logo_wave_strip.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace zoa {

namespace {

constexpr uint32_t kMarkColor = 0xFFFF0000;
constexpr uint32_t kLeftColor = 0xFFFF0000;
constexpr uint32_t kRightColor = 0xFF00FF00;
constexpr uint32_t kMonoColor = 0xFF00FF00;
constexpr uint32_t kTextColor = 0xFFC0C0C0;
constexpr int32_t kTextGap = 3;  // between the band and the time text
constexpr int32_t kGlyphScale = 2;

// A 3 x 5 font for the time text: each glyph's rows, three bits each, high bit left.
struct Glyph {
    char c;
    std::array<uint8_t, 5> rows;
};
constexpr std::array<Glyph, 13> kGlyphs = {{
    {'0', {7, 5, 5, 5, 7}},
    {'1', {2, 6, 2, 2, 7}},
    {'2', {7, 1, 7, 4, 7}},
    {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}},
    {'5', {7, 4, 7, 1, 7}},
    {'6', {7, 4, 7, 5, 7}},
    {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}},
    {'9', {7, 5, 7, 1, 7}},
    {'.', {0, 0, 0, 0, 2}},
    {'s', {3, 4, 7, 1, 6}},
    {'-', {0, 0, 7, 0, 0}},
}};
constexpr int32_t kGlyphAdvance = 4 * kGlyphScale;

struct Canvas {
    uint32_t* pixels;
    int32_t stride, width, height;

    void Put(int32_t x, int32_t y, uint32_t color) {
        if (x >= 0 && x < width && y >= 0 && y < height) pixels[int64_t{y} * stride + x] = color;
    }
    // A vertical run from y0 to y1, both included, in either order.
    void Column(int32_t x, int32_t y0, int32_t y1, uint32_t color) {
        for (int32_t y = std::min(y0, y1); y <= std::max(y0, y1); ++y) Put(x, y, color);
    }
    void Text(const char* text, int32_t left, int32_t top) {
        for (int32_t i = 0; text[i]; ++i) {
            for (const Glyph& g : kGlyphs) {
                if (g.c != text[i]) continue;
                for (int32_t row = 0; row < 5; ++row)
                    for (int32_t col = 0; col < 3; ++col)
                        if (g.rows[size_t(row)] & (4 >> col))
                            for (int32_t k = 0; k < kGlyphScale * kGlyphScale; ++k)
                                Put(left + i * kGlyphAdvance + col * kGlyphScale + k % kGlyphScale,
                                    top + row * kGlyphScale + k / kGlyphScale, kTextColor);
            }
        }
    }
};

// The height in the band of a sample: full scale reaches its edges.
int32_t SampleY(int32_t bandTop, int16_t sample) {
    const int32_t half = kWaveBandHeight / 2;
    return bandTop + half - std::clamp(sample * half / 32768, -half, half - 1);
}

}  // namespace

void PaintWaveStrip(uint32_t* pixels, int32_t stride, int32_t width, int32_t height, int32_t top,
                    const WaveTrace& trace, int64_t timeMs) {
    Canvas canvas{pixels, stride, width, height};
    const int32_t middle = width / 2;
    const int64_t length = trace.Milliseconds();
    const int32_t traces = std::min(trace.channels, 2);
    for (int32_t c = 0; c < traces; ++c) {
        const uint32_t color = traces == 1 ? kMonoColor : c == 0 ? kLeftColor : kRightColor;
        int32_t previous = -1;
        for (int32_t x = 0; x < width; ++x) {
            const int64_t ms = timeMs - middle + x - trace.startMs;
            if (ms < 0 || ms >= length) {
                previous = -1;
                continue;
            }
            const int32_t y = SampleY(top, trace.samples[size_t(ms * trace.channels + c)]);
            // Joined to the previous column, so that steep edges stay one line.
            canvas.Column(x, previous < 0 ? y : previous, y, color);
            previous = y;
        }
    }
    canvas.Column(middle, top, top + kWaveBandHeight - 1, kMarkColor);
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%ld.%03lds", static_cast<long>(timeMs / 1000),
                                static_cast<long>(std::abs(timeMs % 1000)));
    if (n > 0) canvas.Text(text, middle - n * kGlyphAdvance / 2, top + kWaveBandHeight + kTextGap);
}

}  // namespace zoa
