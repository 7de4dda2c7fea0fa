#pragma once
// Shared set-up for the campaign tests: the game's own stage loading over the
// data set the build generated (sheets, tile attributes, compiled stages).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gfx/display.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "play/sheets.h"
#include "play/stage_loader.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"
#include "test_support.h"

namespace zoa::test {

// The campaign's stages by their load index: 0 is the demo stage.
constexpr int32_t kFirstCampaignStage = 1;
constexpr int32_t kLastCampaignStage = 8;
// After the last stage the game loads the next number: the epilogue, a short
// safe stage whose exit (there is no stage 10) returns to the title.
constexpr int32_t kEpilogueStage = 9;

class CampaignTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = GameState{};
        world = WorldMap{};
        pool = SpritePool{};
        SetDataRoot(ZOA_DATA_BUILD_DIR);
        platform.SetUserFolder(home.str());
        platform::SetCurrent(&platform);
        display = std::make_unique<Display>(&platform);
        g_display = display.get();
        ASSERT_EQ(LoadSheets(), 1);
        SetUpWorld();
        ASSERT_TRUE(platform.messageBoxes().empty()) << "the data set has no tile attributes";
    }

    void TearDown() override {
        g_display = nullptr;
        display.reset();
        platform::SetCurrent(nullptr);
        SetDataRoot(".");
    }

    // Loads stage `index` as the game does; false when it does not load.
    bool Load(int32_t index) {
        pool = SpritePool{};
        return LoadStage(index) == 1;
    }

    static std::string StageName(int32_t index) {
        return index == kDemoStage ? "the demo stage" : "stage " + std::to_string(index);
    }

    TempDir home;
    platform::HeadlessPlatform platform;
    std::unique_ptr<Display> display;
};

}  // namespace zoa::test
