#include "platform/sdl/sdl_audio_out.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>
#include <vector>

#include "files/memory_arena.h"

namespace zoa::platform {

namespace {

// The mixer runs at the rate the game's sounds are made at, so loading them
// costs no resampling (SDL converts the mix for the device as it plays).
constexpr int kMixRate = 22050;
constexpr int kMixChannels = 2;
constexpr int kMixChunkFrames = 512;
// Address space for the voices' samples; what does not fit comes from the heap.
constexpr size_t kVoiceMemoryBytes = size_t{256} << 20;

class SdlAudioOut : public AudioOut {
  public:
    bool Open(std::string* error);
    ~SdlAudioOut() override;

    bool HasDevice() const override { return true; }
    bool LoadVoice(int32_t voice, const PcmFormat& format, const uint8_t* data,
                   uint32_t size) override;
    bool PlayVoice(int32_t voice, bool loop) override;
    bool StopVoice(int32_t voice) override;
    void FreeVoice(int32_t voice) override;
    void PauseVoices(bool paused) override;
    void SetVoiceVolume(int32_t voice, int32_t percent) override;

    bool OpenStream(PcmFormat* format) override;
    bool QueueStream(const uint8_t* data, uint32_t size) override;
    uint32_t StreamBuffersDone() override { return streamDone_.load(); }
    uint64_t StreamBytesPlayed() override { return streamPlayed_.load(); }
    void CloseStream() override;

  private:
    struct Voice {
        Mix_Chunk* chunk = nullptr;
        // Owned when not in voiceMemory_: the chunk only points at it.
        Uint8* heapSamples = nullptr;
    };
    static bool ValidVoice(int32_t voice) { return voice > 0 && voice < kVoices; }
    static void MixStream(void* self, Uint8* out, int len);
    void MixStream(Uint8* out, int len);

    Uint8* Converted(const PcmFormat& format, const uint8_t* data, uint32_t frames, uint32_t* size,
                     Uint8** heapSamples);

    bool mixerOpen_ = false;
    files::MemoryArena voiceMemory_{kVoiceMemoryBytes};
    int rate_ = 0;
    Uint16 format_ = 0;
    int channels_ = 0;
    std::array<Voice, kVoices> voices_{};

    // The stream: a ring of buffers written here and drained by the mixer's
    // thread, which takes the lock for the copy only.
    std::mutex streamLock_;
    bool streamOpen_ = false;
    std::vector<uint8_t> streamData_;  // kStreamBuffers x kStreamBufferBytes
    std::array<uint32_t, kStreamBuffers> streamSizes_{};
    uint32_t streamHead_ = 0;  // the buffer playing
    uint32_t streamQueued_ = 0;
    uint32_t streamOffset_ = 0;  // bytes of the head buffer already played
    std::atomic<uint32_t> streamDone_{0};
    std::atomic<uint64_t> streamPlayed_{0};
};

bool SdlAudioOut::Open(std::string* error) {
    // The mix keeps this format whatever the device takes; SDL converts for it.
    if (Mix_OpenAudioDevice(kMixRate, AUDIO_S16SYS, kMixChannels, kMixChunkFrames, nullptr, 0) !=
        0) {
        *error = Mix_GetError();
        return false;
    }
    mixerOpen_ = true;
    if (Mix_QuerySpec(&rate_, &format_, &channels_) == 0 || format_ != AUDIO_S16SYS ||
        channels_ < 1 || channels_ > 2) {
        *error = "the device offers no 16-bit mono or stereo output";
        return false;
    }
    if (Mix_AllocateChannels(kVoices) < kVoices) {
        *error = "the mixer cannot hold enough channels";
        return false;
    }
    streamData_.resize(size_t{kStreamBuffers} * kStreamBufferBytes);
    return true;
}

SdlAudioOut::~SdlAudioOut() {
    if (mixerOpen_) {
        CloseStream();
        Mix_HaltChannel(-1);
        for (int32_t v = 1; v < kVoices; ++v) FreeVoice(v);
        Mix_CloseAudio();
    }
}

// The samples in the mixer's format. Sounds at the mixer's rate are only
// widened; others go through SDL's converter. Null when the
// samples cannot be converted.
Uint8* SdlAudioOut::Converted(const PcmFormat& format, const uint8_t* data, uint32_t frames,
                              uint32_t* size, Uint8** heapSamples) {
    *heapSamples = nullptr;
    if (static_cast<int>(format.rate) == rate_ && format.channels <= channels_) {
        const size_t bytes = size_t{frames} * static_cast<size_t>(channels_) * sizeof(Sint16);
        if (bytes > INT_MAX) return nullptr;
        Uint8* out = voiceMemory_.Allocate(bytes);
        if (!out) out = *heapSamples = static_cast<Uint8*>(SDL_malloc(bytes));
        if (!out) return nullptr;
        WidenPcm(format, data, frames, channels_, reinterpret_cast<int16_t*>(out));
        *size = static_cast<uint32_t>(bytes);
        return out;
    }
    SDL_AudioCVT cvt;
    const SDL_AudioFormat from = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(format.channels),
                          static_cast<int>(format.rate), format_, static_cast<Uint8>(channels_),
                          rate_) < 0) {
        return nullptr;
    }
    const uint64_t length = uint64_t{frames} * FrameBytes(format);
    if (length * static_cast<uint64_t>(cvt.len_mult) > INT_MAX) return nullptr;
    cvt.len = static_cast<int>(length);
    cvt.buf = static_cast<Uint8*>(SDL_malloc(length * static_cast<size_t>(cvt.len_mult)));
    if (!cvt.buf) return nullptr;
    std::memcpy(cvt.buf, data, length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        SDL_free(cvt.buf);
        return nullptr;
    }
    *size = cvt.needed ? static_cast<uint32_t>(cvt.len_cvt) : static_cast<uint32_t>(length);
    *heapSamples = cvt.buf;
    return cvt.buf;
}

