#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "editor/stage_edits.h"

namespace zoa {

// What the editor checks of the stage being made, from the edited stage alone.

// The sky check's buffers, kept between calls: the status line asks on every
// move of the mouse.
struct SkySearch {
    std::vector<uint8_t> seen;
    std::vector<int32_t> todo;
};

// Above the map the hero is lost, so the jet pack must meet a roof wherever
// he can get to: true when the open cells reachable from his start (through
// any opening, not only straight up) include one in the map's top row.
bool OpenToTheSky(const EditedStage& s, const TileAttributes& attributes, SkySearch& search);

// The status line's warnings, each after " - ": no exit tile, a tile past the
// sheet, open to the sky, the hero inside a wall, a block one tile above a
// floor (which the hero walks through), a sprite outside the map.
std::string StageWarnings(const EditedStage& s, const TileAttributes& attributes,
                          SkySearch& search);

// What the editor's screen shows of the map, in world pixels: the screen's
// rectangle, of which the map fills only the top `mapHeight` rows (the status
// line covers the rest).
struct WorldView {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t mapHeight;
};

// Where the hero would stand for a trial play of what the view shows: on a
// solid tile the view shows with room for the whole hero above it, nearest
// the screen's centre. False when the view has no such place.
bool StandingPlaceInView(const EditedStage& s, const TileAttributes& attributes,
                         const SpriteRecord& hero, const WorldView& view, int32_t* x, int32_t* y);

}  // namespace zoa
