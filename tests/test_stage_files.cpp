#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "play/fade.h"
#include "play/stage_file.h"
#include "play/stage_loader.h"
#include "stage_test_support.h"

namespace zoa::test {
namespace {

constexpr int32_t kPlayer = 10000;

// A stage of the given size whose words, tiles and sprites all differ, with the
// player at `playerIndex`.
StageFile SampleStage(int32_t w, int32_t h, int32_t n, int32_t playerIndex, int32_t level) {
    StageFile s;
    for (int32_t k = 0; k < kStageWordCount; ++k) s.words[k] = k % 2;
    s[kTime_Chai] = 16;
    s[kScrX] = 0;
    s[kScrY] = 0;
    s[kScrH] = 4;
    s[kEditMode] = 1;
    s[kMap_w] = w;
    s[kMap_h] = h;
    s[kSprite_Getsu] = n;
    s[kPlayerIndex] = playerIndex;
    for (int32_t i = 0; i < w * h; ++i) s.tiles.push_back((i * 7 + 3) % kTileCount);
    for (int32_t k = 0; k < n; ++k) {
        SpriteRecord r;
        int32_t v = 100 * k;
        ForEachSpriteWord(r, [&v](int32_t& word) { word = v++; });
        r.type = 1000 + k % 20;
        r.sheetA = 4;
        r.sheetB = 5 + k % 2;
        s.sprites.push_back(r);
    }
    SpriteRecord& player = s.sprites[static_cast<size_t>(playerIndex)];
    player.type = kPlayer;
    player.x = 1000;
    player.y = 300;
    player.width = 120;
    player.sheetA = 5;
    player.sheetB = 6;
    s.Lives = 4;
    s.Level = level;
    return s;
}

TileMapFile SampleMap(int32_t w, int32_t h, int32_t seed) {
    TileMapFile m{w, h, {}};
    for (int32_t i = 0; i < w * h; ++i) m.tiles.push_back((i * 13 + seed) % kTileCount);
    return m;
}

std::vector<uint8_t> Bytes(const StageFile& s) {
    WordWriter w;
    WriteStageFile(s, w);
    return w.Data();
}

std::vector<uint8_t> Bytes(const TileMapFile& m) {
    WordWriter w;
    WriteTileMapFile(m, w);
    return w.Data();
}

int32_t WordAt(const std::vector<uint8_t>& b, size_t offset) {
    return static_cast<int32_t>(b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 |
                                static_cast<uint32_t>(b[offset + 3]) << 24);
}

void PutWord(std::vector<uint8_t>& b, size_t offset, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

bool ScreenIsBlack(const Display& d) {
    for (const PaletteEntry& e : d.ScreenPalette()) {
        if (e.red || e.green || e.blue) return false;
    }
    return true;
}

class StageFileTest : public StageTest {
  protected:
    void WriteStage(int32_t index, const StageFile& s) {
        WriteBytes(StageFilePath(index), Bytes(s));
    }
    void WriteMap(int32_t number, const TileMapFile& m) {
        WriteBytes(TileMapFilePath(number), Bytes(m));
    }

    // A running game that a failed load must leave alone.
    void SetRunningGame() {
        game.Sprite_Getsu = 2;
        pool[0].type = 4242;
        pool[1].life = 77;
        game.Lives = 7;
        game.Level = 5;
        game.Map_w = 30;
        game.Scr.h = 9;
        game.RightHeld = 1;
        game.TitleActive = 0;
        game.EditMode = 1;
        world.At(3, 4) = 12;
    }

    void ExpectRunningGameKept() {
        EXPECT_EQ(game.Sprite_Getsu, 2);
        EXPECT_EQ(pool[0].type, 4242);
        EXPECT_EQ(pool[1].life, 77);
        EXPECT_EQ(game.Lives, 7);
        EXPECT_EQ(game.Map_w, 30);
        EXPECT_EQ(game.Scr.h, 9);
        EXPECT_EQ(game.RightHeld, 1);
        EXPECT_EQ(game.EditMode, 1);
        EXPECT_EQ(world.At(3, 4), 0) << "the map is cleared before anything is read";
        EXPECT_FALSE(platform.TimerRunning(kFadeInTimer));
        EXPECT_TRUE(sounds_.events.empty());
    }
};

TEST_F(StageFileTest, WriterLaysOutTheWordsAsStored) {
    const StageFile s = SampleStage(20, 15, 2, 1, 3);
    const std::vector<uint8_t> b = Bytes(s);
    ASSERT_EQ(b.size(), 116u + 4 * 20 * 15 + 104 * 2);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "ZANL");
    EXPECT_EQ(WordAt(b, 4), 640);
    EXPECT_EQ(WordAt(b, 8), 480);
    EXPECT_EQ(WordAt(b, 12), 256);
    EXPECT_EQ(WordAt(b, 16), s[kRightHeld]);
    EXPECT_EQ(WordAt(b, 72), 1);   // EditMode
    EXPECT_EQ(WordAt(b, 76), 16);  // Time_Chai
    EXPECT_EQ(WordAt(b, 80), 2);
    EXPECT_EQ(WordAt(b, 84), 1);
    EXPECT_EQ(WordAt(b, 100), 20);
    EXPECT_EQ(WordAt(b, 104), 15);
    // Row by row: column 1 of row 0 comes second, row 1 starts after 20 tiles.
    EXPECT_EQ(WordAt(b, 112), s.tiles[1]);
    EXPECT_EQ(WordAt(b, 108 + 4 * 20), s.tiles[20]);
    const size_t sprites = 108 + 4 * 20 * 15;
    EXPECT_EQ(WordAt(b, sprites + 104 + 0), kPlayer);
    EXPECT_EQ(WordAt(b, sprites + 104 + 32), s.sprites[1].frames[0]);
    EXPECT_EQ(WordAt(b, sprites + 104 + 72), 6);  // sheetB of the player
    EXPECT_EQ(WordAt(b, b.size() - 8), 4);
    EXPECT_EQ(WordAt(b, b.size() - 4), 3);

    StageFile back;
    std::string why;
    ASSERT_EQ(ReadStageFile(b, back, &why), StageRead::kOk) << why;
    EXPECT_EQ(back.words, s.words);
    EXPECT_EQ(back.tiles, s.tiles);
    EXPECT_EQ(back.sprites, s.sprites);
}

// The stage words' one table: each entry writes exactly the game-state
// variable it is named after, and no two entries share one.
TEST(StageWords, EachWordStoresTheVariableItIsNamedAfterAndNoOther) {
    const GameState fresh;
    std::set<std::string> seen;
    for (int32_t w = 0; w < kStageWordCount; ++w) {
        GameState g;
        StoredGameWord(g, w) = 123456 + w;
        std::vector<std::string> changed;
        ForEachStateVariable(g, [&](const char* name, int64_t value) {
            ForEachStateVariable(fresh, [&](const char* other, int64_t before) {
                if (std::string(name) == other && value != before) changed.push_back(name);
            });
        });
        ASSERT_EQ(changed.size(), 1u) << kStageWords[w].name;
        EXPECT_EQ(changed[0], kStageWords[w].name);
        EXPECT_EQ(FindStageWord(kStageWords[w].name), w);
        EXPECT_TRUE(seen.insert(changed[0]).second) << changed[0] << " is stored twice";
    }
}

TEST_F(StageFileTest, LoadPutsTheSnapshotAndTheTileMapInForce) {
    const StageFile s = SampleStage(40, 20, 5, 3, 2);
    WriteStage(2, s);
    // The tile map is narrower than the snapshot's map: it replaces what it covers.
    const TileMapFile m = SampleMap(36, 20, 5);
    WriteMap(2, m);

    ASSERT_EQ(LoadStage(2), 1);
    EXPECT_EQ(game.Map_w, 36);
    EXPECT_EQ(game.Map_h, 20);
    EXPECT_EQ(world.At(5, 7), m.tiles[7 * 36 + 5]);
    EXPECT_EQ(world.At(38, 2), s.tiles[2 * 40 + 38]) << "snapshot tile outside the tile map";
    for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(pool[i], s.sprites[i]) << "record " << i;
    EXPECT_EQ(game.Sprite_Getsu, 5);
    EXPECT_EQ(game.PlayerIndex, 3);
    EXPECT_EQ(game.RightHeld, s[kRightHeld]);
    EXPECT_EQ(game.LeftHeld, s[kLeftHeld]);
    EXPECT_EQ(game.MouseLeftDown, s[kMouseLeftDown]);
    EXPECT_EQ(game.EditMode, 0) << "a stage never starts in the editor";
    EXPECT_EQ(game.Time_Chai, 16u);
    EXPECT_EQ(game.Lives, 4);
    EXPECT_EQ(game.Level, 2);
    // Camera on the player (x 1000, width 120, y 300), kept inside a 36 x 20 map.
    EXPECT_EQ(game.Scr.x, (36 - 20) * 32);
    EXPECT_EQ(game.Scr.y, 60);
    // The stage starts: black screen, timer 1 to fade back in, menus closed.
    EXPECT_EQ(game.TitleActive, 0);
    EXPECT_EQ(game.PauseActive, 0);
    EXPECT_TRUE(ScreenIsBlack(*display));
    EXPECT_TRUE(platform.TimerRunning(kFadeInTimer));
}

TEST_F(StageFileTest, LevelChoosesTheLoopedTrack) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3},
                                                 {6, 3}, {7, 4}, {9, 4}, {-1, 4}};
    WriteMap(1, SampleMap(20, 15, 0));
    for (const auto& [level, track] : cases) {
        WriteStage(1, SampleStage(20, 15, 1, 0, level));
        sounds_.events.clear();
        ASSERT_EQ(LoadStage(1), 1);
        const std::vector<SoundEvent> expected = {{false, game.Sound1, 0},
                                                  {false, game.Sound2, 0},
                                                  {false, game.Sound3, 0},
                                                  {false, game.Sound4, 0},
                                                  {true, game.Sound1 + track - 1, 1}};
        EXPECT_EQ(sounds_.events, expected) << "level " << level;
    }
}

