#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "editor/edit_history.h"
#include "sim/world_map.h"

namespace zoa {

// The edits a level maker makes to the stage, as functions of the edited
// stage alone: no window, no running game. Points are world pixels.

// The tile attributes the edits read (the running world's, world.tiles).
using TileAttributes = std::array<TileAttribute, kTileCount>;

// The attribute of a tile number; a number outside the table reads as empty.
int32_t AttributeOf(const TileAttributes& attributes, int32_t tile);
// The attribute of the tile under world point (x, y), as the game reads it:
// outside the map, empty.
int32_t AttributeAt(const EditedStage& s, const TileAttributes& attributes, int32_t x, int32_t y);

// The sprite drawn on top at (x, y), or -1.
int32_t SpriteAt(const EditedStage& s, int32_t x, int32_t y);

// The y at which a sprite of this size, with its left edge at x, stands on
// the first solid tile at or below world row y; where nothing below is
// solid, the top of the cell at y.
int32_t StandingY(const EditedStage& s, const TileAttributes& attributes, int32_t x, int32_t width,
                  int32_t height, int32_t y);

// The stage at a new size, kept or cut at the right and the bottom. `cuts` is
// set when that loses a tile other than 0 or a sprite, or moves the hero
// (who always stays, pulled back inside).
struct Resized {
    EditedStage stage;
    bool cuts = false;
};
Resized ResizeStage(const EditedStage& s, int32_t width, int32_t height);

enum class Placed { kPlaced, kStageFull, kUnknownType };
// A new sprite of `type` in the cell at (x, y): the flying enemies where
// clicked, the rest standing on the floor below. `id` follows it from now on.
Placed PlaceSprite(EditedStage& s, const TileAttributes& attributes, int32_t type, int32_t x,
                   int32_t y, int32_t id);
// The hero starts in the cell at (x, y), standing on the floor below.
void PlaceHero(EditedStage& s, const TileAttributes& attributes, int32_t x, int32_t y);
// Deletes sprite i; false for the hero, who always stays.
bool DeleteSprite(EditedStage& s, int32_t i);

// The settings, a step up or down: the level goes round 1..8, the frame
// interval stays in 1..1000 ms and the lives in 1..99.
void StepLevel(EditedStage& s, int32_t step);
void StepFrameInterval(EditedStage& s, int32_t step);
void StepLives(EditedStage& s, int32_t step);

// Every cell a stroke of the mouse from (x0, y0) to (x1, y1) crosses, inside
// the map: a fast drag reports points far apart and none between is skipped.
template <typename Paint>
void ForEachStrokeCell(const EditedStage& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                       Paint paint) {
    const int32_t steps = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1}) / 8 + 1;
    for (int32_t k = 1; k <= steps; ++k) {
        const int32_t c = (x0 + (x1 - x0) * k / steps) / kTileSize;
        const int32_t r = (y0 + (y1 - y0) * k / steps) / kTileSize;
        if (c < 0 || r < 0 || c >= s.Width() || r >= s.Height()) continue;
        paint(c, r);
    }
}

}  // namespace zoa
