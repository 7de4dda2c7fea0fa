#pragma once
// What the bot reads of the game as it stands: where the hero is, whether it
// stands, what is below it, and how much life the enemies have left.
#include <cstdint>

#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sim/world_map.h"

namespace zoa::bot {

inline SpriteRecord& Hero() {
    return pool[game.PlayerIndex];
}
inline int32_t HeroCentre() {
    return Hero().x + Hero().width / 2;
}
inline int32_t HeroFeet() {
    return Hero().y + Hero().height;
}
inline bool HeroStands() {
    return TileAttrAt(HeroCentre(), HeroFeet()) == kAttrSolid;
}

// The sum of every live enemy's life: less is better for the hero.
inline int64_t EnemyLife() {
    int64_t sum = 0;
    for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
        const SpriteRecord& s = pool[i];
        if (IsEnemyType(s.type) && s.life > 0) sum += s.life;
    }
    return sum;
}

// Nothing solid under column x from the hero's feet all the way down: a fall
// there leaves the map.
inline bool AbyssBelow(int32_t x) {
    for (int32_t y = HeroFeet() - 2; y < game.Map_h * kTileSize; y += kTileSize / 2) {
        if (TileAttrAt(x, y) == kAttrSolid) return false;
    }
    return true;
}

inline bool OverTheAbyss() {
    return AbyssBelow(HeroCentre());
}

}  // namespace zoa::bot
