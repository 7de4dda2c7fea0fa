#include <string>

#include "app/state_json.h"
#include "play/background.h"
#include "play/hud.h"
#include "play/run_frame.h"
#include "play/stage_loader.h"
#include "play/stage_source.h"
#include "play/tile_map_view.h"
#include "stage_test_support.h"

namespace zoa::test {
namespace {

constexpr int kSPmi = 2, kSPcca = 4, kSPt = 8, kSPb = 9;  // sheets in loading order

class FrameTest : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        game.TitleActive = 0;
        game.Map_w = 60;
        game.Map_h = 20;
        game.Sprite_Getsu = 1;
        game.PlayerIndex = 0;
        pool[0].life = 500;
        pool[0].gauge = 500;
        display->Clear(0);
    }

    // True when the back buffer at (x, y) shows pixel (sx, sy) of `sheet`.
    bool Shows(int32_t x, int32_t y, int sheet, int32_t sx, int32_t sy) {
        return Back(x, y) == SheetPixel(sheet, sx, sy);
    }
    // True when the whole rectangle at `at` shows `src` of `sheet`.
    bool ShowsRect(Point at, int sheet, Rect src) {
        for (int32_t y = 0; y < src.Height(); ++y) {
            for (int32_t x = 0; x < src.Width(); ++x) {
                if (!Shows(at.x + x, at.y + y, sheet, src.left + x, src.top + y)) return false;
            }
        }
        return true;
    }
};

TEST_F(FrameTest, BackgroundStandsStillAtEitherEndOfTheMap) {
    game.PlayerDx = 4;
    game.RightHeld = 1;
    game.Scr.x = 0;
    MoveBackground();
    EXPECT_EQ(game.BgOffset1, 0);
    EXPECT_EQ(game.BgOffset3, 0);
    game.Scr.x = (60 - 20) * 32;
    MoveBackground();
    EXPECT_EQ(game.BgOffset3, 0);

    // Away from the ends the layers move 1, 2 and 4 pixels, wrapping in 0..639.
    game.Scr.x = 100;
    MoveBackground();
    EXPECT_EQ(game.BgOffset1, 639);
    EXPECT_EQ(game.BgOffset2, 638);
    EXPECT_EQ(game.BgOffset3, 636);

    game.RightHeld = 0;
    game.LeftHeld = 1;
    MoveBackground();
    EXPECT_EQ(game.BgOffset1, 0);
    EXPECT_EQ(game.BgOffset2, 0);
    EXPECT_EQ(game.BgOffset3, 0) << "636 + 4 wraps to 0";

    // Both keys held: right wins. No walk: no move.
    game.RightHeld = 1;
    MoveBackground();
    EXPECT_EQ(game.BgOffset3, 636);
    game.PlayerDx = 0;
    MoveBackground();
    EXPECT_EQ(game.BgOffset3, 636);
}

TEST_F(FrameTest, LevelsPastEightShowLevelEightsBackground) {
    EXPECT_EQ(BackgroundLevel(0), 0);
    EXPECT_EQ(BackgroundLevel(8), 8);
    EXPECT_EQ(BackgroundLevel(9), 8);
    EXPECT_EQ(BackgroundLevel(900), 8);
    EXPECT_EQ(BackgroundLevel(-1), 8);
}

TEST_F(FrameTest, LayersScrollWithTheirOffsetsAndCoverTheScreen) {
    game.Level = 5;  // far strip 1, middle strip 2, near strip 5
    game.BgOffset1 = 100;
    game.BgOffset2 = 0;
    game.BgOffset3 = 639;
    DrawBackground();
    const BackgroundStripRecord& far = BackgroundStrip[1];
    const BackgroundStripRecord& middle = BackgroundStrip[2];
    const BackgroundStripRecord& near = BackgroundStrip[5];
    // Far layer at the top: strip x 0 at screen x 100, the strip's last 100 pixels before it.
    EXPECT_TRUE(Shows(100, 10, kSPb, 0, far.y + 10));
    EXPECT_TRUE(Shows(0, 10, kSPb, 540, far.y + 10));
    EXPECT_TRUE(Shows(639, 10, kSPb, 539, far.y + 10));
    // Middle layer from row 130, unshifted.
    EXPECT_TRUE(Shows(0, 130, kSPb, 0, middle.y));
    EXPECT_TRUE(Shows(639, 200, kSPb, 639, middle.y + 70));
    // Near layer: its shown rows end at the bottom of the screen, its last 20 rows unseen.
    const int32_t top = 480 - near.height + 20;
    EXPECT_TRUE(Shows(639, top, kSPb, 0, near.y));
    EXPECT_TRUE(Shows(0, 479, kSPb, 1, near.y + near.height - 21));
}

