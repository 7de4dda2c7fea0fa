#include "sound/sound_calls.h"

namespace zoa {

namespace {
SoundSink* g_sink = nullptr;
}

void SetSoundSink(SoundSink* sink) { g_sink = sink; }

void PlaySound(int32_t index, int32_t loop) {
    if (g_sink) g_sink->Play(index, loop);
}

void StopSound(int32_t index) {
    if (g_sink) g_sink->Stop(index);
}

}  // namespace zoa
