#include <gtest/gtest.h>

#include <vector>

#include "files/le_words.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "sim/game_state.h"
#include "sim/random.h"
#include "sim/world_map.h"
#include "test_support.h"

namespace zoa {
namespace {

class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = GameState{};
        world = WorldMap{};
        SetDataRoot(dir.str());
        platform::SetCurrent(&screen);
    }
    void TearDown() override {
        platform::SetCurrent(nullptr);
        SetDataRoot(".");
    }
    void WriteAttributeFile(const std::vector<int32_t>& attributes) {
        std::filesystem::create_directories(dir.path() / "data/map");
        WordWriter out;
        out.Unsigned(0);
        out.Unsigned(0);
        for (int32_t a : attributes) {
            out.Signed(-5);  // sheet positions in the file are never used
            out.Signed(-5);
            out.Signed(a);
        }
        ASSERT_TRUE(out.WriteFile(dir.str() + "/data/map/Spt.T"));
    }
    test::TempDir dir;
    platform::HeadlessPlatform screen;
};

TEST_F(WorldTest, WithoutAnAttributeFileTheDefaultsHoldAndTheMessageShows) {
    SetUpWorld();
    ASSERT_EQ(screen.messageBoxes().size(), 1u);
    EXPECT_EQ(screen.messageBoxes()[0], "ERROR: Map Load Fail");
    EXPECT_EQ(world.tiles[153].attribute, kAttrExit);
    EXPECT_EQ(world.tiles[0].attribute, kAttrEmpty);
    EXPECT_EQ(world.tiles[9].attribute, kAttrSolid);
    EXPECT_EQ(world.tiles[36].attribute, kAttrEmpty);
    EXPECT_EQ(world.tiles[37].attribute, kAttrSolid);
    EXPECT_EQ(world.tiles[210].attribute, kAttrEmpty);
    EXPECT_EQ(world.tiles[569].attribute, kAttrSolid);
    EXPECT_EQ(game.Scr.h, 4);
}

TEST_F(WorldTest, TileSheetPositionsAreComputedNeverRead) {
    WriteAttributeFile(std::vector<int32_t>(570, 1));
    SetUpWorld();
    EXPECT_TRUE(screen.messageBoxes().empty());
    EXPECT_EQ(world.tiles[0].sheetX, 1);
    EXPECT_EQ(world.tiles[0].sheetY, 1);
    EXPECT_EQ(world.tiles[20].sheetX, 34);  // column 1, row 1
    EXPECT_EQ(world.tiles[20].sheetY, 34);
    EXPECT_EQ(world.tiles[569].sheetX, 18 * 33 + 1);
    EXPECT_EQ(world.tiles[569].sheetY, 29 * 33 + 1);
    EXPECT_EQ(world.tiles[153].attribute, 1);  // the file wins over the defaults
}

TEST_F(WorldTest, AShortAttributeFileKeepsTheDefaultsBeyondItsEnd) {
    WriteAttributeFile({7, 0, 10});
    SetUpWorld();
    EXPECT_TRUE(screen.messageBoxes().empty());
    EXPECT_EQ(world.tiles[0].attribute, 7);
    EXPECT_EQ(world.tiles[1].attribute, 0);
    EXPECT_EQ(world.tiles[2].attribute, 10);
    EXPECT_EQ(world.tiles[3].attribute, kAttrSolid);
    EXPECT_EQ(world.tiles[153].attribute, kAttrExit);
}

TEST_F(WorldTest, ClearMapEmptiesTheWholeGrid) {
    world.At(319, 254) = 5;
    world.At(0, 0) = 5;
    world.At(25, 200) = 5;
    ClearMap();
    for (int32_t c = 0; c < kMapColumns; ++c)
        for (int32_t r = 0; r < kMapRows; ++r) ASSERT_EQ(world.At(c, r), 0);
}

