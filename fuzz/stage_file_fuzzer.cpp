// The stage file reader (numbered stages and the saved game), then the game's
// own use of an accepted file: put in force, camera on the player, written
// back, and the stage compiler's text form of it compiled again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "play/stage_file.h"
#include "play/stage_loader.h"
#include "play/stage_source.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zoa;
    const std::vector<uint8_t> bytes(data, data + size);
    StageFile stage;
    std::string error;
    if (ReadStageFile(bytes, stage, &error) != StageRead::kOk) return 0;
    ZOA_FUZZ_CHECK(CheckStageFile(stage).empty(),
                   "an accepted stage file fails the writer's check");

    game = GameState{};
    pool = SpritePool{};
    ClearMap();
    ApplyStage(stage);
    const SpriteRecord& player = pool[game.PlayerIndex];
    CenterCameraOn(player.x, player.y, player.width);
    TileAttrAt(player.x, player.y);

    WordWriter out;
    WriteStageFile(stage, out);
    ZOA_FUZZ_CHECK(out.Data() == bytes, "a stage file does not write back as it was read");

    StageFile compiled;
    TileMapFile map;
    ZOA_FUZZ_CHECK(CompileStageSource(DecompileStage(stage, nullptr), compiled, map, &error),
                   "the source of a stage file does not compile");
    return 0;
}