bool SdlAudioOut::LoadVoice(int32_t voice, const PcmFormat& format, const uint8_t* data,
                            uint32_t size) {
    if (!ValidVoice(voice) || !IsPlayablePcm(format) || size < FrameBytes(format)) return false;
    FreeVoice(voice);
    // Whole sample frames only; a stray byte at the end is not a sample.
    const uint32_t frames = size / FrameBytes(format);
    uint32_t converted = 0;
    Uint8* heapSamples = nullptr;
    Uint8* samples = Converted(format, data, frames, &converted, &heapSamples);
    if (!samples) return false;
    Mix_Chunk* chunk = converted > 0 ? Mix_QuickLoad_RAW(samples, converted) : nullptr;
    if (!chunk) {
        SDL_free(heapSamples);
        return false;
    }
    voices_[voice] = {chunk, heapSamples};
    return true;
}

bool SdlAudioOut::PlayVoice(int32_t voice, bool loop) {
    if (!ValidVoice(voice) || !voices_[voice].chunk) return false;
    // Playing on a channel that is busy cuts it and starts again at the first sample.
    return Mix_PlayChannel(voice, voices_[voice].chunk, loop ? -1 : 0) >= 0;
}

bool SdlAudioOut::StopVoice(int32_t voice) {
    if (!ValidVoice(voice)) return false;
    Mix_HaltChannel(voice);
    return true;
}

void SdlAudioOut::FreeVoice(int32_t voice) {
    if (!ValidVoice(voice) || !voices_[voice].chunk) return;
    Mix_HaltChannel(voice);
    Mix_FreeChunk(voices_[voice].chunk);
    SDL_free(voices_[voice].heapSamples);
    voices_[voice] = {};
}

void SdlAudioOut::PauseVoices(bool paused) {
    if (paused) {
        Mix_Pause(-1);
    } else {
        Mix_Resume(-1);
    }
}

void SdlAudioOut::SetVoiceVolume(int32_t voice, int32_t percent) {
    if (!ValidVoice(voice)) return;
    Mix_Volume(voice, std::clamp(percent, 0, 100) * MIX_MAX_VOLUME / 100);
}

bool SdlAudioOut::OpenStream(PcmFormat* format) {
    CloseStream();
    {
        std::lock_guard<std::mutex> hold(streamLock_);
        streamHead_ = streamQueued_ = streamOffset_ = 0;
        streamDone_ = 0;
        streamPlayed_ = 0;
        streamOpen_ = true;
    }
    Mix_HookMusic(&SdlAudioOut::MixStream, this);
    *format = {static_cast<uint32_t>(rate_), static_cast<uint16_t>(channels_), 16};
    return true;
}

bool SdlAudioOut::QueueStream(const uint8_t* data, uint32_t size) {
    if (size > kStreamBufferBytes) return false;
    std::lock_guard<std::mutex> hold(streamLock_);
    if (!streamOpen_ || streamQueued_ == kStreamBuffers) return false;
    const uint32_t slot = (streamHead_ + streamQueued_) % kStreamBuffers;
    std::memcpy(&streamData_[size_t{slot} * kStreamBufferBytes], data, size);
    streamSizes_[slot] = size;
    ++streamQueued_;
    return true;
}

void SdlAudioOut::MixStream(void* self, Uint8* out, int len) {
    static_cast<SdlAudioOut*>(self)->MixStream(out, len);
}

// Runs on the mixer's thread. The mixer has filled `out` with silence and adds
// the voices on top of what is written here.
void SdlAudioOut::MixStream(Uint8* out, int len) {
    std::lock_guard<std::mutex> hold(streamLock_);
    uint32_t left = len > 0 ? static_cast<uint32_t>(len) : 0;
    while (left > 0 && streamQueued_ > 0) {
        const uint32_t size = streamSizes_[streamHead_];
        const uint32_t n = std::min(left, size - streamOffset_);
        std::memcpy(out, &streamData_[size_t{streamHead_} * kStreamBufferBytes + streamOffset_], n);
        out += n;
        left -= n;
        streamOffset_ += n;
        streamPlayed_ += n;
        if (streamOffset_ == size) {
            streamHead_ = (streamHead_ + 1) % kStreamBuffers;
            --streamQueued_;
            streamOffset_ = 0;
            ++streamDone_;
        }
    }
}

void SdlAudioOut::CloseStream() {
    if (!streamOpen_) return;
    // Unhooking waits for the mixer's thread to leave MixStream.
    Mix_HookMusic(nullptr, nullptr);
    std::lock_guard<std::mutex> hold(streamLock_);
    streamOpen_ = false;
    streamQueued_ = 0;
}

}  // namespace

std::unique_ptr<AudioOut> OpenSdlAudioOut(std::string* error) {
    auto out = std::make_unique<SdlAudioOut>();
    if (!out->Open(error)) return nullptr;
    return out;
}

}  // namespace zoa::platform
