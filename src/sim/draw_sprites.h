#pragma once
#include <cstdint>

#include "gfx/geometry.h"
#include "sim/sprite_record.h"

namespace zoa {

// Draws every live sprite in DrawList order, clipped to the screen, and
// applies the contact rules as it meets each one: the player takes pick-ups
// and touches pads, the charge hurts enemies, the player's shots hit enemies
// on screen, enemy shots and the crawler hurt the player, and the player's
// life and gauge are kept at or below 500. Contact only marks records (life,
// gauge, step, Lives) and plays sounds; the behaviours act on the marks at
// their next update. Nothing is touched while the player's life, read once
// before the pass, is below 1. RunFrame calls it once per frame of play,
// paused or not, unless the tile sheet is shown instead of the map.
void DrawSprites();

// Where a sprite's current frame lies on its sheet and where it goes on the
// screen, cut to the screen's edges. A sprite wholly off screen gives an empty
// or inverted rectangle, which draws nothing. False when the numbers leave
// the 32-bit range (a damaged record); nothing is drawn then either.
bool SpriteBlit(const SpriteRecord& sprite, Point& at, Rect& source);

// Enemies on screen that the player's shots are tested against in one pass:
// at most 99; later ones are written into the last slot without being counted.
constexpr int32_t kOnScreenEnemySlots = 100;
constexpr int32_t kOnScreenEnemyLimit = 99;

}  // namespace zoa
