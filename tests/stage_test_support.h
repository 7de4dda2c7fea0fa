#pragma once
// Shared set-up for the stage, frame and HUD tests: a headless display with
// ten sheets whose every pixel differs from its neighbours (so a blit one
// pixel off shows), and a sound sink that records what is played and stopped.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/le_words.h"
#include "files/palette_file.h"
#include "gfx/display.h"
#include "gfx/sheet_image.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "play/sheets.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"
#include "test_support.h"

namespace zoa::test {

// The picture every test sheet holds: a value that tells sheet and position
// apart, changes from one pixel to the next, and never is the transparent index.
inline uint8_t SheetPixel(int sheet, int32_t x, int32_t y) {
    return static_cast<uint8_t>((x * 3 + y * 5 + sheet * 17) % 240);
}

struct SoundEvent {
    bool play;
    int32_t index;
    int32_t loop;
    bool operator==(const SoundEvent&) const = default;
};

// Writes the ten test sheets (SheetPixel) and a palette under root/data/nbm.
inline bool MakeStageSheets(const std::string& root) {
    const auto under = [&root](std::string gamePath) {
        for (char& c : gamePath) c = c == '\\' ? '/' : c;
        return root + "/" + gamePath;
    };
    std::filesystem::create_directories(root + "/data/nbm");
    for (int s = 0; s < kSheetCount; ++s) {
        const int32_t h = kSheets[s].height;
        std::vector<uint8_t> pixels(static_cast<size_t>(kScreenWidth) * h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < kScreenWidth; ++x)
                pixels[static_cast<size_t>(y) * kScreenWidth + x] = SheetPixel(s, x, y);
        }
        if (!WriteSheetFile(PackedSheetPath(under(kSheets[s].path)), kScreenWidth, h,
                            pixels.data()))
            return false;
    }
    Palette palette{};
    for (int i = 0; i < kPaletteSize; ++i) palette[i] = {static_cast<uint8_t>(i), 1, 2, 0};
    return WritePaletteFile(under(kPaletteFilePath), palette);
}

// The sheets take a while to make, so they are made once per test program, on
// first use, and each test gets a copy of them in its own data folder.
inline const TempDir* StageSheetFolder() {
    static const TempDir folder;
    static const bool made = MakeStageSheets(folder.str());
    return made ? &folder : nullptr;
}

class RecordingSink : public SoundSink {
  public:
    int32_t Play(int32_t index, int32_t loop) override {
        events.push_back({true, index, loop});
        return 1;
    }
    int32_t Stop(int32_t index) override {
        events.push_back({false, index, 0});
        return 1;
    }
    std::vector<SoundEvent> events;
};

// Everything a stage needs: state reset, a data folder in a temporary folder,
// a user folder, the display with the ten test sheets loaded by LoadSheets,
// the tile table set up, sounds 1..19 numbered like the game numbers them.
class StageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = GameState{};
        world = WorldMap{};
        pool = SpritePool{};
        std::filesystem::create_directories(Path("data/nbm"));
        std::filesystem::create_directories(Path("data/map"));
        std::filesystem::create_directories(Path("home"));
        SetDataRoot(scratch.str());
        platform.SetUserFolder(Path("home"));
        platform::SetCurrent(&platform);
        WriteTestSheets();
        display = std::make_unique<Display>(&platform);
        g_display = display.get();
        ASSERT_EQ(LoadSheets(), 1);
        for (int i = 0; i < kPaletteSize; ++i) {
            const uint8_t v = static_cast<uint8_t>(i);
            display->palette[i] = {v, static_cast<uint8_t>(255 - v), 128, 0};
        }
        display->SetPaletteEntries(display->palette);
        SetUpWorld();  // no Spt.T: the built-in attributes, and a message box we ignore
        int32_t* sounds[] = {&game.SoundA, &game.SoundB, &game.SoundC, &game.SoundD, &game.SoundE,
                             &game.SoundF, &game.SoundG, &game.SoundH, &game.SoundI, &game.SoundJ,
                             &game.SoundK, &game.SoundL, &game.SoundM, &game.SoundN, &game.SoundO,
                             &game.Sound1, &game.Sound2, &game.Sound3, &game.Sound4};
        for (int i = 0; i < 19; ++i) *sounds[i] = i + 1;
        SetSoundSink(&sounds_);
    }

    void TearDown() override {
        SetSoundSink(nullptr);
        g_display = nullptr;
        display.reset();
        platform::SetCurrent(nullptr);
        SetDataRoot(".");
    }

    void WriteTestSheets() {
        const TempDir* sheets = StageSheetFolder();
        ASSERT_NE(sheets, nullptr) << "the test sheets could not be written";
        // File by file: MinGW's copy of a folder onto an existing one fails.
        std::filesystem::create_directories(Path("data/nbm"));
        for (const auto& sheet : std::filesystem::directory_iterator(sheets->path() / "data/nbm"))
            std::filesystem::copy_file(sheet.path(), Path("data/nbm") / sheet.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    }

    // Index of a sheet in loading order (0 = SPl ... 9 = SPb) from its surface.
    static int SheetOf(int32_t surface) { return surface - 1; }

    uint8_t Back(int32_t x, int32_t y) { return display->BackBuffer()[y * kScreenWidth + x]; }
    uint8_t Front(int32_t x, int32_t y) const {
        return display->FrontBuffer()[y * kScreenWidth + x];
    }

    // A path under the temporary folder.
    std::string Path(const std::string& name) const { return scratch.str() + "/" + name; }

    TempDir scratch;
    platform::HeadlessPlatform platform;
    std::unique_ptr<Display> display;
    RecordingSink sounds_;
};

}  // namespace zoa::test
