#include "sim/behaviours.h"
#include "sim/probe_points.h"
#include "sim/shot_rules.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"

namespace zoa {

bool AtLastFrameOfRow0(const SpriteRecord& s) {
    return int64_t{s.frame} == int64_t{s.frames[0]} - 1;
}

bool FlyAcross(SpriteRecord& s, int64_t distance) {
    if (s.dir == kFacingLeft) {
        MoveBy(s.x, -distance);
        return true;
    }
    if (s.dir == kFacingRight) {
        MoveBy(s.x, distance);
        return true;
    }
    return false;
}

void ReplaceBy(int32_t index, int32_t type) {
    SpawnSprite(index, type);
    RemoveSprite(index);
}

void UpdateShot(int32_t index) {
    switch (pool[index].type) {
        case kPlayerShot:
            UpdatePlayerShot(index);
            break;
        case kSpark:
            UpdateSpark(index);
            break;
        case kBurst:
            UpdateBurst(index);
            break;
        case kWalkerShot:
        case kWalkerShotB:
            UpdateThrownShot(index);
            break;
        case kBombShot:
            UpdateBombShot(index);
            break;
        case kBombBurst:
            UpdateBombBurst(index);
            break;
        case kFlame:
            UpdateFlame(index);
            break;
        default:
            break;
    }
}

}  // namespace zoa
