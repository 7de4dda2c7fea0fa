// Drawing speed against plain memory copies of the same number of bytes.
// The keyed blit should stay within twice the time of memcpy; presenting a
// frame (palette conversion to 32-bit) should take well under half a millisecond.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "gfx/display.h"
#include "gfx/sheet_image.h"
#include "platform/headless/headless_platform.h"
#include "platform/present.h"

namespace zoa {
namespace {

struct Scene {
    platform::HeadlessPlatform screen;
    Display display{&screen};
    uint32_t sheet = 0;

    Scene() {
        sheet = display.CreateSurface(640, 2000);
        display.SetColorKey(sheet, 250, 250);
        // A sprite-like sheet: a third of the pixels transparent, in runs.
        Surface& s = const_cast<Surface&>(*display.GetSurface(sheet));
        for (int32_t y = 0; y < s.height; ++y)
            for (int32_t x = 0; x < s.width; ++x)
                s.Row(y)[x] = ((x / 7 + y / 5) % 3 == 0) ? 250 : static_cast<uint8_t>(x ^ y);
    }
};

// Times `iterations` memcpy calls of `bytes` bytes, for the ratio counters.
double MemcpySeconds(int64_t iterations, size_t bytes) {
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    const auto start = std::chrono::steady_clock::now();
    for (int64_t i = 0; i < iterations; ++i) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ReportRatio(benchmark::State& state, std::chrono::steady_clock::time_point start,
                 size_t bytes) {
    const double blit =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["x_memcpy"] =
        blit / MemcpySeconds(static_cast<int64_t>(state.iterations()), bytes);
}

void BM_KeyedBlitFullScreen(benchmark::State& state) {
    Scene scene;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene.display.Blit({0, 0}, scene.sheet, {0, 0, 640, 480});
        benchmark::DoNotOptimize(scene.display.BackBuffer());
    }
    ReportRatio(state, start, 640 * 480);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 640 * 480);
}
BENCHMARK(BM_KeyedBlitFullScreen);

// What a busy play frame draws: 6 background strips, 21 x 16 tiles and 60
// sprites of 121 x 105.
int64_t PlayFrameBytes() {
    return 6 * 640 * 230 + 336 * 32 * 32 + 60 * 121 * 105;
}

void BM_PlayFrameBlits(benchmark::State& state) {
    Scene scene;
    Display& d = scene.display;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (int layer = 0; layer < 3; ++layer) {
            d.Blit({100, layer * 120}, scene.sheet, {0, 0, 540, 230});
            d.Blit({0, layer * 120}, scene.sheet, {540, 0, 640, 230});
        }
        for (int row = 0; row < 15; ++row)
            for (int col = 0; col < 20; ++col)
                d.Blit({col * 32, row * 32}, scene.sheet, {col * 33 + 1, 700, col * 33 + 33, 732});
        for (int extra = 0; extra < 36; ++extra)
            d.Blit({extra * 16, 448}, scene.sheet, {0, 800, 32, 832});
        for (int sprite = 0; sprite < 60; ++sprite)
            d.Blit({(sprite * 97) % 519, (sprite * 53) % 375}, scene.sheet,
                   {121 * (sprite % 5), 1000, 121 * (sprite % 5) + 121, 1105});
        benchmark::DoNotOptimize(d.BackBuffer());
    }
    ReportRatio(state, start, static_cast<size_t>(PlayFrameBytes()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * PlayFrameBytes());
}
BENCHMARK(BM_PlayFrameBlits);

void BM_PresentPaletteConversion(benchmark::State& state) {
    std::vector<uint8_t> picture(640 * 480);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i * 13);
    std::vector<uint32_t> out(640 * 480);
    Palette palette{};
    for (int i = 0; i < kPaletteSize; ++i)
        palette[i] = {static_cast<uint8_t>(i), 0, static_cast<uint8_t>(255 - i), 0};
    for (auto _ : state) {
        platform::ConvertToArgb(picture.data(), 640 * 480, palette, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_PresentPaletteConversion)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zoa
