#pragma once
// The tests' one fake sound output: it has a device, plays nothing, and
// remembers what the game asked of it.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/audio_out.h"
#include "platform/headless/headless_platform.h"

namespace zoa::test {

struct AudioCalls {
    std::vector<std::string> pauses;  // "pause" or "resume", in order
    int loaded = 0;
    int freed = 0;
    int played = 0;
    std::map<int32_t, int32_t> volumes;  // voice -> percent
    std::set<int32_t> looping;           // the voices playing in a loop now
};

class FakeAudioOut : public platform::AudioOut {
  public:
    explicit FakeAudioOut(AudioCalls* calls) : calls_(calls) {}
    bool HasDevice() const override { return true; }
    bool LoadVoice(int32_t, const platform::PcmFormat&, const uint8_t*, uint32_t) override {
        ++calls_->loaded;
        return true;
    }
    bool PlayVoice(int32_t voice, bool loop) override {
        ++calls_->played;
        if (loop)
            calls_->looping.insert(voice);
        else
            calls_->looping.erase(voice);
        return true;
    }
    bool StopVoice(int32_t voice) override {
        calls_->looping.erase(voice);
        return true;
    }
    void FreeVoice(int32_t) override { ++calls_->freed; }
    void PauseVoices(bool paused) override {
        calls_->pauses.push_back(paused ? "pause" : "resume");
    }
    void SetVoiceVolume(int32_t voice, int32_t percent) override {
        calls_->volumes[voice] = percent;
    }
    bool OpenStream(platform::PcmFormat*) override { return false; }
    bool QueueStream(const uint8_t*, uint32_t) override { return false; }
    uint32_t StreamBuffersDone() override { return 0; }
    uint64_t StreamBytesPlayed() override { return 0; }
    void CloseStream() override {}

  private:
    AudioCalls* calls_;
};

// A headless platform whose sound output is a FakeAudioOut.
class FakeAudioPlatform : public platform::HeadlessPlatform {
  public:
    explicit FakeAudioPlatform(AudioCalls* calls) : calls_(calls) {}

  protected:
    std::unique_ptr<platform::AudioOut> OpenAudioDevice(std::string*) override {
        return std::make_unique<FakeAudioOut>(calls_);
    }

  private:
    AudioCalls* calls_;
};

}  // namespace zoa::test
