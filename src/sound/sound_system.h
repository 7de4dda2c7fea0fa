#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio_out.h"
#include "sound/sound_calls.h"
#include "sound/sound_log.h"
#include "sound/wave_file.h"

namespace zoa {

// All the game's sound: up to 100 sounds loaded whole at start-up, each played
// by its index, once or looping. Playing a sound that is already playing starts
// it again from its beginning; different sounds mix. soundOn gates new plays
// only: turning it off stops nothing by itself. Results are 1 or 0.
class SoundSystem : public SoundSink {
  public:
    static constexpr uint32_t kMaxSounds = 100;

    explicit SoundSystem(std::unique_ptr<platform::AudioOut> output);
    ~SoundSystem() override;
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    int32_t IsReady() const { return device ? 1 : 0; }
    // Makes room for `file` as the next sound; its index, or 0 when 100 sounds
    // exist already or the output cannot play the file's format.
    int32_t AddSound(const WaveFile& file);
    // Puts the file's samples into sound `index`.
    int32_t FillSound(const WaveFile& file, uint32_t index);
    int32_t Play(int32_t index, int32_t loop) override;
    int32_t Stop(int32_t index) override;
    // Makes `track` the one looped level track playing, from its beginning,
    // the other `tracks` stopped, as a stage start does, but at the output
    // only: nothing goes into the log. Play was put back to a moment whose own
    // start of that track the log already holds, and a replay of the run
    // starts it only there. Nothing starts while sound is off.
    void FollowTrack(const std::array<int32_t, 4>& tracks, int32_t track);
    // Holds every sound while the game is in the background.
    void Pause(bool paused);
    // Loudness in percent of the looped level tracks (the sounds `tracks`)
    // and of every other sound. Playing itself is untouched: the same sounds
    // start and stop.
    void SetVolumes(int32_t music, int32_t effects, const std::array<int32_t, 4>& tracks);

    std::unique_ptr<platform::AudioOut> device;
    uint32_t soundCount = 0;
    std::array<platform::PcmFormat, kMaxSounds + 1> formats{};  // entry 0 unused
    std::array<uint32_t, kMaxSounds + 1> sizes{};               // entry 0 unused
    int32_t soundOn = 0;
    SoundLog log;
    // The frame counter each log entry is stamped with (none: frame 0).
    const uint32_t* frameClock = nullptr;

  private:
    uint32_t FrameNow() const { return frameClock ? *frameClock : 0; }
};

// The sound system that plays, owned by the run (null when there is none);
// it stops being this one when it is destroyed.
extern SoundSystem* g_soundSystem;

// Loads one sound file as the next sound, reading it into `buffer`; its
// index, or 0 (reason on stderr).
int32_t LoadSound(const std::string& path, files::ReadBuffer& buffer);

}  // namespace zoa
