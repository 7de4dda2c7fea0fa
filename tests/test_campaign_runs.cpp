// Every stage of the campaign can be finished: the committed run of each stage
// (stages/runs/stageN.av, played by our bot), replayed by the game headless
// with --play N --replay FILE --seed 1, reaches the exit and starts the next
// stage where it begins; after stage 8 comes the epilogue, whose exit returns
// to the title. And the demo's keys, played from the title's demo item, stay
// on the demo stage to the end. Every start is fair: standing still costs
// nothing, and the jet pack held from the start never carries the hero out.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/watch_demo_keys.h"
#include "campaign_support.h"
#include "files/le_words.h"
#include "platform/message.h"
#include "play/stage_file.h"
#include "sim/demo_input.h"

namespace zoa::test {
namespace {

constexpr int32_t kRunSeed = 1;             // the seed every committed run was recorded with
constexpr int32_t kExitSound = 10;          // the stage-clear chime, played on reaching the exit
constexpr uint32_t kDemoEndsBefore = 3600;  // 60 s at about 60 frames a second
constexpr uint32_t kDemoLastsAtLeast = 1800;
constexpr int32_t kFullMeter = 500;          // life and gauge of a new game
constexpr uint32_t kEpilogueShowsFor = 480;  // frames (8 s) of walking before its exit
// The stage start's fades and darkness, then 10 s of standing still (at 16 ms
// a frame), with room to spare.
constexpr uint32_t kStandStillFrames = 900;
// The LIFE/JET bars and the spare lives cover the screen's top; the roof is
// four tiles thick so that the hero's frame never rises above this row.
constexpr long long kHighestHeroScreenRow = 56;

std::string RunsDir() {
    return std::string(ZOA_SOURCE_DIR) + "/stages/runs";
}

int RunGame(const std::string& arguments) {
    const std::string command = std::string(ZOA_GAME_BINARY) +
                                " --headless --no-logo --nosound --data " + ZOA_DATA_BUILD_DIR +
                                " --seed " + std::to_string(kRunSeed) + " " + arguments +
                                " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The number after "name": in the part of a dump that starts at `from`.
long long NumberAfter(const std::string& json, const std::string& name, size_t from = 0) {
    const std::string key = "\"" + name + "\": ";
    const size_t at = json.find(key, from);
    if (at == std::string::npos) return -999999;
    return std::stoll(json.substr(at + key.size(), 24));
}

// The highest screen row the hero's frame reached in a --trace of play (title
// frames and frames without the hero left out).
long long HighestHeroScreenRow(const std::string& tracePath) {
    const std::vector<uint8_t> bytes = ReadBytes(tracePath);
    const std::string trace(bytes.begin(), bytes.end());
    long long highest = 1 << 30;
    for (size_t line = 0; line < trace.size();) {
        const size_t end = std::min(trace.find('\n', line), trace.size());
        const std::string frame = trace.substr(line, end - line);
        const size_t hero = frame.find("{\"type\": 10000,");
        if (hero != std::string::npos && NumberAfter(frame, "TitleActive") == 0)
            highest =
                std::min(highest, NumberAfter(frame, "y", hero) - NumberAfter(frame, "Scr.y"));
        line = end + 1;
    }
    return highest;
}

// Where the hero stands when stage `index` starts, from its stage file.
bool StartOf(int32_t index, int32_t& x, int32_t& y) {
    std::vector<uint8_t> bytes;
    StageFile stage;
    if (!ReadWholeFile(
            std::string(ZOA_DATA_BUILD_DIR) + "/data/map/stage" + std::to_string(index) + ".map",
            bytes) ||
        ReadStageFile(bytes, stage, nullptr) != StageRead::kOk)
        return false;
    const SpriteRecord& hero = stage.sprites[static_cast<size_t>(stage[kPlayerIndex])];
    x = hero.x;
    y = hero.y;
    return true;
}

class CampaignRun : public ::testing::TestWithParam<int32_t> {};

TEST_P(CampaignRun, ReplayedReachesTheExitAndStartsWhatComesNext) {
    const int32_t stage = GetParam();
    TempDir dir;
    const std::string dump = dir.str() + "/dump.json";
    const std::string trace = dir.str() + "/trace.json";
    ASSERT_EQ(RunGame("--play " + std::to_string(stage) + " --replay " + RunsDir() + "/stage" +
                      std::to_string(stage) + ".av --dump " + dump + " --trace " + trace),
              0);
    EXPECT_GE(HighestHeroScreenRow(trace), kHighestHeroScreenRow) << "the hero under the HUD";
    const std::vector<uint8_t> bytes = ReadBytes(dump);
    const std::string json(bytes.begin(), bytes.end());
    // The exit was reached: its chime played once.
    int exits = 0;
    long long exitFrame = 0;
    for (size_t at = json.find("\"sounds\"");
         (at = json.find("\"index\": ", at)) != std::string::npos; ++at) {
        if (NumberAfter(json, "index", at) == kExitSound &&
            json.rfind("\"op\": \"play\"", at) > json.rfind('{', at)) {
            ++exits;
            exitFrame = NumberAfter(json, "frame", json.rfind('{', at));
        }
    }
    EXPECT_EQ(exits, 1);
    EXPECT_GE(NumberAfter(json, "Lives"), 1);
    if (stage == kEpilogueStage) {
        EXPECT_EQ(NumberAfter(json, "TitleActive"), 1) << "after the epilogue, the title";
        EXPECT_EQ(NumberAfter(json, "Level"), 0);
        EXPECT_GE(exitFrame, kEpilogueShowsFor) << "the ending shows for several seconds";
        return;
    }
    EXPECT_EQ(NumberAfter(json, "TitleActive"), 0);
    EXPECT_EQ(NumberAfter(json, "Level"), stage + 1);
    int32_t x = 0, y = 0;
    ASSERT_TRUE(StartOf(stage + 1, x, y));
    const size_t hero = json.find("{\"type\": 10000,");
    ASSERT_NE(hero, std::string::npos);
    EXPECT_EQ(NumberAfter(json, "x", hero), x) << "the hero starts the next stage where it begins";
    EXPECT_EQ(NumberAfter(json, "y", hero), y);
}

INSTANTIATE_TEST_SUITE_P(EveryStage, CampaignRun,
                         ::testing::Range(kFirstCampaignStage, kEpilogueStage + 1));

// The life and lives after `keys` (nothing pressed when empty) from the start
// of a stage: {Lives, the hero's life}.
std::pair<long long, long long> AfterFromTheStart(int32_t stage, const DemoInput& keys,
                                                  long long* highestRow = nullptr) {
    TempDir dir;
    std::string why;
    const std::string replay = dir.str() + "/keys.av";
    EXPECT_TRUE(WriteDemoFile(replay, keys, &why)) << why;
    const std::string dump = dir.str() + "/dump.json";
    const std::string trace = dir.str() + "/trace.json";
    EXPECT_EQ(RunGame("--play " + std::to_string(stage) + " --replay " + replay + " --dump " +
                      dump + (highestRow ? " --trace " + trace : "")),
              0);
    if (highestRow) *highestRow = HighestHeroScreenRow(trace);
    const std::vector<uint8_t> bytes = ReadBytes(dump);
    const std::string json(bytes.begin(), bytes.end());
    const size_t hero = json.find("{\"type\": 10000,");
    if (hero == std::string::npos) return {-1, -1};
    return {NumberAfter(json, "Lives"), NumberAfter(json, "life", hero)};
}

// The start is also where a lost life starts again, so both hold for every
// restart too: no enemy or shot reaches the hero standing there (the first
// contact is the player's choice), and a roof, low enough to keep the hero
// below the HUD, stops the jet pack held there
// until its gauge is empty, so it cannot carry the hero out of the map.
// Walking right from the start is safe for the first seconds.
TEST_P(CampaignRun, AFairStartStandingStillOrFlyingStraightUp) {
    const int32_t stage = GetParam();
    DemoInput still;
    still.RecordEndFrame = kStandStillFrames;
    EXPECT_EQ(AfterFromTheStart(stage, still),
              std::make_pair(3LL, static_cast<long long>(kFullMeter)))
        << "standing still at the start";
    DemoInput up;
    up.records[0] = {1, platform::vk::Up, 0, kKeyPress};
    up.RecordEndFrame = kFullMeter + 300;  // the whole gauge, then the fall back
    long long highestRow = 0;
    EXPECT_EQ(AfterFromTheStart(stage, up, &highestRow).first, 3)
        << "a life lost flying up from the start";
    EXPECT_GE(highestRow, kHighestHeroScreenRow) << "the hero flew up under the HUD";
    DemoInput right;  // and the first 5 s of walking right hold no pit
    right.records[0] = {1, platform::vk::Right, 0, kKeyPress};
    right.RecordEndFrame = 300;
    EXPECT_EQ(AfterFromTheStart(stage, right).first, 3) << "a life lost walking right";
}

TEST(CampaignDemo, PlaysFromTheTitleForHalfAMinuteOrMoreAndStaysOnTheDemoStage) {
    DemoInput demo;
    std::string why;
    ASSERT_TRUE(ReadDemoFile(std::string(ZOA_DATA_BUILD_DIR) + "/data/map/DEMO.AV", demo, &why))
        << why;
    EXPECT_GE(demo.RecordEndFrame, kDemoLastsAtLeast);
    EXPECT_LT(demo.RecordEndFrame, kDemoEndsBefore);

    // On the title: right twice to the demo item, Enter; the demo runs to its end.
    TempDir dir;
    ASSERT_TRUE(
        WriteDemoFile(dir.str() + "/title.av", KeysThatWatchTheDemo(demo.RecordEndFrame), &why))
        << why;
    const std::string dump = dir.str() + "/dump.json";
    ASSERT_EQ(RunGame("--replay " + dir.str() + "/title.av --dump " + dump), 0);
    const std::vector<uint8_t> bytes = ReadBytes(dump);
    const std::string json(bytes.begin(), bytes.end());
    // Back on the title after the whole demo, which never left its stage and
    // never lost a life.
    EXPECT_EQ(NumberAfter(json, "TitleActive"), 1);
    EXPECT_EQ(NumberAfter(json, "Level"), 0);
    EXPECT_GE(NumberAfter(json, "Lives"), 3);
    EXPECT_EQ(NumberAfter(json, "Map_w"), 170) << "the demo stage's map is still loaded";
    const size_t hero = json.find("{\"type\": 10000,");
    ASSERT_NE(hero, std::string::npos);
    EXPECT_GT(NumberAfter(json, "life", hero), 0);
    EXPECT_GT(NumberAfter(json, "x", hero), 100 * kTileSize) << "the demo shows the whole stage";
}

}  // namespace
}  // namespace zoa::test