TEST_F(StageFileTest, DemoStartedFromTheTitleNeitherFadesNorSetsTheTimer) {
    WriteStage(kDemoStage, SampleStage(20, 15, 2, 0, 0));
    WriteMap(0, SampleMap(20, 15, 1));
    const Palette before = display->ScreenPalette();
    game.TitleChoice = 2;
    ASSERT_EQ(LoadStage(kDemoStage), 1);
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_FALSE(platform.TimerRunning(kFadeInTimer));
    EXPECT_EQ(display->ScreenPalette()[7].red, before[7].red);
    EXPECT_FALSE(ScreenIsBlack(*display));
    EXPECT_EQ(sounds_.events.back(), (SoundEvent{true, game.Sound1, 1}));
}

TEST_F(StageFileTest, MissingStageFileReturnsToTheTitle) {
    SetRunningGame();
    EXPECT_EQ(LoadStage(5), 0);
    EXPECT_EQ(game.TitleActive, 1);
    EXPECT_EQ(game.Level, 1);
    ExpectRunningGameKept();
}

TEST_F(StageFileTest, WrongMarkerChangesNothingButTheMap) {
    std::vector<uint8_t> b = Bytes(SampleStage(20, 15, 1, 0, 3));
    PutWord(b, 8, 479);
    WriteBytes(StageFilePath(3), b);
    WriteMap(3, SampleMap(20, 15, 0));
    SetRunningGame();
    EXPECT_EQ(LoadStage(3), 0);
    EXPECT_EQ(game.TitleActive, 0);
    EXPECT_EQ(game.Level, 5);
    ExpectRunningGameKept();

    b[3] = 'X';  // "ZANX"
    PutWord(b, 8, 480);
    WriteBytes(StageFilePath(3), b);
    EXPECT_EQ(LoadStage(3), 0);
    EXPECT_EQ(game.Level, 5);
    ExpectRunningGameKept();
}

