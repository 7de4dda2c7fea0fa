#include "platform/audio_out.h"

namespace zoa::platform {

namespace {

// Takes every sound and plays none; used when there is no device, when sound
// was switched off from the command line, and in headless runs.
class SilentAudioOut : public AudioOut {
  public:
    bool HasDevice() const override { return false; }
    bool LoadVoice(int32_t voice, const PcmFormat& format, const uint8_t*, uint32_t size) override {
        return voice > 0 && voice < kVoices && IsPlayablePcm(format) && size >= FrameBytes(format);
    }
    bool PlayVoice(int32_t, bool) override { return true; }
    bool StopVoice(int32_t) override { return true; }
    void FreeVoice(int32_t) override {}
    void PauseVoices(bool) override {}
    bool OpenStream(PcmFormat*) override { return false; }
    bool QueueStream(const uint8_t*, uint32_t) override { return false; }
    uint32_t StreamBuffersDone() override { return 0; }
    uint64_t StreamBytesPlayed() override { return 0; }
    void CloseStream() override {}
};

}  // namespace

std::unique_ptr<AudioOut> CreateSilentAudioOut() {
    return std::make_unique<SilentAudioOut>();
}

}  // namespace zoa::platform