TEST_F(FrameTest, TileMapIsClippedAtTheScreenEdges) {
    for (int32_t c = 0; c < 60; ++c) {
        for (int32_t r = 0; r < 20; ++r) world.At(c, r) = (c + 19 * r) % kTileCount;
    }
    game.Scr.x = 40;  // column 1, 8 pixels in
    game.Scr.y = 0;
    DrawTileMap();
    const auto cell = [](int32_t c, int32_t r) { return world.tiles[world.At(c, r)]; };
    // 21 columns: the first from source x + 8 at screen x 0, the last cut to 8 pixels at 632.
    EXPECT_TRUE(ShowsRect({0, 0}, kSPt,
                          {cell(1, 0).sheetX + 8, cell(1, 0).sheetY, cell(1, 0).sheetX + 32,
                           cell(1, 0).sheetY + 32}));
    EXPECT_TRUE(ShowsRect(
        {24, 32}, kSPt,
        {cell(2, 1).sheetX, cell(2, 1).sheetY, cell(2, 1).sheetX + 32, cell(2, 1).sheetY + 32}));
    EXPECT_TRUE(ShowsRect({632, 448}, kSPt,
                          {cell(21, 14).sheetX, cell(21, 14).sheetY, cell(21, 14).sheetX + 8,
                           cell(21, 14).sheetY + 32}));
    EXPECT_TRUE(Shows(631, 0, kSPt, cell(20, 0).sheetX + 31, cell(20, 0).sheetY));

    // Between rows too: 16 rows, the last cut to 12 pixels.
    display->Clear(0);
    game.Scr.x = 64;
    game.Scr.y = 20;
    DrawTileMap();
    EXPECT_TRUE(ShowsRect({0, 0}, kSPt,
                          {cell(2, 0).sheetX, cell(2, 0).sheetY + 20, cell(2, 0).sheetX + 32,
                           cell(2, 0).sheetY + 32}));
    EXPECT_TRUE(ShowsRect({608, 460}, kSPt,
                          {cell(21, 15).sheetX, cell(21, 15).sheetY, cell(21, 15).sheetX + 32,
                           cell(21, 15).sheetY + 20}));
}

TEST_F(FrameTest, DrawNumberPlacesUpToThreeDigits) {
    const auto digit = [&](int32_t x, int32_t y, int32_t d, int32_t from, int32_t to) {
        // Columns [from, to) of digit d's cell at (x + from, y).
        return ShowsRect({x + from, y}, kSPmi, {32 * d + 1 + from, 209, 32 * d + 1 + to, 240});
    };
    DrawNumber(10, 100, 7);
    EXPECT_TRUE(digit(10, 100, 7, 0, 31));
    DrawNumber(10, 200, 42);
    EXPECT_TRUE(digit(10, 200, 4, 0, 20));
    EXPECT_TRUE(digit(30, 200, 2, 0, 31));
    DrawNumber(10, 300, 905);
    EXPECT_TRUE(digit(10, 300, 9, 0, 20));
    EXPECT_TRUE(digit(30, 300, 0, 0, 20));
    EXPECT_TRUE(digit(50, 300, 5, 0, 31));

    display->Clear(0);
    DrawNumber(10, 100, 1000);
    DrawNumber(10, 200, -3);  // taken as unsigned: far above 999
    for (int32_t y = 100; y < 240; ++y) {
        for (int32_t x = 10; x < 80; ++x) ASSERT_EQ(Back(x, y), 0) << x << "," << y;
    }
}

TEST_F(FrameTest, SpareLivesShowOneIconPerLifeBeyondTheCurrent) {
    const Rect icon{30, 30, 95, 105};
    game.Lives = 1;
    DrawHud();
    EXPECT_FALSE(Shows(30, 100, kSPcca, 36, 73));

    game.Lives = 4;
    DrawHud();
    for (int32_t x : {24, 89, 154})
        EXPECT_TRUE(ShowsRect({x, 60}, kSPcca, {icon.left, 33, icon.right, icon.bottom})) << x;
    EXPECT_FALSE(Shows(219 + 6, 100, kSPcca, 36, 73)) << "no fourth icon";

    // Many lives: icons up to the screen's edge, no further.
    game.Lives = 50;
    DrawHud();
    EXPECT_TRUE(ShowsRect({24 + 65 * 8, 60}, kSPcca, {icon.left, 33, icon.right, icon.bottom}));
}

