#include "sim/sprite_pool.h"

#include <algorithm>

#include "sim/game_state.h"

namespace zoa {

int32_t LiveSpriteCount() {
    return std::clamp(game.Sprite_Getsu, 0, kPoolCapacity);
}

bool AddSpriteRecord(const SpriteRecord& record) {
    if (game.Sprite_Getsu > kPoolCapacity - 1 || game.Sprite_Getsu < 0) return false;
    pool[game.Sprite_Getsu] = record;
    game.Sprite_Getsu += 1;
    game.MouseLeftDown = 0;
    return true;
}

void RemoveSprite(int32_t index) {
    const int32_t count = LiveSpriteCount();
    if (index < 0 || index >= count) return;
    std::copy(pool.records.begin() + index + 1, pool.records.begin() + count,
              pool.records.begin() + index);
    game.Sprite_Getsu = count - 1;
}

}  // namespace zoa
