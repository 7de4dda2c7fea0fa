// Reaching an exit tile: the next stage, with the running game's life, gauge
// and lives carried into it.
#include "sim/game_state.h"
#include "sim/player_rules.h"
#include "sim/sim_hooks.h"
#include "sim/sprite_pool.h"
#include "sound/sound_calls.h"

namespace zoa {

void RunStageExit(int32_t life, int32_t g0) {
    PlaySound(game.SoundJ, 0);
    const int32_t lives = game.Lives;
    MoveBy(game.Level, 1);
    // The load replaces the pool, the map and the stored game state.
    if (!simHooks.loadStage(game.Level)) {
        // That was the last stage.
        game.Level = 0;
        game.TitleActive = 1;
        return;
    }
    if (game.PlayerIndex < 0 || game.PlayerIndex >= LiveSpriteCount()) return;
    SpriteRecord& q = pool[game.PlayerIndex];
    game.RestartX = q.x;
    game.RestartY = q.y;
    q.life = life;
    q.gauge = g0;
    game.Lives = lives;
}

}  // namespace zoa
