#include "sim/update_sprites.h"

#include "sim/behaviours.h"
#include "sim/game_state.h"
#include "sim/sprite_conventions.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sim/wrap32.h"

namespace zoa {

void AnimateSprite(int32_t index) {
    SpriteRecord& s = pool[index];
    MoveBy(s.tick, 1);
    if (s.tick >= s.frameDelay) {
        s.tick = 0;
        MoveBy(s.frame, 1);
    }
    if (s.frame >= RowFrameCount(s)) {
        s.tick = 0;
        s.frame = 0;
    }
}

void UpdateSprites() {
    for (int32_t i = 0; i < LiveSpriteCount(); ++i) {
        if (const Behaviour behaviour = BehaviourOf(pool[i].type)) behaviour(i);
        // The behaviour may have removed record i (the next one moved into its
        // slot), replaced the whole pool, or run a whole frame: whatever slot i
        // holds now gets the rest of the pass, if it is still a live record.
        if (i >= LiveSpriteCount()) break;
        if (IsItemType(pool[i].type) && behaviours.item) behaviours.item(i);
        if (i >= LiveSpriteCount()) break;
        AnimateSprite(i);
        pool.DrawList[static_cast<size_t>(i)] = {pool[i].depth, i};
    }
    SortDrawList(game.Sprite_Getsu);
}

void SortDrawList(int32_t n) {
    auto& list = pool.DrawList;
    auto at = [&list](int32_t i) -> DrawEntry& { return list[static_cast<size_t>(i)]; };
    int32_t gap = n;
    do {
        gap = gap / 3 + 1;
        for (int32_t start = 0; start < gap; ++start) {
            for (int32_t b = start; b < LiveSpriteCount(); b += gap) {
                const DrawEntry entry = at(b);
                int32_t j = b - gap;
                while (j >= 0 && at(j).depth > entry.depth) {
                    at(j + gap) = at(j);
                    j -= gap;
                }
                at(j + gap) = entry;
                if (IsPoolSlot(entry.index) && pool[entry.index].type == kPlayer) {
                    game.PlayerIndex = entry.index;
                }
            }
        }
    } while (gap > 1);
}

}  // namespace zoa