TEST_F(StageFileTest, DamagedStageFilesAreRefusedBeforeAnythingChanges) {
    const StageFile good = SampleStage(20, 15, 3, 1, 3);
    struct Damage {
        const char* what;
        std::function<void(StageFile&)> edit;            // applied before writing
        std::function<void(std::vector<uint8_t>&)> cut;  // applied to the bytes
    };
    const auto none = [](std::vector<uint8_t>&) {};
    const auto keep = [](StageFile&) {};
    const auto resize = [](StageFile& s, int32_t w, int32_t h) {
        s[kMap_w] = w;
        s[kMap_h] = h;
        s.tiles.assign(static_cast<size_t>(w) * h, 1);
    };
    const Damage damages[] = {
        {"one byte short", keep, [](std::vector<uint8_t>& b) { b.pop_back(); }},
        {"a word too long", keep, [](std::vector<uint8_t>& b) { b.insert(b.end(), 4, 0); }},
        {"header only", keep, [](std::vector<uint8_t>& b) { b.resize(60); }},
        {"width 321", [&](StageFile& s) { resize(s, 321, 15); }, none},
        {"width 19", [&](StageFile& s) { resize(s, 19, 15); }, none},
        {"height 256", [&](StageFile& s) { resize(s, 20, 256); }, none},
        {"height 14", [&](StageFile& s) { resize(s, 20, 14); }, none},
        {"huge width, no map", keep, [](std::vector<uint8_t>& b) { PutWord(b, 100, 0x7fffffff); }},
        {"negative count", keep, [](std::vector<uint8_t>& b) { PutWord(b, 80, -1); }},
        {"no sprites",
         [](StageFile& s) {
             s.sprites.clear();
             s[kSprite_Getsu] = 0;
             s[kPlayerIndex] = 0;
         },
         none},
        {"1001 sprites",
         [](StageFile& s) {
             s.sprites.resize(1001);
             s[kSprite_Getsu] = 1001;
         },
         none},
        {"player index = count", [](StageFile& s) { s[kPlayerIndex] = 3; }, none},
        {"negative player index", [](StageFile& s) { s[kPlayerIndex] = -1; }, none},
        {"tile 570", [](StageFile& s) { s.tiles[37] = 570; }, none},
        {"tile -1", [](StageFile& s) { s.tiles.back() = -1; }, none},
    };
    WriteMap(3, SampleMap(20, 15, 0));
    for (const Damage& d : damages) {
        StageFile s = good;
        d.edit(s);
        std::vector<uint8_t> b = Bytes(s);
        d.cut(b);
        WriteBytes(StageFilePath(3), b);
        SetRunningGame();
        sounds_.events.clear();
        EXPECT_EQ(LoadStage(3), 0) << d.what;
        // Refused like a missing stage file: back to the title, nothing else touched.
        EXPECT_EQ(game.TitleActive, 1) << d.what;
        EXPECT_EQ(game.Level, 1) << d.what;
        ExpectRunningGameKept();
    }
}

