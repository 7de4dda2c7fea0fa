#include "sound/sound_calls.h"

#include "world/game_state.h"

namespace zoa {

namespace {
SoundSink* g_sink = nullptr;
}

void SetSoundSink(SoundSink* sink) {
    g_sink = sink;
}
SoundSink* CurrentSoundSink() {
    return g_sink;
}

int32_t PlaySound(int32_t index, int32_t loop) {
    return g_sink ? g_sink->Play(index, loop) : 0;
}

int32_t StopSound(int32_t index) {
    return g_sink ? g_sink->Stop(index) : 0;
}

int32_t LevelTrack() {
    const auto level = static_cast<uint32_t>(game.Level);
    if (level <= 2) return game.Sound1;
    if (level <= 4) return game.Sound2;
    if (level <= 6) return game.Sound3;
    return game.Sound4;
}

void StopLevelTracks() {
    StopSound(game.Sound1);
    StopSound(game.Sound2);
    StopSound(game.Sound3);
    StopSound(game.Sound4);
}

}  // namespace zoa
