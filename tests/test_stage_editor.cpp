// The stage editor's edits and checks on a stage alone, then the editor
// driven headless by scripted mouse and key messages, as a level maker drives
// it; what it saves is read back with the stage compiler.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/game_app.h"
#include "editor/stage_checks.h"
#include "editor/stage_edits.h"
#include "platform/headless/headless_platform.h"
#include "platform/message.h"
#include "play/stage_source.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sound_fixture.h"
#include "test_support.h"

namespace zoa {
namespace {

using platform::Message;
using platform::MessageId;
namespace vk = platform::vk;
constexpr uint32_t kShift = 16;
constexpr uint32_t kDelete = 46;

TileAttributes DefaultAttributes() {
    TileAttributes attributes{};
    const auto table = WorldMap::DefaultTileAttributes();
    for (int32_t t = 0; t < kTileCount; ++t) attributes[t].attribute = table[t];
    return attributes;
}

// 30 x 15 with a roof, a floor and a block at column 5, row 3; a pick-up right
// of column 20, the hero across it, a pick-up at the left (ids 0, 1, 2).
EditedStage SmallStage() {
    std::string source = "stage 1\nLevel = 1\nTime_Chai = 16\ntile . = 0\ntile # = 1\nmap\n";
    for (int r = 0; r < 15; ++r) {
        std::string row(30, r == 0 || r == 14 ? '#' : '.');
        if (r == 3) row[5] = '#';
        source += row + "\n";
    }
    source += "end\nsprite 1000 800 300\nsprite 10000 700 343\nsprite 1000 100 300\n";
    EditedStage s;
    TileMapFile map;
    EXPECT_TRUE(CompileStageSource(source, s.stage, map, nullptr));
    s.spriteIds = {0, 1, 2};
    return s;
}

TEST(StageEditsTest, ResizeKeepsTilesInPlaceAndCutsOnlyWhatFallsOutside) {
    const EditedStage s = SmallStage();
    const Resized grown = ResizeStage(s, 32, 16);
    EXPECT_FALSE(grown.cuts);
    EXPECT_EQ(grown.stage.Tile(5, 3), 1);
    EXPECT_EQ(grown.stage.Tile(31, 15), 0);
    EXPECT_EQ(grown.stage.stage.sprites, s.stage.sprites);

    const Resized cut = ResizeStage(s, 20, 15);
    EXPECT_TRUE(cut.cuts);
    EXPECT_EQ(cut.stage.Width(), 20);
    EXPECT_EQ(cut.stage.stage.tiles.size(), 20u * 15u);
    EXPECT_EQ(cut.stage.Tile(5, 3), 1);
    // The pick-up outside is gone; the hero stays, pulled back inside, and
    // the index, the count and the ids follow.
    EXPECT_EQ(cut.stage.spriteIds, (std::vector<int32_t>{1, 2}));
    ASSERT_EQ(cut.stage.stage[kSprite_Getsu], 2);
    const SpriteRecord& hero = cut.stage.stage.sprites[cut.stage.stage[kPlayerIndex]];
    EXPECT_EQ(hero.type, kPlayer);
    EXPECT_EQ(hero.x + hero.width, 20 * kTileSize);
    EXPECT_EQ(hero.y, 343);
}

TEST(StageEditsTest, PlacesOnTheFloorOrWhereClickedAndDeletesAllButTheHero) {
    const TileAttributes attributes = DefaultAttributes();
    EditedStage s = SmallStage();
    // A walker clicked high up stands on the floor below; a bomber flies
    // where clicked; both in the clicked cell's column.
    ASSERT_EQ(PlaceSprite(s, attributes, kWalkerShooter, 200, 50, 7), Placed::kPlaced);
    ASSERT_EQ(PlaceSprite(s, attributes, kBomber, 200, 50, 8), Placed::kPlaced);
    const SpriteRecord& walker = s.stage.sprites[3];
    EXPECT_EQ(walker.x, 192);
    EXPECT_EQ(walker.y + walker.height, 14 * kTileSize);
    EXPECT_EQ(s.stage.sprites[4].y, 32);
    EXPECT_EQ(s.spriteIds, (std::vector<int32_t>{0, 1, 2, 7, 8}));
    EXPECT_EQ(s.stage[kSprite_Getsu], 5);
    EXPECT_EQ(PlaceSprite(s, attributes, 4242, 200, 50, 9), Placed::kUnknownType);
    EXPECT_EQ(s.stage.sprites.size(), 5u);

    EXPECT_FALSE(DeleteSprite(s, s.stage[kPlayerIndex]));
    ASSERT_TRUE(DeleteSprite(s, 0));
    EXPECT_EQ(s.stage.sprites[s.stage[kPlayerIndex]].type, kPlayer);
    EXPECT_EQ(s.spriteIds, (std::vector<int32_t>{1, 2, 7, 8}));
    EXPECT_EQ(s.stage[kSprite_Getsu], 4);

    s.stage.sprites.resize(kMaxStageSprites);
    EXPECT_EQ(PlaceSprite(s, attributes, kBomber, 200, 50, 9), Placed::kStageFull);
}

TEST(StageEditsTest, AStrokeSkipsNoCellAndTheSkyCheckFindsAHoleInTheRoof) {
    EditedStage s = SmallStage();
    std::vector<int32_t> columns;
    ForEachStrokeCell(s, 10, 40, 300, 40, [&](int32_t c, int32_t r) {
        EXPECT_EQ(r, 1);
        if (columns.empty() || columns.back() != c) columns.push_back(c);
    });
    EXPECT_EQ(columns, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

    const TileAttributes attributes = DefaultAttributes();
    SkySearch search;
    EXPECT_FALSE(OpenToTheSky(s, attributes, search));
    s.Tile(12, 0) = 0;  // far from the hero: only a way round reaches it
    EXPECT_TRUE(OpenToTheSky(s, attributes, search));
    EXPECT_NE(StageWarnings(s, attributes, search).find("OPEN TO THE SKY"), std::string::npos);
}

TEST(StageEditsTest, ABlockOneTileAboveTheFloorIsWarnedOf) {
    EditedStage s = SmallStage();
    const TileAttributes attributes = DefaultAttributes();
    SkySearch search;
    const std::string warning = "THE HERO WALKS THROUGH THE BLOCK AT 9 12";
    EXPECT_EQ(StageWarnings(s, attributes, search).find("WALKS THROUGH"), std::string::npos);
    s.Tile(9, 11) = 1;  // a block two tiles high, its foot one tile above the floor
    s.Tile(9, 12) = 1;
    EXPECT_NE(StageWarnings(s, attributes, search).find(warning), std::string::npos);
    s.Tile(9, 13) = 1;  // down to the floor: a real wall
    EXPECT_EQ(StageWarnings(s, attributes, search).find("WALKS THROUGH"), std::string::npos);
}

// A level maker's script: messages 20 ms apart.
struct Script {
    std::vector<Message> messages;
    Script& Key(uint32_t k) {
        messages.push_back({MessageId::KeyDown, k, 0});
        messages.push_back({MessageId::KeyUp, k, 0});
        return *this;
    }
    Script& Ctrl(uint32_t k) {
        messages.push_back({MessageId::KeyDown, vk::Control, 0});
        Key(k);
        messages.push_back({MessageId::KeyUp, vk::Control, 0});
        return *this;
    }
    Script& Move(int x, int y) {
        messages.push_back({MessageId::MouseMove, 0, platform::PackPoint(x, y)});
        return *this;
    }
    Script& Drag(bool left, int x0, int y0, int x1, int y1) {
        Move(x0, y0);
        messages.push_back({left ? MessageId::LButtonDown : MessageId::RButtonDown, 0,
                            platform::PackPoint(x0, y0)});
        Move((x0 + x1) / 2, (y0 + y1) / 2).Move(x1, y1);
        messages.push_back(
            {left ? MessageId::LButtonUp : MessageId::RButtonUp, 0, platform::PackPoint(x1, y1)});
        return *this;
    }
    Script& Click(bool left, int x, int y) { return Drag(left, x, y, x, y); }
    Script& Wait(int ms) {
        for (int t = 0; t < ms; t += 20) messages.push_back({MessageId::None, 0, 0});
        return *this;
    }
};

class StageEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteFixtureData(dir_.str());
        std::ifstream in(std::string(ZOA_SOURCE_DIR) + "/stages/stage1.stage", std::ios::binary);
        original_.assign(std::istreambuf_iterator<char>(in), {});
        std::ofstream(file_, std::ios::binary) << original_;
        ASSERT_TRUE(CompileStageSource(original_, stage_, map_, nullptr));
    }

