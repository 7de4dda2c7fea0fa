#include "sound/sound_calls.h"

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

}  // namespace zoa
