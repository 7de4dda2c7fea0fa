// The game's nineteen sounds, loaded into the sound system in a fixed order;
// the game state keeps each one's index.
#include "play/load_sounds.h"

#include <array>
#include <iterator>

#include "files/read_buffer.h"
#include "platform/data_path.h"
#include "platform/platform.h"
#include "sim/game_state.h"
#include "sound/sound_system.h"

namespace zoa {

namespace {

struct SoundFile {
    const char* path;
    int32_t GameState::*global;
};

// Load order fixes the indices: A..O are 1..15, the level tracks 1..4 are 16..19.
constexpr SoundFile kSoundTable[] = {
    {"data\\sound\\A.WAV", &GameState::SoundA}, {"data\\sound\\B.WAV", &GameState::SoundB},
    {"data\\sound\\C.WAV", &GameState::SoundC}, {"data\\sound\\D.WAV", &GameState::SoundD},
    {"data\\sound\\E.WAV", &GameState::SoundE}, {"data\\sound\\F.WAV", &GameState::SoundF},
    {"data\\sound\\G.WAV", &GameState::SoundG}, {"data\\sound\\H.WAV", &GameState::SoundH},
    {"data\\sound\\I.WAV", &GameState::SoundI}, {"data\\sound\\J.WAV", &GameState::SoundJ},
    {"data\\sound\\K.WAV", &GameState::SoundK}, {"data\\sound\\L.WAV", &GameState::SoundL},
    {"data\\sound\\M.WAV", &GameState::SoundM}, {"data\\sound\\N.WAV", &GameState::SoundN},
    {"data\\sound\\O.WAV", &GameState::SoundO}, {"data\\sound\\1.WAV", &GameState::Sound1},
    {"data\\sound\\2.WAV", &GameState::Sound2}, {"data\\sound\\3.WAV", &GameState::Sound3},
    {"data\\sound\\4.WAV", &GameState::Sound4},
};

std::unique_ptr<platform::AudioOut> OpenSoundOutput() {
    if (platform::Platform* p = platform::Current()) return p->OpenAudio();
    return platform::CreateSilentAudioOut();
}

}  // namespace

int32_t LoadSounds(std::unique_ptr<SoundSystem>& owner) {
    owner.reset();
    owner = std::make_unique<SoundSystem>(OpenSoundOutput());
    g_soundSystem = owner.get();
    g_soundSystem->frameClock = &game.FrameCounter;
    SetSoundSink(g_soundSystem);
    if (!g_soundSystem->IsReady()) {
        g_soundSystem->soundOn = 0;
        return 0;
    }
    files::ReadBuffer buffer;
    for (const SoundFile& sound : kSoundTable) {
        const int32_t index = LoadSound(DataPath(sound.path), buffer);
        game.*sound.global = index;
        if (index == 0) return 0;
    }
    if (platform::Platform* p = platform::Current()) {
        const platform::Settings& s = p->settingsFile().settings;
        g_soundSystem->SetVolumes(s.musicVolume, s.effectsVolume,
                                  {game.Sound1, game.Sound2, game.Sound3, game.Sound4});
    }
    return 1;
}

int32_t SoundFileCount() {
    return static_cast<int32_t>(std::size(kSoundTable));
}

const char* SoundFilePath(int32_t i) {
    return i >= 0 && i < SoundFileCount() ? kSoundTable[i].path : nullptr;
}

}  // namespace zoa
