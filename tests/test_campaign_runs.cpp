// Every stage of the campaign can be finished: the committed run of each stage
// (stages/runs/stageN.av, played by our bot), replayed by the game headless
// with --play N --replay FILE --seed 1, reaches the exit and starts the next
// stage where it begins; the last one returns to the title. And the demo's
// keys, played from the title's demo item, stay on the demo stage to the end.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sim/demo_input.h"
#include "app/watch_demo_keys.h"
#include "campaign_support.h"
#include "files/le_words.h"
#include "play/stage_file.h"

namespace zoa::test {
namespace {

constexpr int32_t kRunSeed = 1;             // the seed every committed run was recorded with
constexpr int32_t kExitSound = 10;          // the stage-clear chime, played on reaching the exit
constexpr uint32_t kDemoEndsBefore = 3600;  // 60 s at about 60 frames a second
constexpr uint32_t kDemoLastsAtLeast = 1800;

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
    ASSERT_EQ(RunGame("--play " + std::to_string(stage) + " --replay " + RunsDir() + "/stage" +
                      std::to_string(stage) + ".av --dump " + dump),
              0);
    const std::vector<uint8_t> bytes = ReadBytes(dump);
    const std::string json(bytes.begin(), bytes.end());
    // The exit was reached: its chime played once.
    int exits = 0;
    for (size_t at = json.find("\"sounds\"");
         (at = json.find("\"index\": ", at)) != std::string::npos; ++at) {
        if (NumberAfter(json, "index", at) == kExitSound &&
            json.rfind("\"op\": \"play\"", at) > json.rfind('{', at))
            ++exits;
    }
    EXPECT_EQ(exits, 1);
    EXPECT_GE(NumberAfter(json, "Lives"), 1);
    if (stage == kLastCampaignStage) {
        EXPECT_EQ(NumberAfter(json, "TitleActive"), 1) << "after the last stage, the title";
        EXPECT_EQ(NumberAfter(json, "Level"), 0);
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
                         ::testing::Range(kFirstCampaignStage, kLastCampaignStage + 1));

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
