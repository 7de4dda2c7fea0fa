// The rewind history's cost on the largest campaign stage with a full pool of
// a thousand sprites all moving: the time a frame's moment takes to go in,
// and the memory sixty seconds of them take.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/practice_history.h"
#include "play/stage_loader.h"
#include "play/stage_source.h"
#include "sim/sim_hooks.h"
#include "sim/simulation.h"
#include "sim/sprite_types.h"
#include "sim/update_sprites.h"

namespace zoa {
namespace {

constexpr int kFramesPerSecond = 60;
constexpr int kHistorySeconds = 60;

// The largest stage of the campaign in force, its pool filled to the brim
// with copies of its own moving sprites spread over the map. Stage changes,
// fades and nested frames do nothing here: the simulation alone runs.
struct FullStage {
    SimHooks savedHooks = simHooks;

    FullStage() {
        simHooks = {[] {}, [] {}, [](int32_t) { return int32_t{0}; }};
        sim = Simulation{};
        StageFile best;
        TileMapFile bestMap;
        for (int n = 1; n <= 8; ++n) {
            std::ifstream in(std::string(ZOA_SOURCE_DIR) + "/stages/stage" + std::to_string(n) +
                             ".stage");
            std::stringstream text;
            text << in.rdbuf();
            StageFile stage;
            TileMapFile map;
            std::string error;
            if (!CompileStageSource(text.str(), stage, map, &error)) continue;
            if (map.Map_w * map.Map_h > bestMap.Map_w * bestMap.Map_h) {
                best = stage;
                bestMap = map;
            }
        }
        ApplyStage(best);
        ApplyTileMap(bestMap);
        game.TitleActive = 0;
        const int32_t own = game.Sprite_Getsu;
        for (int32_t i = own, k = 0; i < kPoolCapacity; ++i, ++k) {
            SpriteRecord copy = pool[k % own];
            if (copy.type == kPlayer) copy = pool[(k + 1) % own];
            copy.x = (copy.x + 97 * k) % std::max(game.Map_w * kTileSize, 1);
            AddSpriteRecord(copy);
        }
        UpdateSprites();
    }
    ~FullStage() { simHooks = savedHooks; }
};

// One frame of the simulation alone, as the baseline.
void BM_SimulationFrame(benchmark::State& state) {
    FullStage stage;
    for (auto _ : state) {
        UpdateSprites();
        benchmark::DoNotOptimize(pool[0].x);
    }
    state.counters["sprites"] = game.Sprite_Getsu;
}
BENCHMARK(BM_SimulationFrame)->Unit(benchmark::kMicrosecond);

// The same frame with its moment taken into the history: the difference to
// the baseline is what a snapshot costs.
void BM_SimulationFrameWithSnapshot(benchmark::State& state) {
    FullStage stage;
    auto history = std::make_unique<RewindHistory>();
    for (auto _ : state) {
        UpdateSprites();
        history->Push(sim, {});
    }
    state.counters["sprites"] = game.Sprite_Getsu;
}
BENCHMARK(BM_SimulationFrameWithSnapshot)->Unit(benchmark::kMicrosecond);

// Sixty seconds of play into one history: how many moments it kept and the
// memory they take (the pool differences, and all it holds).
void BM_SixtySecondsOfHistory(benchmark::State& state) {
    for (auto _ : state) {
        FullStage stage;
        auto history = std::make_unique<RewindHistory>();
        for (int f = 0; f < kFramesPerSecond * kHistorySeconds; ++f) {
            UpdateSprites();
            history->Push(sim, {});
        }
        state.counters["sprites"] = game.Sprite_Getsu;
        state.counters["frames_kept"] = static_cast<double>(history->size());
        state.counters["difference_MB"] =
            static_cast<double>(history->differenceBytes()) / (1 << 20);
        state.counters["reserved_MB"] = static_cast<double>(history->reservedBytes()) / (1 << 20);
    }
}
BENCHMARK(BM_SixtySecondsOfHistory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zoa
