#pragma once
#include <memory>
#include <string>

#include "platform/audio_out.h"

namespace zoa::platform {

// The sound device through SDL_mixer: one mixer channel per voice, the stream
// on the mixer's music hook. Null, with the reason in *error, when no device
// can be opened. The SDL audio system must be started.
std::unique_ptr<AudioOut> OpenSdlAudioOut(std::string* error);

}  // namespace zoa::platform
