#pragma once
#include <cstdint>

namespace zoa {

// How game code starts and stops sounds by their index (1..19). Until a sound
// system is installed these do nothing and give 0. Results are 1 for success
// and 0 for failure; game code is free to ignore them.
struct SoundSink {
    virtual ~SoundSink() = default;
    virtual int32_t Play(int32_t index, int32_t loop) = 0;
    virtual int32_t Stop(int32_t index) = 0;
};

void SetSoundSink(SoundSink* sink);
SoundSink* CurrentSoundSink();
int32_t PlaySound(int32_t index, int32_t loop);
int32_t StopSound(int32_t index);

}  // namespace zoa
