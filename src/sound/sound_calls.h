#pragma once
#include <cstdint>

namespace zoa {

// How game code starts and stops sounds by their index (1..19). Until a sound
// system is installed these do nothing.
struct SoundSink {
    virtual ~SoundSink() = default;
    virtual void Play(int32_t index, int32_t loop) = 0;
    virtual void Stop(int32_t index) = 0;
};

void SetSoundSink(SoundSink* sink);
void PlaySound(int32_t index, int32_t loop);
void StopSound(int32_t index);

}  // namespace zoa
