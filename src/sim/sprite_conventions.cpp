#include "sim/sprite_conventions.h"

#include "gfx/display.h"
#include "sim/game_state.h"
#include "sim/world_map.h"

namespace zoa {

int32_t RowFrameCount(const SpriteRecord& sprite) {
    if (sprite.row >= 0 && sprite.row < kAnimationRows) return sprite.frames[sprite.row];
    if (sprite.row == kDefeatRow) return kDefeatRowFrames;
    return 0;
}

bool IsOffScreen(const SpriteRecord& s) {
    const int64_t x = s.x, y = s.y;
    return x + s.width < game.Scr.x || int64_t{game.Scr.x} + kScreenWidth < x ||
           y + s.height < game.Scr.y || int64_t{game.Scr.y} + kScreenHeight < y;
}

void RestartAnimation(SpriteRecord& sprite) {
    sprite.tick = kRestartTick;
    sprite.frame = kRestartFrame;
}

bool IsSolidAt(int32_t x, int32_t y) {
    return TileAttrAt(x, y) == kAttrSolid;
}

bool IsEmptyAt(int32_t x, int32_t y) {
    return TileAttrAt(x, y) == kAttrEmpty;
}

}  // namespace zoa