TEST_F(WorldTest, TheGridIsStoredColumnByColumn) {
    world.At(2, 3) = 42;
    EXPECT_EQ(world.grid[2 * 255 + 3], 42);
}

TEST_F(WorldTest, TileAttributesOutsideTheMapReadAsEmpty) {
    SetUpWorld();
    game.Map_w = 30;
    game.Map_h = 20;
    world.At(29, 19) = 9;
    world.At(0, 0) = 9;
    EXPECT_EQ(TileAttrAt(29 * 32 + 31, 19 * 32 + 31), kAttrSolid);
    EXPECT_EQ(TileAttrAt(0, 0), kAttrSolid);
    EXPECT_EQ(TileAttrAt(30 * 32, 0), kAttrEmpty);
    EXPECT_EQ(TileAttrAt(0, 20 * 32), kAttrEmpty);
    EXPECT_EQ(TileAttrAt(-1, 5), kAttrEmpty);
    EXPECT_EQ(TileAttrAt(5, -40), kAttrEmpty);
    world.At(1, 1) = 9999;  // a tile number the table does not have
    EXPECT_EQ(TileAttrAt(40, 40), kAttrEmpty);
}

TEST_F(WorldTest, CameraCentresOnASpriteAndStaysInsideTheMap) {
    game.Map_w = 100;
    game.Map_h = 40;
    CenterCameraOn(10, 10, 121);
    EXPECT_EQ(game.Scr.x, 0);
    EXPECT_EQ(game.Scr.y, 0);
    CenterCameraOn(99 * 32, 39 * 32, 121);
    EXPECT_EQ(game.Scr.x, (100 - 20) * 32);
    EXPECT_EQ(game.Scr.y, (40 - 15) * 32);
    CenterCameraOn(1000, 500, 120);
    EXPECT_EQ(game.Scr.x, 1000 + 60 - 320);
    EXPECT_EQ(game.Scr.y, 500 - 240);  // the top edge, not the centre
}

TEST_F(WorldTest, AMapTheSizeOfTheViewPinsTheCamera) {
    game.Map_w = 20;
    game.Map_h = 15;
    for (int32_t x : {0, 300, 639}) {
        for (int32_t y : {0, 200, 479}) {
            CenterCameraOn(x, y, 121);
            EXPECT_EQ(game.Scr.x, 0);
            EXPECT_EQ(game.Scr.y, 0);
        }
    }
}

TEST(Random, FollowsTheThirtyTwoBitLinearCongruentialRule) {
    game = GameState{};
    SeedRandom(1);
    // The well-known first values of this generator from seed 1.
    EXPECT_EQ(Random(), 41);
    EXPECT_EQ(Random(), 18467);
    EXPECT_EQ(Random(), 6334);
    EXPECT_EQ(Random(), 26500);
    SeedRandom(0xFFFFFFFFu);
    uint32_t state = 0xFFFFFFFFu;
    for (int i = 0; i < 1000; ++i) {
        state = state * 214013u + 2531011u;
        const int32_t v = Random();
        ASSERT_EQ(v, static_cast<int32_t>((state >> 16) & 0x7FFF));
        ASSERT_GE(v, 0);
        ASSERT_LE(v, kRandomMax);
    }
}

TEST(GameState, StartsWithTheDocumentedValuesAndResetsInOneCall) {
    game.Lives = 0;
    game.Scr.h = 9;
    game = GameState{};
    EXPECT_EQ(game.InputActive, 1);
    EXPECT_EQ(game.AppActive, 0);
    EXPECT_EQ(game.Map_w, 20);
    EXPECT_EQ(game.Map_h, 15);
    EXPECT_EQ(game.Sprite_Getsu, 3);
    EXPECT_EQ(game.Lives, 3);
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.DownReady, 1);
    EXPECT_EQ(game.JumpReady, 1);
    EXPECT_EQ(game.FireReady, 1);
    EXPECT_EQ(game.Time_Chai, 0u);
}

}  // namespace
}  // namespace zoa
