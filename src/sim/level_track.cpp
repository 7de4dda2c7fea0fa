#include "sim/level_track.h"

#include "sim/game_state.h"
#include "sound/sound_calls.h"

namespace zoa {

int32_t LevelTrack(int32_t level) {
    const uint32_t stage = static_cast<uint32_t>(level);
    if (stage <= 2) return game.Sound1;
    if (stage <= 4) return game.Sound2;
    if (stage <= 6) return game.Sound3;
    return game.Sound4;
}

void StopLevelTracks() {
    StopSound(game.Sound1);
    StopSound(game.Sound2);
    StopSound(game.Sound3);
    StopSound(game.Sound4);
}

}  // namespace zoa
