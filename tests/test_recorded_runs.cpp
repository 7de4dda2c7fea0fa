#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "flow_support.h"
#include "sim/demo_input.h"
#include "sound_fixture.h"

namespace zoa::test {
namespace {

namespace key = platform::vk;
using platform::MessageId;

// A data set with stages 1 and 2 and a demo, in which runs are recorded and
// replayed with the same seed.
struct RecordedRun : GameRun {
    RecordedRun() {
        WriteStageFiles(dir.str(), 0, PlayerStage(0, 16, 300));
        WriteStageFiles(dir.str(), 1, PlayerStage(1, 16, 300));
        WriteStageFiles(dir.str(), 2, PlayerStage(2, 12, 500));
        DemoInput demo;
        demo.RecordEndFrame = 60;
        demo.records[0] = test::Press(0, key::Right);
        demo.records[1] = test::Release(10, key::Right);
        demo.records[2] = test::Press(12, key::Space);
        WriteDemoInput(dir.str(), demo);
        options.seed = 5;
    }
};

// Replays `recording` on a fresh copy of the same data; the replay's dump.
std::string Replay(const std::string& recording, std::optional<int32_t> play = std::nullopt) {
    RecordedRun replay;
    replay.options.replayFile = recording;
    replay.options.playStage = play;
    replay.options.dumpFile = replay.Path("dump.json");
    // Live keys have no say in a replay.
    replay.Press(40, key::Enter);
    replay.Press(3000, key::Escape);
    EXPECT_EQ(replay.Run(), 0);
    return ReadText(replay.Path("dump.json"));
}

TEST(RecordedRun, ARunThroughTheMenusTheDemoAndAStageReplaysToTheSameDump) {
    RecordedRun run;
    run.options.recordFile = run.Path("run.av");
    run.options.dumpFile = run.Path("dump.json");
    run.options.frames = 400;
    // The title: over to the demo, watch a little of it, Escape.
    run.Press(13, key::Right);
    run.Release(17, key::Right);
    run.Press(21, key::Right);
    run.Press(33, key::Enter);
    run.Press(378, key::Escape);
    // Back on the title: a new game, keys held across the stage start.
    run.Press(400, key::Left);
    run.Press(411, key::Left);
    run.Press(430, key::Enter);
    run.Press(1000, key::Right);
    // Play, at odd moments within the frames.
    run.Press(3105, key::Space);
    run.Release(3190, key::Space);
    run.Release(3333, key::Right);
    run.Press(3400, key::Escape);
    run.Press(3450, key::Down);
    run.Press(3500, key::Escape);
    run.Press(3600, key::F1);
    run.Press(5007, key::Left);
    run.Press(5750, key::Up);
    run.Release(5801, key::Up);
    run.Press(5900, key::Down);
    ASSERT_EQ(run.Run(), 0);

    const std::string dump = ReadText(run.Path("dump.json"));
    for (const char* expected :
         {"\"Level\": 1", "\"TitleActive\": 0", "\"PauseActive\": 0", "\"dir\": 2", "\"UpHeld\": 0",
          "\"DownReady\": 0", "\"Lives\": 3"}) {
        EXPECT_NE(dump.find(expected), std::string::npos) << expected;
    }
    DemoInput recorded;
    std::string why;
    ASSERT_TRUE(ReadDemoFile(run.Path("run.av"), recorded, &why)) << why;
    EXPECT_GT(recorded.RecordEndFrame, 400u) << "the demo's frames count too";
    EXPECT_LT(recorded.RecordEndFrame, 440u);
    const InputRecord& first = recorded.records[0];
    EXPECT_EQ(first.kind, kKeyPress);
    EXPECT_EQ(first.keyDown, key::Right);
    EXPECT_EQ(first.keyUp, 0u);
    EXPECT_EQ(recorded.records[1].kind, kKeyRelease);
    EXPECT_EQ(recorded.records[1].keyDown, 0u);
    EXPECT_EQ(recorded.records[1].keyUp, key::Right);
    EXPECT_EQ(recorded.records[4].keyDown, key::Escape) << "the Escape that ended the demo";
    EXPECT_EQ(recorded.records[19].keyDown, key::Down);
    EXPECT_EQ(recorded.records[20].kind, 0u);
    for (int i = 1; i < 20; ++i)
        EXPECT_LE(recorded.records[i - 1].frame, recorded.records[i].frame);

    EXPECT_EQ(Replay(run.Path("run.av")), dump);
}

TEST(RecordedRun, PlayStartsTheStageAtOnceAndItsRecordingCountsFromThere) {
    RecordedRun run;
    run.options.playStage = 2;
    run.options.recordFile = run.Path("run.av");
    run.options.dumpFile = run.Path("dump.json");
    run.options.frames = 150;
    bool titleSeen = false;
    run.onFrame = [&] { titleSeen = titleSeen || game.TitleActive; };
    run.Press(50, key::Right);  // during the fade-out: taken before the first frame
    run.Press(2500, key::X);
    run.Release(2700, key::Right);
    run.Press(3000, key::Left);
    ASSERT_EQ(run.Run(), 0);
    EXPECT_FALSE(titleSeen);
    const std::string dump = ReadText(run.Path("dump.json"));
    for (const char* expected :
         {"\"Level\": 2", "\"Lives\": 3", "\"TitleActive\": 0", "\"RestartX\": 500",
          "\"LeftHeld\": 1", "\"FireReady\": 0", "\"Time_Chai\": 12"}) {
        EXPECT_NE(dump.find(expected), std::string::npos) << expected;
    }
    DemoInput recorded;
    ASSERT_TRUE(ReadDemoFile(run.Path("run.av"), recorded, nullptr));
    EXPECT_EQ(recorded.RecordEndFrame, 150u);
    EXPECT_EQ(recorded.records[0].frame, 0u);

    EXPECT_EQ(Replay(run.Path("run.av"), 2), dump);
}

TEST(RecordedRun, ARecordingKeepsAtMost2000KeyEvents) {
    RecordedRun run;
    run.options.recordFile = run.Path("run.av");
    run.options.frames = 2200;
    for (uint32_t i = 0; i < 2001; ++i) run.Press(5 + i, key::Up);  // nothing on the title
    ASSERT_EQ(run.Run(), 0);
    DemoInput recorded;
    ASSERT_TRUE(ReadDemoFile(run.Path("run.av"), recorded, nullptr));
    EXPECT_EQ(recorded.records[1999].keyDown, key::Up);
    EXPECT_GE(recorded.RecordEndFrame, recorded.records[1999].frame);
    EXPECT_LT(recorded.RecordEndFrame, 2200u) << "the recording ends where it filled up";
}

TEST(RecordedRun, AStageThatCannotStartEndsThePlayRunWithCode1) {
    RecordedRun run;
    run.options.playStage = 7;
    run.options.dumpFile = run.Path("dump.json");
    EXPECT_EQ(run.Run(), 1);
}

int RunBinary(const std::string& args) {
    const std::string command =
        std::string(ZOA_GAME_BINARY) + " " + args + " 2>/dev/null >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RecordedRun, TheCommandLineChecksPlayRecordAndReplay) {
    std::string error;
    const auto parsed = ParseCommandLine({"--play", "3", "--record", "a.av"}, &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->playStage, 3);
    EXPECT_EQ(parsed->recordFile, "a.av");
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"--play", "0"},
                                               {"--play", "900"},
                                               {"--play", "x"},
                                               {"--play"},
                                               {"--replay"},
                                               {"--record", "a", "--replay", "b"}}) {
        EXPECT_FALSE(ParseCommandLine(bad, &error)) << bad[0];
    }

    RecordedRun run;
    const std::string d = run.dir.str();
    WriteBytes(d + "/short.av", std::vector<uint8_t>(32000, 0));
    EXPECT_EQ(RunBinary("--headless --data " + d + " --replay " + d + "/short.av"), 2);
    EXPECT_EQ(RunBinary("--headless --data " + d + " --play 9"), 1);
    EXPECT_EQ(RunBinary("--headless --data " + d + " --play 1 --frames 30 --record " + d + "/r.av"),
              0);
    EXPECT_EQ(RunBinary("--headless --data " + d + " --play 1 --replay " + d + "/r.av --dump " + d +
                        "/d.json"),
              0);
    EXPECT_NE(ReadText(d + "/d.json").find("\"Level\": 1"), std::string::npos);
    const std::string help = UsageText();
    for (const char* option : {"--play N", "--record FILE", "--replay FILE"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace zoa::test
