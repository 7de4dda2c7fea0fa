// The tile attribute file (Spt.T): read into the staging table, then into the
// attribute table the game's collision tests look at.
#include <cstddef>
#include <cstdint>

#include "sim/game_state.h"
#include "sim/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zoa;
    world.SptAttrStage = WorldMap::DefaultTileAttributes();
    ReadTileAttributeBytes(data, size, world.SptAttrStage);
    for (int32_t n = 0; n < kTileCount; ++n) world.tiles[n].attribute = world.SptAttrStage[n];
    game = GameState{};
    game.Map_w = kViewColumns;
    game.Map_h = kViewRows;
    for (int32_t n = 0; n < kViewColumns * kViewRows; ++n)
        world.At(n % kViewColumns, n / kViewColumns) = (n * 7) % kTileCount;
    for (int32_t y = 0; y < kViewRows * kTileSize; y += kTileSize)
        for (int32_t x = 0; x < kViewColumns * kTileSize; x += kTileSize) TileAttrAt(x, y);
    return 0;
}
