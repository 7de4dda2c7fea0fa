// The defeated player: thrown up and down off the screen on a fixed curve,
// swaying, with the camera following it down; once out of view a life is lost
// and the player comes back at the stage's restart point, or the game is over.
#include "sim/game_state.h"
#include "sim/player_rules.h"
#include "sim/sim_hooks.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_conventions.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

// Height above the fall's origin at defeat time t: (16 t^2 - 4000 t) / 400,
// truncated toward zero. Worked out as (t^2 - 250 t) / 25, the same quotient,
// which fits 64 bits for every 32-bit t.
int64_t DefeatArc(int32_t t) {
    const int64_t tt = t;
    return (tt * tt - 250 * tt) / 25;
}

// The record is gone: a life less, then a new player at the restart point, or
// the title. Either way one whole frame is shown (in the dark) at once.
void LoseLife(int32_t i, int32_t g0) {
    RemoveSprite(i);
    simHooks.fadeOut();
    MoveBy(game.Lives, -1);
    if (game.Lives < 1) {
        game.TitleActive = 1;
        game.Level = 1;
        simHooks.runFrame();
        return;
    }
    const int32_t before = game.Sprite_Getsu;
    SpawnSprite(0, kPlayer);
    if (game.Sprite_Getsu == before + 1) {
        SpriteRecord& q = pool[game.PlayerIndex];
        q.x = game.RestartX;
        q.y = game.RestartY;
        if (g0 > kKeptGaugeAbove) q.gauge = g0;
        CenterCameraOn(q.x, q.y, q.width);
    }
    simHooks.runFrame();
}

}  // namespace

void RunPlayerDefeat(int32_t i, int32_t g0) {
    SpriteRecord& p = pool[i];
    p.life = 0;
    p.row = kDefeatRow;
    int32_t& t = p.frames[kDefeatClockWord];
    if (t == kDefeatClockStart) {
        RestartAnimation(p);
        p.frames[kFallOriginWord] = p.y;
        PlaySound(game.SoundF, 0);
    }
    MoveBy(p.x, t % kDefeatSwayPeriod < kDefeatSwayRightPart ? kDefeatSway : -kDefeatSway);
    MoveBy(t, 1);
    if (t < kDefeatClockLimit) p.y = WrapAdd(p.frames[kFallOriginWord], DefeatArc(t));
    CenterCameraVerticallyOn(p.y);
    if (!IsOffScreen(p)) return;
    LoseLife(i, g0);
}

}  // namespace zoa
