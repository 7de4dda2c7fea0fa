#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "play/stage_file.h"
#include "play/stage_source.h"
#include "stage_test_support.h"

namespace zoa::test {
namespace {

// A player's record spelled out field by field, as the catalogue would fill it.
const std::string kPlayerLine =
    "sprite 10000 64 300 srcX=1 srcY=1 width=121 height=105 frames=5,8,8,4,4,7,6,3 "
    "sheetA=SPcca sheetB=6 frameDelay=4 depth=40 life=500 gauge=500 step=-1\n";
const std::string kPickUpLine =
    "sprite 1000 320 352 srcX=1 srcY=1 width=57 height=87 frames=10,8,4,8,4,7,6,2 sheetA=4 "
    "sheetB=4 frameDelay=2 depth=10 life=1\n";

std::string MapRows(int32_t w, int32_t h) {
    std::string rows;
    for (int32_t r = 0; r < h; ++r) {
        for (int32_t c = 0; c < w; ++c)
            rows += r == h - 1 ? '#' : (c == w - 2 && r == h - 2 ? 'E' : '.');
        rows += '\n';
    }
    return rows;
}

std::string Dots(int32_t w, int32_t h) {
    std::string rows;
    for (int32_t r = 0; r < h; ++r) rows += std::string(static_cast<size_t>(w), '.') + "\n";
    return rows;
}

std::string Source(const std::string& map = MapRows(24, 15),
                   const std::string& sprites = kPlayerLine + kPickUpLine) {
    return "# a small stage\n"
           "stage 1\n"
           "\n"
           "Level = 3\n"
           "Time_Chai = 16\n"
           "Lives = 3\n"
           "tile . = 0\n"
           "tile # = 1\n"
           "tile E = 153\n"
           "map\n" +
           map + "end\n" + sprites;
}

std::vector<uint8_t> Bytes(const StageFile& s) {
    WordWriter w;
    WriteStageFile(s, w);
    return w.Data();
}

TEST(StageSourceTest, CompilesHeaderMapAndSprites) {
    StageFile stage;
    TileMapFile map;
    std::string error;
    ASSERT_TRUE(CompileStageSource(Source(), stage, map, &error)) << error;
    EXPECT_EQ(stage.Level, 3);
    EXPECT_EQ(stage.Lives, 3);
    EXPECT_EQ(stage[kTime_Chai], 16);
    EXPECT_EQ(stage[kScrH], 4);
    EXPECT_EQ(stage[kDownReady], 1);
    EXPECT_EQ(stage[kMap_w], 24);
    EXPECT_EQ(stage[kMap_h], 15);
    EXPECT_EQ(stage[kSprite_Getsu], 2);
    EXPECT_EQ(stage[kPlayerIndex], 0);
    EXPECT_EQ(stage.tiles[14 * 24 + 3], 1);
    EXPECT_EQ(stage.tiles[13 * 24 + 22], 153);
    EXPECT_EQ(map.tiles, stage.tiles);
    EXPECT_EQ(map.Map_w, 24);
    const SpriteRecord& p = stage.sprites[0];
    EXPECT_EQ(p.type, 10000);
    EXPECT_EQ(p.x, 64);
    EXPECT_EQ(p.y, 300);
    EXPECT_EQ(p.frames[7], 3);
    EXPECT_EQ(p.sheetA, 5) << "sheets by name: SPcca is surface 5";
    EXPECT_EQ(p.sheetB, 6);
    EXPECT_EQ(p.step, -1);
    EXPECT_EQ(p.frame, 30) << "new records start with frame and tick 30";
    EXPECT_EQ(p.tick, 30);
    EXPECT_EQ(p.row, 0);
    EXPECT_EQ(stage.sprites[1].gauge, 0);
    EXPECT_TRUE(CheckStageFile(stage).empty());
}

TEST(StageSourceTest, DecompiledSourceCompilesToTheSameFiles) {
    StageFile stage;
    TileMapFile map;
    std::string error;
    ASSERT_TRUE(CompileStageSource(Source(), stage, map, &error)) << error;
    stage[kFireOn] = 1;  // words away from their defaults come back too
    stage[kScrX] = -7;
    stage.sprites[1].row = 3;
    stage.sprites.push_back(stage.sprites[0]);  // two players: the index names the first
    stage[kSprite_Getsu] = 3;

    const std::string text = DecompileStage(stage, &map);
    StageFile again;
    TileMapFile againMap;
    ASSERT_TRUE(CompileStageSource(text, again, againMap, &error)) << error << "\n" << text;
    EXPECT_EQ(Bytes(again), Bytes(stage)) << text;
    EXPECT_EQ(againMap.tiles, map.tiles);
}

TEST(StageSourceTest, AnEditedSourceKeepsWhatItDidNotChange) {
    const std::string source =
        "# my stage\nstage 1\nLevel = 2\nTime_Chai = 16\n\n"
        "tile . = 0\ntile # = 1\ntile E = 153\nmap\n" +
        MapRows(20, 15) + "end\n# a pick-up first\n" + kPickUpLine + kPlayerLine;
    StageFile stage;
    TileMapFile map;
    ASSERT_TRUE(CompileStageSource(source, stage, map, nullptr));
    EXPECT_EQ(UpdateStageSource(source, stage, map, {0, 1}), source);
    // One tile painted with a tile new to the legend, the pick-up deleted (the
    // player's index moves), Lives raised.
    map.tiles[20 * 3 + 5] = 77;
    stage.tiles = map.tiles;
    stage.sprites.erase(stage.sprites.begin());
    stage[kSprite_Getsu] = 1;
    stage[kPlayerIndex] = 0;
    stage.Lives = 5;
    const std::string edited = UpdateStageSource(source, stage, map, {1});
    StageFile again;
    TileMapFile againMap;
    ASSERT_TRUE(CompileStageSource(edited, again, againMap, nullptr));
    EXPECT_EQ(again, stage);
    EXPECT_EQ(againMap, map);
    EXPECT_EQ(edited.find("# my stage\nstage 1\nLevel = 2\nTime_Chai = 16\nLives = 5\n"), 0u)
        << edited;
    EXPECT_NE(edited.find("tile E = 153\ntile = = 77\nmap\n"), std::string::npos) << edited;
    EXPECT_NE(edited.find("\n.....=..............\n"), std::string::npos) << edited;
    EXPECT_NE(edited.find("# a pick-up first\n" + kPlayerLine), std::string::npos) << edited;
    EXPECT_EQ(edited.find("PlayerIndex"), std::string::npos) << edited;
}

TEST(StageSourceTest, AnEditIsMadeInPlaceInEverySourceTheCompilerAccepts) {
    // A legend line may stand after the map (its character is then unused
    // there); a tile new to the legend must not take that character.
    const std::string source = Source() + "tile = = 5\n";
    StageFile stage;
    TileMapFile map;
    ASSERT_TRUE(CompileStageSource(source, stage, map, nullptr));
    map.tiles[3] = 77;
    stage.tiles = map.tiles;
    const std::string edited = UpdateStageSource(source, stage, map, {0, 1});
    StageFile again;
    TileMapFile againMap;
    ASSERT_TRUE(CompileStageSource(edited, again, againMap, nullptr));
    EXPECT_EQ(again, stage);
    EXPECT_EQ(againMap, map);
    EXPECT_EQ(edited.find("# a small stage\n"), 0u) << "decompiled instead:\n" << edited;
    EXPECT_NE(edited.find("tile A = 77\nmap\n...A"), std::string::npos) << edited;
}

TEST(StageSourceTest, CatalogueTypesNeedOnlyTheirPosition) {
    StageFile stage;
    TileMapFile map;
    std::string error;
    const std::string sprites =
        "sprite 10000 64 300\n"
        "sprite 10001 640 288 dir=2\n"
        "sprite 103 200 250\n";
    ASSERT_TRUE(CompileStageSource(Source(MapRows(24, 15), sprites), stage, map, &error)) << error;
    StageFile spelled;
    ASSERT_TRUE(CompileStageSource(Source(MapRows(24, 15), kPlayerLine), spelled, map, &error));
    EXPECT_EQ(stage.sprites[0], spelled.sprites[0]) << "the catalogue gives the whole player";

    const SpriteRecord& enemy = stage.sprites[1];
    EXPECT_EQ(enemy.srcY, 1070);
    EXPECT_EQ(enemy.width, 81);
    EXPECT_EQ(enemy.frames[2], 8);
    EXPECT_EQ(enemy.sheetA, 7);
    EXPECT_EQ(enemy.sheetB, 8);
    EXPECT_EQ(enemy.life, 100);
    EXPECT_EQ(enemy.dir, 2);
    EXPECT_EQ(enemy.gauge, 0);
    EXPECT_EQ(enemy.step, 0);
    EXPECT_EQ(stage.sprites[2].frames[2], 250) << "an arcing shot's flight starts where it stands";

    // Only what differs from the catalogue is written back.
    const std::string text = DecompileStage(stage, &map);
    EXPECT_NE(text.find("\nsprite 10000 64 300\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nsprite 10001 640 288 dir=2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nsprite 103 200 250\n"), std::string::npos) << text;
}

TEST(StageSourceTest, MapsWithManyTilesDecompileAsNumbers) {
    StageFile stage;
    TileMapFile map;
    std::string error;
    ASSERT_TRUE(CompileStageSource(Source(), stage, map, &error)) << error;
    for (size_t i = 0; i < map.tiles.size(); ++i)
        map.tiles[i] = static_cast<int32_t>(i % kTileCount);
    stage.tiles = map.tiles;
    const std::string text = DecompileStage(stage, nullptr);
    EXPECT_NE(text.find("\ntiles\n0 1 2 3"), std::string::npos);
    StageFile again;
    TileMapFile againMap;
    ASSERT_TRUE(CompileStageSource(text, again, againMap, &error)) << error;
    EXPECT_EQ(Bytes(again), Bytes(stage));
}

TEST(StageSourceTest, BadSourcesAreRefusedWithTheirLine) {
    const std::string wide = MapRows(24, 15);
    std::string ragged = wide;
    ragged.insert(ragged.find('\n', 30), ".");  // second row one tile longer
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "line 0: empty source"},
        {"stage 2\n", "line 1: a stage source starts with the line \"stage 1\""},
        {"stage 1\nLevel = 3\nLevel = 4\n", "line 3: Level is given twice"},
        {"stage 1\nLevel = x\n", "line 2: \"x\" is not a 32-bit integer"},
        {"stage 1\nLevel = 4294967296\n", "line 2: \"4294967296\" is not a 32-bit integer"},
        {"stage 1\nSpeed = 3\n", "line 2: unknown name \"Speed\""},
        {"stage 1\nMap_w = 30\n", "line 2: Map_w follows from the map"},
        {"stage 1\nhello\n", "line 2: \"hello\" is not a statement"},
        {"stage 1\ntile ab = 3\n", "line 2: \"ab\" is not a single character"},
        {"stage 1\ntile a = 570\n", "line 2: tile number \"570\" is outside 0..569"},
        {"stage 1\ntile a = 1\ntile a = 2\n", "line 3: character a is given twice"},
        {Source(MapRows(24, 15) + "x" + std::string(23, '.') + "\n"),
         "line 26: character 'x' in column 0"},
        {Source(ragged), "line 12: this row is 25 tiles wide, the first is 24"},
        {Source(MapRows(19, 15)), "line 11: the map is 19 tiles wide"},
        {Source(MapRows(321, 15)), "line 11: the row is longer than 320 tiles"},
        {Source(MapRows(20, 14)), "line 25: the map is 14 rows high"},
        {Source(MapRows(20, 256)), "line 266: the map has more than 255 rows"},
        {"stage 1\ntile . = 0\nmap\n" + Dots(20, 15), "line 18: the map has no \"end\" line"},
        {Source() + "map\nend\n", "line 29: the stage already has a map"},
        {Source(wide, kPlayerLine + "sprite 1021 1 2\n"),
         "line 28: type 1021 has no catalogue entry; give its fields: srcX, srcY, width, height, "
         "frames, sheetA, sheetB, frameDelay, depth, life"},
        {Source(wide, "sprite 10000 1\n"), "line 27: expected sprite TYPE X Y"},
        {Source(wide, "sprite 10000 1 2 wings=3\n"), "line 27: unknown sprite field \"wings\""},
        {Source(wide, "sprite 10000 1 2 life=3 life=4\n"),
         "line 27: sprite field life is given twice"},
        {Source(wide, "sprite 10000 1 2 frames=1,2,3,4,5,6,7,8,9\n"),
         "line 27: frames takes at most 8 values"},
        {Source(wide, "sprite 10000 1 2 frames=1,,3\n"),
         "line 27: \"\" in frames is not a 32-bit integer"},
        {Source(wide, "sprite 10000 1 2 sheetA=SPzz\n"),
         "line 27: \"SPzz\" is not a value for sheetA"},
        {Source(wide, "sprite 10000 1 2 life\n"), "line 27: \"life\" is not FIELD=VALUE"},
        {Source(wide, kPickUpLine), "line 27: the stage has no player sprite (type 10000)"},
        {Source(wide, ""), "line 26: the stage has no sprites"},
        {"stage 1\nLevel = 1\n", "line 2: the stage has no map"},
        {"stage 1\nTime_Chai = 1\ntile . = 0\nmap\n" + Dots(20, 15) + "end\n" + kPlayerLine,
         "line 21: the stage does not say its Level"},
    };
    for (const auto& c : cases) {
        StageFile stage;
        TileMapFile map;
        std::string error;
        EXPECT_FALSE(CompileStageSource(c.text, stage, map, &error)) << c.error;
        EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    }
}