TEST_F(StageFileTest, MissingOrDamagedTileMapLeavesTheSnapshotInForce) {
    const StageFile s = SampleStage(20, 15, 2, 1, 6);
    WriteStage(6, s);
    const auto expectSnapshotWithMessage = [&](const char* what) {
        const size_t boxes = platform.messageBoxes().size();
        game.TitleActive = 1;
        EXPECT_EQ(LoadStage(6), 0) << what;
        ASSERT_EQ(platform.messageBoxes().size(), boxes + 1) << what;
        EXPECT_EQ(platform.messageBoxes().back(), "ERROR: Map load fail");
        EXPECT_EQ(pool[0], s.sprites[0]) << what;
        EXPECT_EQ(pool[1], s.sprites[1]) << what;
        EXPECT_EQ(game.Lives, 4) << what;
        EXPECT_EQ(game.Level, 6) << what;
        EXPECT_EQ(game.EditMode, 0) << what;
        EXPECT_EQ(game.Map_w, 20) << what;
        EXPECT_EQ(world.At(2, 3), s.tiles[3 * 20 + 2]) << what;
        EXPECT_EQ(game.TitleActive, 1) << what;
        EXPECT_FALSE(platform.TimerRunning(kFadeInTimer)) << what;
    };
    expectSnapshotWithMessage("missing");

    TileMapFile bad = SampleMap(20, 15, 0);
    bad.tiles[100] = 600;
    WriteMap(6, bad);
    expectSnapshotWithMessage("tile 600");

    std::vector<uint8_t> b = Bytes(SampleMap(20, 15, 0));
    b.resize(b.size() - 4);
    WriteBytes(TileMapFilePath(6), b);
    expectSnapshotWithMessage("truncated");

    b = Bytes(SampleMap(20, 15, 0));
    PutWord(b, 0, 400);
    WriteBytes(TileMapFilePath(6), b);
    expectSnapshotWithMessage("width 400");
}