    int Run(const Script& script, const std::string& file) {
        std::string error;
        const uint64_t frames = 40 + script.messages.size() * 2;
        auto options = ParseCommandLine({"--headless", "--nosound", "--data", dir_.str(), "--edit",
                                         file, "--frames", std::to_string(frames)},
                                        &error);
        auto platform = std::make_unique<platform::HeadlessPlatform>();
        platform->SetUserFolder(dir_ / "home");
        uint32_t at = 100;
        for (const Message& m : script.messages) {
            if (m.id != MessageId::None) platform->ScheduleMessage(at, m);
            at += 20;
        }
        return RunGame(*options, std::move(platform));
    }
    int Run(const Script& script) { return Run(script, file_); }

    std::string Saved() const { return test::ReadText(file_); }
    // A save replaces the file by renaming a new one over it.
    ino_t Inode() const {
        struct stat st {};
        return stat(file_.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    // The saved source compiled, and the cells that differ from the original map.
    std::vector<size_t> ChangedCells(StageFile& stage, TileMapFile& map) const {
        std::string error;
        EXPECT_TRUE(CompileStageSource(Saved(), stage, map, &error)) << error;
        std::vector<size_t> cells;
        for (size_t i = 0; i < map.tiles.size() && map.Map_w == map_.Map_w; ++i)
            if (map.tiles[i] != map_.tiles[i]) cells.push_back(i);
        return cells;
    }

    test::TempDir dir_;
    std::string file_ = (dir_.path() / "stage1.stage").string();
    std::string original_;
    StageFile stage_;
    TileMapFile map_;
};

TEST_F(StageEditorTest, SavesUnchangedAndUndonePaintByteForByte) {
    const ino_t before = Inode();
    ASSERT_EQ(Run(Script().Ctrl('S')), kExitOk);
    EXPECT_NE(Inode(), before);
    EXPECT_EQ(Saved(), original_);
    // Paint a stroke, erase a cell, undo both, save: the same bytes again.
    ASSERT_EQ(Run(Script()
                      .Drag(true, 100, 100, 200, 100)
                      .Click(false, 300, 300)
                      .Ctrl('Z')
                      .Ctrl('Z')
                      .Ctrl('S')),
              kExitOk);
    EXPECT_EQ(Saved(), original_);
}

TEST_F(StageEditorTest, PaintsErasesAndRedoesKeepingTheSourceAsWritten) {
    // Tab and a click on the sheet's second cell choose tile 1; a stroke paints
    // it, an undo and a redo bring it back, a right click erases one cell.
    Script s;
    s.Key(9).Click(true, 40, 10).Drag(true, 10, 40, 100, 40).Ctrl('Z').Ctrl('Y');
    s.Click(false, 10, 300).Click(true, 10, 330).Click(false, 10, 330).Ctrl('S');
    ASSERT_EQ(Run(s), kExitOk);
    StageFile stage;
    TileMapFile map;
    const std::vector<size_t> cells = ChangedCells(stage, map);
    std::vector<size_t> painted;
    size_t erased = 0;
    for (size_t i : cells) {
        if (map.tiles[i] == 1) painted.push_back(i);
        erased += map.tiles[i] == 0;
    }
    // The cells from x 10 to 100 on one row, none skipped between the points.
    ASSERT_GE(painted.size(), 3u);
    EXPECT_EQ(painted.back() - painted.front() + 1, painted.size());
    EXPECT_EQ(painted.size() + erased, cells.size());
    EXPECT_EQ(stage.sprites, stage_.sprites);
    // The level maker's comments and legend are still there.
    EXPECT_NE(Saved().find("# Stage 1, green hills"), std::string::npos);
    EXPECT_NE(Saved().find("# the exit\ntile * = 153\n"), std::string::npos);
}

TEST_F(StageEditorTest, PlacesMovesDeletesSpritesAndMovesTheHero) {
    // The strip's 22nd cell is the drone 10002, which flies (placed where
    // clicked); one is placed, dragged 64 pixels to the right, a second one is
    // placed and deleted, and the hero is moved.
    Script s;
    s.Key('S').Click(true, 74, 138).Click(true, 100, 50).Drag(true, 110, 60, 174, 60);
    s.Click(true, 400, 50).Move(410, 60).Key(kDelete);
    s.Move(320 + 5, 20).Key('H');
    // Closing the window with unsaved changes only asks: the save still comes.
    s.messages.push_back({MessageId::Close, 0, 0});
    s.Ctrl('S');
    ASSERT_EQ(Run(s), kExitOk);
    StageFile stage;
    TileMapFile map;
    EXPECT_TRUE(ChangedCells(stage, map).empty());
    ASSERT_EQ(stage.sprites.size(), stage_.sprites.size() + 1);
    const SpriteRecord& placed = stage.sprites.back();
    // The camera starts centred on the hero.
    const SpriteRecord& heroBefore = stage_.sprites[stage_[kPlayerIndex]];
    const int scrX =
        std::clamp(heroBefore.x + heroBefore.width / 2 - 320, 0, (map_.Map_w - 20) * 32);
    const int scrY = std::clamp(heroBefore.y - 240, 0, (map_.Map_h - 15) * 32);
    EXPECT_EQ(placed.type, 10002);
    EXPECT_EQ(placed.x, 32 * ((scrX + 100) / 32) + 64);
    EXPECT_EQ(placed.y, 32 * ((scrY + 50) / 32));
    const SpriteRecord& hero = stage.sprites[stage[kPlayerIndex]];
    EXPECT_EQ(hero.type, 10000);
    EXPECT_EQ(hero.x, 32 * ((scrX + 325) / 32));
    int heroes = 0;
    for (const SpriteRecord& r : stage.sprites) heroes += r.type == 10000;
    EXPECT_EQ(heroes, 1);
}

TEST_F(StageEditorTest, ResizesWithConfirmationAndSettings) {
    // Two columns more, Level 2, one more life; then cut 30 columns, which
    // asks first: only the second press cuts.
    Script s;
    s.Ctrl(vk::Right).Ctrl(vk::Right).Key('L').Key('N').Ctrl('S');
    ASSERT_EQ(Run(s), kExitOk);
    StageFile stage;
    TileMapFile map;
    ASSERT_TRUE(CompileStageSource(Saved(), stage, map, nullptr));
    EXPECT_EQ(map.Map_w, map_.Map_w + 2);
    EXPECT_EQ(stage.Level, 2);
    EXPECT_EQ(stage.Lives, stage_.Lives + 1);
    const std::string grown = Saved();
    Script cut;
    cut.messages.push_back({MessageId::KeyDown, vk::Control, 0});
    cut.messages.push_back({MessageId::KeyDown, kShift, 0});
    cut.Key(vk::Left).Key(vk::Left).Key(vk::Left).Key(vk::Left);
    cut.messages.push_back({MessageId::KeyUp, kShift, 0});
    cut.Key('S');
    cut.messages.push_back({MessageId::KeyUp, vk::Control, 0});
    ASSERT_EQ(Run(cut), kExitOk);
    ASSERT_TRUE(CompileStageSource(Saved(), stage, map, nullptr));
    // Every cut loses floor: each is asked for, then made by the next press.
    EXPECT_EQ(map.Map_w, map_.Map_w + 2 - 20);
    int heroes = 0;
    for (const SpriteRecord& r : stage.sprites) {
        heroes += r.type == 10000;
        EXPECT_LT(r.x, map.Map_w * 32);
    }
    EXPECT_EQ(heroes, 1);
}

TEST_F(StageEditorTest, PlaysFromTheViewAndReturnsWithTheStageAsItWas) {
    // Two screens to the right of the start, Enter plays there by the game's
    // rules (the hero walks right); Escape returns and a save finds the stage,
    // its hero's start included, unchanged.
    struct Watch {
        int playFrames = 0;
        int32_t firstX = -1;
        int32_t lastX = -1;
    } watch;
    SetAfterFrameHook(
        [](void* c) {
            auto* w = static_cast<Watch*>(c);
            if (game.TitleActive) return;
            ++w->playFrames;
            const int32_t x = pool[game.PlayerIndex].x;
            if (w->firstX < 0) w->firstX = x;
            w->lastX = x;
        },
        &watch);
    Script s;
    s.messages.push_back({MessageId::KeyDown, kShift, 0});
    s.Key(vk::Right).Key(vk::Right);
    s.messages.push_back({MessageId::KeyUp, kShift, 0});
    s.Key(vk::Enter);
    s.messages.push_back({MessageId::KeyDown, vk::Right, 0});
    s.Wait(600);
    s.messages.push_back({MessageId::KeyUp, vk::Right, 0});
    s.Key(vk::Escape).Ctrl('S');
    const int code = Run(s);
    SetAfterFrameHook(nullptr, nullptr);
    ASSERT_EQ(code, kExitOk);
    EXPECT_GT(watch.playFrames, 20);
    EXPECT_GT(watch.lastX, watch.firstX);
    EXPECT_GT(watch.firstX, stage_.sprites[stage_[kPlayerIndex]].x + 640);
    EXPECT_EQ(Saved(), original_);
}

TEST_F(StageEditorTest, StartsANewStageAndRefusesABrokenSource) {
    const std::string fresh = (dir_.path() / "new.stage").string();
    ASSERT_EQ(Run(Script().Ctrl('S'), fresh), kExitOk);
    StageFile stage;
    TileMapFile map;
    ASSERT_TRUE(CompileStageSource(test::ReadText(fresh), stage, map, nullptr));
    EXPECT_EQ(map.Map_w, 40);
    EXPECT_EQ(map.Map_h, 15);
    EXPECT_EQ(stage.sprites.at(stage[kPlayerIndex]).type, 10000);
    EXPECT_NE(std::count(map.tiles.begin(), map.tiles.end(), 153), 0);

    std::ofstream(file_, std::ios::trunc) << "stage 1\nLevel = 1\nbogus\n";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run(Script()), kExitStartupFailed);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("line 3: "), std::string::npos);
}

}  // namespace
}  // namespace zoa