TEST(StageSourceTest, MoreSpritesThanThePoolHoldsAreRefused) {
    std::string sprites;
    for (int i = 0; i < 1001; ++i) sprites += kPlayerLine;
    StageFile stage;
    TileMapFile map;
    std::string error;
    EXPECT_FALSE(CompileStageSource(Source(MapRows(24, 15), sprites), stage, map, &error));
    EXPECT_EQ(error, "line 1027: more than 1000 sprites");
}

TEST(StageSourceTest, MangledSourcesNeverCrashTheCompiler) {
    // Every prefix and a run of single-byte changes of a good source: each one
    // compiles or is refused with a line number, and what compiles is sound.
    const std::string good = Source();
    uint32_t state = 12345;
    const auto next = [&state] { return state = state * 214013 + 2531011, (state >> 16) & 0x7fff; };
    for (size_t n = 0; n < good.size() + 600; ++n) {
        std::string text = n < good.size() ? good.substr(0, n) : good;
        if (n >= good.size()) {
            for (int k = 0; k < 3; ++k)
                text[next() % text.size()] = static_cast<char>(next() % 256);
        }
        StageFile stage;
        TileMapFile map;
        std::string error;
        if (CompileStageSource(text, stage, map, &error)) {
            EXPECT_EQ(CheckStageFile(stage), "");
            // The map as stagec writes it reads back as the same map.
            WordWriter bytes;
            WriteTileMapFile(map, bytes);
            TileMapFile back;
            EXPECT_TRUE(ReadTileMapFile(bytes.Data(), back, &error)) << error;
            EXPECT_EQ(back, map);
        } else {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
        }
    }
}

