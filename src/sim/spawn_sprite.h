#pragma once
#include <cstdint>

namespace zoa {

// Makes a new sprite of `type` from its catalogue entry at the end of the pool
// (index Sprite_Getsu), raises the count and clears MouseLeftDown. Shots,
// effects and the sparkle are placed and faced from the record at `parent`;
// the other types go to the map cell under the mouse, and callers pass 0 as
// their parent. A new player (10000) becomes PlayerIndex. Nothing happens with
// a full pool, for a code outside the catalogue, or for a parent-relative type
// whose parent index is outside the pool.
void SpawnSprite(int32_t parent, int32_t type);

}  // namespace zoa
