#include "sound/sound_system.h"

#include <cstdio>

#include "files/read_buffer.h"

namespace zoa {

SoundSystem* g_soundSystem = nullptr;

namespace {

constexpr uint16_t kPcmTag = 1;

// The output takes plain PCM whose block size matches its channels and bits.
bool PlayableFormat(const WaveFormat& f, platform::PcmFormat& out) {
    out = {f.samplesPerSec, f.channels, f.bitsPerSample};
    return f.formatTag == kPcmTag && platform::IsPlayablePcm(out) &&
           f.blockAlign == platform::FrameBytes(out);
}

}  // namespace

SoundSystem::SoundSystem(std::unique_ptr<platform::AudioOut> output) : device(std::move(output)) {}

SoundSystem::~SoundSystem() {
    if (device) {
        for (uint32_t i = 1; i <= soundCount; ++i) device->FreeVoice(static_cast<int32_t>(i));
        device.reset();
    }
    if (CurrentSoundSink() == this) SetSoundSink(nullptr);
    if (g_soundSystem == this) g_soundSystem = nullptr;
}

int32_t SoundSystem::AddSound(const WaveFile& file) {
    if (!device || soundCount == kMaxSounds) return 0;
    platform::PcmFormat format;
    if (!PlayableFormat(file.format, format) || file.dataSize < platform::FrameBytes(format))
        return 0;
    ++soundCount;
    formats[soundCount] = format;
    sizes[soundCount] = file.dataSize;
    return static_cast<int32_t>(soundCount);
}

int32_t SoundSystem::FillSound(const WaveFile& file, uint32_t index) {
    if (index == 0 || index > soundCount || !file.data) return 0;
    const uint32_t size = file.dataSize < sizes[index] ? file.dataSize : sizes[index];
    return device->LoadVoice(static_cast<int32_t>(index), formats[index], file.data, size) ? 1 : 0;
}

int32_t SoundSystem::Play(int32_t index, int32_t loop) {
    if (!soundOn || index < 1 || static_cast<uint32_t>(index) > soundCount) return 0;
    const int32_t looping = loop != 0 ? 1 : 0;
    log.Add({FrameNow(), SoundLog::kPlay, index, looping});
    return device->PlayVoice(index, looping != 0) ? 1 : 0;
}

int32_t SoundSystem::Stop(int32_t index) {
    if (index < 1 || static_cast<uint32_t>(index) > soundCount) return 0;
    log.Add({FrameNow(), SoundLog::kStop, index, 0});
    return device->StopVoice(index) ? 1 : 0;
}

void SoundSystem::FollowTrack(const std::array<int32_t, 4>& tracks, int32_t track) {
    if (!device) return;
    const auto valid = [&](int32_t index) {
        return index >= 1 && static_cast<uint32_t>(index) <= soundCount;
    };
    for (const int32_t t : tracks)
        if (valid(t)) device->StopVoice(t);
    if (soundOn && valid(track)) device->PlayVoice(track, true);
}

void SoundSystem::SetVolumes(int32_t music, int32_t effects, const std::array<int32_t, 4>& tracks) {
    if (!device) return;
    for (uint32_t i = 1; i <= soundCount; ++i) {
        const auto index = static_cast<int32_t>(i);
        const bool track =
            index == tracks[0] || index == tracks[1] || index == tracks[2] || index == tracks[3];
        device->SetVoiceVolume(index, track ? music : effects);
    }
}

void SoundSystem::Pause(bool paused) {
    if (device) device->PauseVoices(paused);
}

int32_t LoadSound(const std::string& path, files::ReadBuffer& buffer) {
    if (!g_soundSystem) return 0;
    WaveFile file(path, buffer);
    if (!file.loaded) {
        std::fprintf(stderr, "zoa_noli: %s\n", file.error.c_str());
        return 0;
    }
    const int32_t index = g_soundSystem->AddSound(file);
    if (index == 0) {
        const WaveFormat& f = file.format;
        std::fprintf(
            stderr,
            "zoa_noli: %s: cannot play this sound (format %u, %u channels, %u Hz, %u bits, "
            "%u bytes; the game plays 8- or 16-bit PCM, up to 100 sounds)\n",
            path.c_str(), unsigned{f.formatTag}, unsigned{f.channels}, unsigned{f.samplesPerSec},
            unsigned{f.bitsPerSample}, unsigned{file.dataSize});
        return 0;
    }
    if (!g_soundSystem->FillSound(file, static_cast<uint32_t>(index))) {
        std::fprintf(stderr, "zoa_noli: %s: the sound output refused its samples\n", path.c_str());
        return 0;
    }
    return index;
}

}  // namespace zoa