#ifdef ZOA_STAGEC_BINARY
int RunTool(const std::string& command) {
    const int status = std::system((command + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StageCompilerToolTest, CompilesDecompilesAndReportsErrors) {
    TempDir dir;
    const auto file = [&dir](const std::string& name) { return dir.str() + "/" + name; };
    {
        std::ofstream(file("s.stage")) << Source();
        std::ofstream(file("bad.stage")) << "stage 1\nLevel = 1\nLevel = 2\n";
    }
    const std::string tool = ZOA_STAGEC_BINARY;
    ASSERT_EQ(RunTool(tool + " compile " + file("s.stage") + " " + file("stage3.map") + " " +
                      file("3.m")),
              0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(file("stage3.map"), bytes));
    StageFile stage;
    ASSERT_EQ(ReadStageFile(bytes, stage, nullptr), StageRead::kOk);
    EXPECT_EQ(stage.Level, 3);
    ASSERT_TRUE(ReadWholeFile(file("3.m"), bytes));
    TileMapFile map;
    EXPECT_TRUE(ReadTileMapFile(bytes, map, nullptr));

    ASSERT_EQ(RunTool(tool + " decompile " + file("stage3.map") + " " + file("3.m") + " -o " +
                      file("back.stage")),
              0);
    ASSERT_EQ(RunTool(tool + " compile " + file("back.stage") + " " + file("again.map") + " " +
                      file("again.m")),
              0);
    std::vector<uint8_t> again;
    ASSERT_TRUE(ReadWholeFile(file("again.map"), again));
    ASSERT_TRUE(ReadWholeFile(file("stage3.map"), bytes));
    EXPECT_EQ(again, bytes);

    const std::string errors = file("errors.txt");
    const int status =
        std::system((tool + " compile " + file("bad.stage") + " x.map x.m 2>" + errors).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    std::ifstream in(errors);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "zoa_stagec: " + file("bad.stage") + ": line 3: Level is given twice");
    EXPECT_FALSE(std::filesystem::exists("x.map"));
    EXPECT_EQ(RunTool(tool + " frobnicate"), 2);
}
#endif

}  // namespace
}  // namespace zoa::test