class SaveTest : public StageFileTest {
  protected:
    void StartStageOne() {
        WriteStage(1, SampleStage(30, 16, 6, 4, 1));
        WriteMap(1, SampleMap(30, 16, 9));
        ASSERT_EQ(LoadStage(1), 1);
    }
    std::string SavePath() { return Path("home/temp/USER.MAP"); }
    std::vector<uint8_t> SavedBytes() {
        std::vector<uint8_t> b;
        ReadWholeFile(SavePath(), b);
        return b;
    }
};

TEST_F(SaveTest, SaveThenContinueRestoresThePoolFieldForField) {
    StartStageOne();
    // Play a little: records change, one leaves, the state moves on.
    pool[2].x += 17;
    pool[5].frames[6] = -3;
    pool[0].sheetA = 7;
    pool[0].sheetB = 8;
    RemoveSprite(1);
    game.PlayerIndex = 3;
    game.Lives = 2;
    game.FireOn = 1;
    game.Scr.h = 5;
    game.Time_Chai = 12;
    const SpritePool saved = pool;
    const int32_t count = game.Sprite_Getsu;

    SaveStage();
    EXPECT_FALSE(std::filesystem::exists(SavePath() + ".new"));

    pool = SpritePool{};
    game.Sprite_Getsu = 3;
    game.Lives = 9;
    game.Level = 0;
    game.FireOn = 0;
    game.TitleActive = 1;
    ASSERT_EQ(LoadStage(kUserSave), 1);
    ASSERT_EQ(game.Sprite_Getsu, count);
    for (int32_t i = 0; i < count; ++i) EXPECT_EQ(pool[i], saved[i]) << "record " << i;
    EXPECT_EQ(game.PlayerIndex, 3);
    EXPECT_EQ(game.Lives, 2);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(game.FireOn, 1);
    EXPECT_EQ(game.Scr.h, 5);
    EXPECT_EQ(game.Time_Chai, 12u);
    EXPECT_EQ(game.TitleActive, 0);
}

TEST_F(SaveTest, SaveCreatesTheTempFolder) {
    StartStageOne();
    ASSERT_FALSE(std::filesystem::exists(Path("home/temp")));
    SaveStage();
    EXPECT_EQ(SavedBytes().size(), 116u + 4 * 30 * 16 + 104 * 6);
}

TEST_F(SaveTest, AFailedSaveLeavesTheOldSaveIntact) {
    StartStageOne();
    SaveStage();
    const std::vector<uint8_t> old = SavedBytes();
    ASSERT_FALSE(old.empty());
    game.Lives = 1;

    // The temporary file cannot be made.
    std::filesystem::create_directory(SavePath() + ".new");
    SaveStage();
    EXPECT_EQ(SavedBytes(), old);
    std::filesystem::remove(SavePath() + ".new");

    // The disk fills up in the middle of the write.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 1000;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    SaveStage();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(SavedBytes(), old);
    EXPECT_FALSE(std::filesystem::exists(SavePath() + ".new"));

    // A game the loader could not read back is not written either.
    game.Sprite_Getsu = 0;
    SaveStage();
    EXPECT_EQ(SavedBytes(), old);

    game.Sprite_Getsu = 6;
    SaveStage();
    EXPECT_NE(SavedBytes(), old);
}

}  // namespace
}  // namespace zoa::test
