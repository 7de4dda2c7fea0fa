// A whole frame of play as RunFrame composes it (three background layers, 21 x 16
// tiles, the HUD, the flip) against memcpy of the bytes that frame writes.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "frame_bytes.h"
#include "gfx/display.h"
#include "gfx/sheet_image.h"
#include "platform/headless/headless_platform.h"
#include "play/run_frame.h"
#include "play/sheets.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"

namespace zoa {
namespace {

struct PlayFrame {
    platform::HeadlessPlatform platform;
    std::unique_ptr<Display> display;

    PlayFrame() {
        platform::SetCurrent(&platform);
        display = std::make_unique<Display>(&platform);
        g_display = display.get();
        game = GameState{};
        world = WorldMap{};
        pool = SpritePool{};
        LoadSheetPictures();
        SetUpWorld();
        game.TitleActive = 0;
        game.Level = 1;
        game.Lives = 3;
        game.Map_w = 60;
        game.Map_h = 20;
        game.Scr.x = 40;  // between tiles both ways: 21 x 16 tiles
        game.Scr.y = 20;
        game.PlayerDx = 4;
        game.RightHeld = 1;
        for (int32_t c = 0; c < 60; ++c) {
            for (int32_t r = 0; r < 20; ++r) world.At(c, r) = (c * 7 + r) % 500;
        }
        game.Sprite_Getsu = 100;
        for (int32_t i = 0; i < 100; ++i) {
            pool[i].width = 121;
            pool[i].height = 105;
            pool[i].x = i * 30;
            pool[i].y = 200;
        }
        pool[0].life = 500;
        pool[0].gauge = 500;
    }

    ~PlayFrame() {
        g_display = nullptr;
        platform::SetCurrent(nullptr);
    }

    // Sheets with a mix of opaque and transparent pixels, as real art has.
    void LoadSheetPictures() {
        const std::string folder =
            std::filesystem::temp_directory_path() / ("zoa_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        for (int s = 0; s < kSheetCount; ++s) {
            const int32_t h = kSheets[s].height;
            std::vector<uint8_t> pixels(static_cast<size_t>(kScreenWidth) * h);
            for (size_t i = 0; i < pixels.size(); ++i) {
                pixels[i] = (i / 7) % 3 == 0 ? TransparentIndex : static_cast<uint8_t>(i % 200);
            }
            const std::string path = folder + "/sheet.nbm";
            WriteSheetFile(path, kScreenWidth, h, pixels.data());
            SheetImage image(path, true);
            const uint32_t index = display->CreateSurface(kScreenWidth, h);
            display->CopySheet(index, {0, 0}, image, {0, 0, kScreenWidth, h});
            if (kSheets[s].keyed) display->SetColorKey(index, TransparentIndex, TransparentIndex);
        }
        std::filesystem::remove_all(folder);
        int32_t* surfaces[] = {&game.SurfaceSPl,   &game.SurfaceSPm,   &game.SurfaceSPmi,
                               &game.SurfaceSPgi,  &game.SurfaceSPcca, &game.SurfaceSPccb,
                               &game.SurfaceSPmca, &game.SurfaceSPmcb, &game.SurfaceSPt,
                               &game.SurfaceSPb};
        for (int s = 0; s < kSheetCount; ++s) *surfaces[s] = s + 1;
    }
};

void BM_PlayFrame(benchmark::State& state) {
    PlayFrame frame;
    for (auto _ : state) {
        RunFrame();
        benchmark::DoNotOptimize(frame.display->FrontBuffer());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_PlayFrame);

void BM_MemcpyOfAPlayFrame(benchmark::State& state) {
    std::vector<uint8_t> from(kFrameBytes, 1), to(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kFrameBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_MemcpyOfAPlayFrame);

}  // namespace
}  // namespace zoa
