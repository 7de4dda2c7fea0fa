// Pick-ups, pads, scenery and the sparkle. The contact pass gives the bonus or
// the pad's first push and marks the record used (life 0); here a used pick-up
// turns into a sparkle, a used pad launches the player while its press
// animation runs and re-arms at its last frame.
#include "sim/behaviours.h"
#include "sim/game_state.h"
#include "sim/probe_points.h"
#include "sim/shot_rules.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

constexpr int32_t kPadRest = 30;         // tick and frame of a ready pad: frame 0 next step
constexpr int32_t kLaunchTick = 30;      // keeps the player's jump count from moving on
constexpr int32_t kSparkleDriftTop = 5;  // the sparkle moves down by 5 - frame per update

bool IsPickUp(int32_t type) {
    return (type >= kLifePickUp && type <= kLifePickUpB) || type == kBigLifePickUp ||
           type == kExtraLifePickUp;
}
bool IsPad(int32_t type) {
    return type >= kSpringPad && type <= kLastJumpPad;
}

// A used pad: holds the player's jump at its start and sets the launch going
// while its press animation runs; at the last frame it is ready again.
void PressPad(SpriteRecord& pad) {
    if (AtLastFrameOfRow0(pad)) {
        pad.life = 1;
        return;
    }
    if (IsPoolSlot(game.PlayerIndex)) {
        SpriteRecord& player = pool[game.PlayerIndex];
        player.tick = kLaunchTick;
        player.frame = 0;
    }
    if (pad.type == kSpringPad) {
        game.SpringJumpOn = 1;
    } else {
        game.PadJumpOn = 1;
    }
    game.JumpOn = 0;
}

}  // namespace

void UpdateItem(int32_t index) {
    SpriteRecord& s = pool[index];
    if (s.life < 1) {
        if (IsPad(s.type)) {
            PressPad(s);
            return;
        }
        if (IsPickUp(s.type)) {
            SpawnSprite(index, kSparkle);
            RemoveSprite(index);
            PlaySound(game.SoundK, 0);
            // Whatever moved into this slot gets the rest of this step.
            if (index >= LiveSpriteCount()) return;
        }
    }
    SpriteRecord& now = pool[index];
    if (IsPad(now.type)) {
        now.tick = kPadRest;
        now.frame = kPadRest;
    } else if (now.type == kSparkle) {
        if (AtLastFrameOfRow0(now)) {
            RemoveSprite(index);
        } else {
            MoveBy(now.y, int64_t{kSparkleDriftTop} - now.frame);
        }
    }
}

}  // namespace zoa
