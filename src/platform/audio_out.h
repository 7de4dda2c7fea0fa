#pragma once
#include <cstdint>
#include <memory>

namespace zoa::platform {

// Linear PCM as stored in sound files: 8-bit unsigned or 16-bit signed
// little-endian samples, channels interleaved.
struct PcmFormat {
    uint32_t rate = 0;  // samples per second
    uint16_t channels = 0;
    uint16_t bits = 0;
};

// What a sound output accepts: 8 or 16 bits, mono or stereo, 1000 to 192000 Hz.
bool IsPlayablePcm(const PcmFormat& format);
inline uint32_t FrameBytes(const PcmFormat& format) {
    return uint32_t{format.channels} * format.bits / 8;
}

// Widens `frames` sample frames of playable PCM to native 16-bit samples with
// `outChannels` channels (1 or 2, no fewer than the sound has): a mono sound
// plays on both sides of a stereo output. `out` holds frames x outChannels
// samples. No change of rate: that is a resampler's work.
void WidenPcm(const PcmFormat& format, const uint8_t* data, uint32_t frames, int outChannels,
              int16_t* out);

// The sound output. Sound effects live in voices: voice v holds one sound,
// converted once to the output's own format when it is loaded; playing a voice
// restarts it from its first sample, once or looping, mixed with the others.
// A second part plays one stream fed in buffers, whose played bytes serve as a
// clock (the logo's audio).
//
// Without a usable device the output is silent: voices load and "play" (every
// call succeeds) and no stream can be opened.
class AudioOut {
  public:
    static constexpr int32_t kVoices = 101;  // voice 0 is never used
    static constexpr uint32_t kStreamBufferBytes = 16384;
    static constexpr uint32_t kStreamBuffers = 16;

    virtual ~AudioOut() = default;

    virtual bool HasDevice() const = 0;

    // Converts `size` bytes of `format` samples into voice `voice`; the format
    // must satisfy IsPlayablePcm and the size hold at least one sample frame.
    virtual bool LoadVoice(int32_t voice, const PcmFormat& format, const uint8_t* data,
                           uint32_t size) = 0;
    virtual bool PlayVoice(int32_t voice, bool loop) = 0;
    virtual bool StopVoice(int32_t voice) = 0;
    virtual void FreeVoice(int32_t voice) = 0;
    // Holds every voice where it is, or lets them all go on.
    virtual void PauseVoices(bool paused) = 0;
    // Loudness of one voice in percent (100, the sound as recorded, at first).
    virtual void SetVoiceVolume(int32_t /*voice*/, int32_t /*percent*/) {}

    // Starts the stream. *format receives the format the data must be in
    // (16-bit, the device's rate and channels). False when there is no device.
    virtual bool OpenStream(PcmFormat* format) = 0;
    // Copies one buffer of at most kStreamBufferBytes behind those queued;
    // false when kStreamBuffers are queued already.
    virtual bool QueueStream(const uint8_t* data, uint32_t size) = 0;
    // Buffers queued since OpenStream that have been played to their end.
    virtual uint32_t StreamBuffersDone() = 0;
    // Bytes of the stream played since OpenStream.
    virtual uint64_t StreamBytesPlayed() = 0;
    virtual void CloseStream() = 0;
};

std::unique_ptr<AudioOut> CreateSilentAudioOut();

}  // namespace zoa::platform