TEST_F(FrameTest, HudRowsFollowTheirConditions) {
    pool[0].life = 100;
    pool[0].gauge = 0;
    game.Lives = 1;
    game.Level = 7;
    DrawHud();
    // The first label's last rows lie under the second label, the stage label's
    // last columns under the digit.
    EXPECT_TRUE(ShowsRect({24, 13}, kSPmi, {321, 107, 383, 130}));
    EXPECT_TRUE(ShowsRect({90, 20}, kSPmi, {1, 258, 101, 275})) << "life bar 100 long";
    EXPECT_EQ(Back(190, 25), 0) << "and no longer";
    EXPECT_TRUE(ShowsRect({24, 36}, kSPmi, {321, 137, 383, 166}));
    EXPECT_EQ(Back(90, 45), 0) << "empty gauge bar";
    EXPECT_TRUE(ShowsRect({280, 4}, kSPmi, {384, 107, 456, 142}));
    EXPECT_TRUE(ShowsRect({352, 4}, kSPmi, {32 * 7 + 1, 209, 32 * 7 + 32, 240}));
    EXPECT_EQ(Back(300, 240), 0) << "no game-over picture while life is left";

    display->Clear(0);
    game.Level = 0;
    pool[0].life = 0;
    DrawHud();
    EXPECT_TRUE(ShowsRect({296, 4}, kSPmi, {393, 143, 448, 169}));
    EXPECT_EQ(Back(360, 20), 0) << "no stage number in the demo";
    EXPECT_TRUE(ShowsRect({146, 214}, kSPmi, {1, 426, 349, 479}));

    display->Clear(0);
    game.Lives = 2;  // a life left: no game over
    DrawHud();
    EXPECT_EQ(Back(300, 240), 0);

    // The bars read the record the player index names.
    display->Clear(0);
    game.Sprite_Getsu = 2;
    game.PlayerIndex = 1;
    pool[1].gauge = 30;
    DrawHud();
    EXPECT_TRUE(ShowsRect({90, 42}, kSPmi, {1, 277, 31, 294}));
    EXPECT_EQ(Back(121, 45), 0);
}

TEST_F(FrameTest, RunFrameComposesAndFlips) {
    for (int32_t c = 0; c < 60; ++c) {
        for (int32_t r = 0; r < 20; ++r) world.At(c, r) = 3;
    }
    game.Level = 1;
    RunFrame();
    // On screen now: the map over the background, the HUD over the map.
    const TileAttribute& t = world.tiles[3];
    EXPECT_EQ(Front(600, 300), SheetPixel(kSPt, t.sheetX + 600 % 32, t.sheetY + 300 % 32));
    EXPECT_EQ(Front(24, 13), SheetPixel(kSPmi, 321, 107));

    // The tile sheet view shows the tile sheet instead of the map.
    game.TileSheetView = 1;
    RunFrame();
    EXPECT_EQ(Front(600, 300), SheetPixel(kSPt, 600, 300));
    EXPECT_EQ(Front(24, 13), SheetPixel(kSPmi, 321, 107));

    // Nothing at all while input is off.
    const uint64_t presents = platform.presentCount();
    game.InputActive = 0;
    RunFrame();
    EXPECT_EQ(platform.presentCount(), presents);
}

TEST_F(FrameTest, CompiledExampleStageLoadsAndShows) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(ZOA_SOURCE_DIR "/tools/stagec/example.stage", bytes));
    StageFile stage;
    TileMapFile map;
    std::string error;
    ASSERT_TRUE(CompileStageSource(std::string(bytes.begin(), bytes.end()), stage, map, &error))
        << error;
    WordWriter stageBytes, mapBytes;
    WriteStageFile(stage, stageBytes);
    WriteTileMapFile(map, mapBytes);
    ASSERT_TRUE(stageBytes.WriteFile(StageFilePath(1)));
    ASSERT_TRUE(mapBytes.WriteFile(TileMapFilePath(1)));

    game.TitleActive = 1;
    ASSERT_EQ(LoadStage(1), 1);
    EXPECT_EQ(game.Map_w, 48);
    EXPECT_EQ(pool[game.PlayerIndex].type, 10000);
    EXPECT_EQ(game.Scr.x, 0) << "the player stands near the left end";
    RunFrame();
    // The floor (tile 1) fills row 13 at the left; the HUD's first label is over the map.
    const TileAttribute& floor = world.tiles[1];
    EXPECT_EQ(Front(5, 13 * 32 + 7), SheetPixel(kSPt, floor.sheetX + 5, floor.sheetY + 7));
    EXPECT_EQ(Front(24, 13), SheetPixel(kSPmi, 321, 107));
}

TEST(StateJsonTest, ListsTheLivePoolWithFieldNames) {
    game = GameState{};
    pool = SpritePool{};
    game.Sprite_Getsu = 2;
    pool[1].type = 10000;
    pool[1].frames[7] = -5;
    pool[1].dir = 2;
    pool[2].type = 99;  // not live
    std::string json;
    AppendStateJson(json);
    const std::string second =
        "{\"type\": 10000, \"srcX\": 0, \"srcY\": 0, \"width\": 0, \"height\": 0, \"x\": 0, "
        "\"y\": 0, \"frame\": 0, \"frames\": [0, 0, 0, 0, 0, 0, 0, -5], \"row\": 0, \"sheetA\": 0, "
        "\"sheetB\": 0, \"step\": 0, \"tick\": 0, \"frameDelay\": 0, \"depth\": 0, \"life\": 0, "
        "\"gauge\": 0, \"dir\": 2}";
    EXPECT_NE(json.find("\"sprites\": [{\"type\": 0, "), std::string::npos) << json;
    EXPECT_NE(json.find(", " + second + "], \"sounds\""), std::string::npos) << json;
    EXPECT_EQ(json.find("99"), std::string::npos);
}

}  // namespace
}  // namespace zoa::test
