#pragma once
// Shared by the input, menu, demo and recorded-run tests: small stages with a
// player, demo input files, and the whole game run in-process on the headless
// platform with scheduled messages.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "fake_audio_out.h"
#include "platform/headless/headless_platform.h"
#include "platform/message.h"
#include "play/stage_file.h"
#include "sim/demo_input.h"
#include "test_support.h"

namespace zoa::test {

// A 40 x 15 stage of the given level and frame interval with a floor along
// the bottom row, the player at (playerX, 384) as record 1 of three, and
// two scenery records around it.
StageFile PlayerStage(int32_t level, uint32_t timeChai, int32_t playerX);
TileMapFile FloorMap();

// Write under root/data/map: stage<index>.map (demo.map for 0) with its
// tile map <index>.m, and DEMO.AV.
void WriteStageFiles(const std::string& root, int32_t index, const StageFile& stage,
                     const TileMapFile& map = FloorMap());
void WriteDemoInput(const std::string& root, const DemoInput& demo);

InputRecord Press(uint32_t frame, uint32_t vk);
InputRecord Release(uint32_t frame, uint32_t vk);

// A headless platform that reports every picture it is shown (with the
// practice overlay too, as true colour), and with
// `audio` set has a FakeAudioOut that tells it what was played.
class ObservedPlatform : public platform::HeadlessPlatform {
  public:
    std::function<void()> onPresent;
    AudioCalls* audio = nullptr;

  protected:
    void ShowPicture(const uint8_t* pixels, const Palette& palette) override;
    void ShowTrueColor(const uint32_t* pixels) override {
        HeadlessPlatform::ShowTrueColor(pixels);
        if (onPresent) onPresent();
    }
    std::unique_ptr<platform::AudioOut> OpenAudioDevice(std::string* why) override {
        if (audio) return std::make_unique<FakeAudioOut>(audio);
        return HeadlessPlatform::OpenAudioDevice(why);
    }
};

// The game, run in-process on the fixture data in a temporary folder.
struct GameRun {
    GameRun();
    void At(uint32_t ms, platform::MessageId id, uint32_t wParam = 0);
    void Press(uint32_t ms, uint32_t vk) { At(ms, platform::MessageId::KeyDown, vk); }
    void Release(uint32_t ms, uint32_t vk) { At(ms, platform::MessageId::KeyUp, vk); }
    // Runs the game to its end; its exit code. `onFrame` follows every
    // main-loop frame.
    int Run();
    std::string Path(const std::string& name) const { return dir.str() + "/" + name; }

    TempDir dir;
    std::unique_ptr<ObservedPlatform> owned = std::make_unique<ObservedPlatform>();
    ObservedPlatform* platform = owned.get();  // valid until Run returns
    Options options;
    std::function<void()> onFrame;
    uint64_t frames = 0;
};

}  // namespace zoa::test
