// The tile map reader, then the map put in force and looked at.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "play/stage_file.h"
#include "play/stage_loader.h"
#include "sim/game_state.h"
#include "sim/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zoa;
    const std::vector<uint8_t> bytes(data, data + size);
    TileMapFile map;
    std::string error;
    if (!ReadTileMapFile(bytes, map, &error)) return 0;
    game = GameState{};
    ClearMap();
    ApplyTileMap(map);
    const int32_t right = map.Map_w * kTileSize, bottom = map.Map_h * kTileSize;
    for (int32_t y : {-1, 0, bottom / 2, bottom - 1, bottom})
        for (int32_t x : {-1, 0, right / 2, right - 1, right}) TileAttrAt(x, y);
    CenterCameraOn(right, bottom, kTileSize);
    WordWriter out;
    WriteTileMapFile(map, out);
    ZOA_FUZZ_CHECK(out.Data() == bytes, "a tile map does not write back as it was read");
    return 0;
}
