#pragma once
#include <cstdint>
#include <string>

#include "play/stage_file.h"

namespace zoa::stagec {

struct OverviewOptions {
    std::string dataRoot = ".";  // the folder that holds data/ (sheets, palette, Spt.T)
    int32_t shrink = 1;          // keep every shrink-th pixel in both directions
    int32_t firstColumn = 0;     // the tile columns shown: firstColumn .. + columns - 1
    int32_t columns = 0;         // 0: to the right end of the map
};

// Draws a whole stage into one PNG the way the game draws it: the tiles of the
// tile map and every sprite of the stage file (frame 0 of row 0, from sheetA
// or sheetB by its facing, in draw-depth order) from the real sheets, over
// black. The picture is composed view by view with the game's own tile map
// drawing and blits. False (with the reason in *error) when the data or the
// output cannot be used.
bool RenderStageOverview(const StageFile& stage, const TileMapFile& map,
                         const OverviewOptions& options, const std::string& pngPath,
                         std::string* error);

}  // namespace zoa::stagec
