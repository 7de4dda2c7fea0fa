#pragma once
#include <cstdint>

namespace zoa {

// The sprite step of a frame of play. For each live record, in pool order and
// with the count read afresh on every pass (so records added on the way are
// visited too and removals shorten the walk): the behaviour of its type, the
// item step for the type then in the slot, one animation step, and its
// DrawList entry. Then the DrawList is sorted by depth. RunFrame calls it once
// per frame unless the pause menu is open.
void UpdateSprites();

// Advances a record's animation by one update: the frame moves on when tick
// reaches frameDelay, and wraps to 0 past the last frame of the row.
void AnimateSprite(int32_t index);

// Sorts the first n DrawList entries by depth (a shell sort with gaps
// g = g / 3 + 1; entries of equal depth end in the order it leaves them) and
// sets PlayerIndex to the record of type 10000 it meets.
void SortDrawList(int32_t n);

}  // namespace zoa
