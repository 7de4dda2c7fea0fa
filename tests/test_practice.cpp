// The practice tools put the simulation back to an earlier value: a state
// file read back, or a moment of the rewind history. Either must be the very
// value it was, and play going on from it must go as it went; a recording
// with rewinds and loads in it must replay to where the run ended.
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/demo_replay.h"
#include "app/menus.h"
#include "app/practice.h"
#include "app/practice_history.h"
#include "app/practice_state_file.h"
#include "flow_support.h"
#include "platform/user_folder.h"
#include "play/run_frame.h"
#include "recorded_stage_support.h"
#include "sim/demo_input.h"
#include "sim/random.h"
#include "sim/simulation.h"
#include "sound_fixture.h"

namespace zoa::test {
namespace {

using platform::MessageId;
using platform::PracticeTool;
namespace key = platform::vk;

using PracticeValue = RecordedStageRun;

TEST_F(PracticeValue, AStateReadBackIsTheValueSavedAndPlaysOnTheSame) {
    Run(300);
    const SavedState info{7, 3, 300};
    const std::string path = home.str() + "/saved.state";
    std::string error;
    ASSERT_TRUE(WriteStateFile(path, sim, info, &error)) << error;
    const Simulation saved = sim;
    Run(500);
    const Simulation original = sim;

    SavedState read;
    ASSERT_TRUE(ReadStateFile(path, sim, read, &error)) << error;
    EXPECT_TRUE(sim == saved);
    EXPECT_EQ(read.runId, 7u);
    EXPECT_EQ(read.saveId, 3u);
    EXPECT_EQ(read.runFrame, 300u);
    Run(500);
    EXPECT_TRUE(sim == original);
}

TEST_F(PracticeValue, DamagedOrForeignStateFilesAreRefusedAndNothingChanges) {
    Run(100);
    const std::vector<uint8_t> good = EncodeStateFile(sim, {});
    Run(10);
    const Simulation before = sim;
    SavedState info;
    std::string error;
    auto refused = [&](std::vector<uint8_t> bytes, const char* why) {
        EXPECT_FALSE(DecodeStateFile(bytes.data(), bytes.size(), sim, info, &error)) << why;
        EXPECT_TRUE(sim == before) << why;
        EXPECT_FALSE(error.empty()) << why;
    };
    auto flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    refused(flipped, "one byte changed");
    refused({good.begin(), good.end() - 9}, "cut short");
    auto version = good;
    version[8] = 2;
    refused(version, "another version");
    refused({good.begin(), good.begin() + 40}, "the head alone");
    refused({}, "empty");
    const std::string stage = "ZOA stage file, not a state at all";
    refused({stage.begin(), stage.end()}, "not a state");
    EXPECT_FALSE(ReadStateFile(home.str() + "/missing.state", sim, info, &error));
    EXPECT_TRUE(DecodeStateFile(good.data(), good.size(), sim, info, &error)) << error;
}

TEST_F(PracticeValue, ARewindOfNFramesGivesTheSimulationOfNFramesAgo) {
    // A small history, so its ring wraps and drops its oldest moments.
    RewindHistory history(200, 0);
    std::deque<Simulation> kept;
    for (int f = 0; f < 600; ++f) {
        Step();
        history.Push(sim, {static_cast<uint32_t>(f), 0});
        kept.push_back(sim);
        if (kept.size() > 60) kept.pop_front();
    }
    EXPECT_EQ(history.size(), 200u) << "the oldest moments went";
    Simulation at = sim;
    RewindHistory::Stamp stamp;
    for (size_t n = 1; n < kept.size(); ++n) {
        ASSERT_TRUE(history.StepBack(at, &stamp));
        ASSERT_TRUE(at == kept[kept.size() - 1 - n]) << n << " frames back";
        ASSERT_EQ(stamp.runFrame, 599 - n);
    }
    // Play goes on from there and the history takes it up again.
    sim = at;
    Run(3);
    history.Push(sim, {});
    EXPECT_TRUE(history.StepBack(at, &stamp));
    EXPECT_TRUE(at == kept[0]);

    // Walked back to its oldest moment, the history stops there.
    history.Clear();
    history.Push(sim, {});
    EXPECT_FALSE(history.StepBack(at, &stamp));
    EXPECT_TRUE(at == sim);
}

// The fixture data: stages 1 and 2 and a demo.
struct PracticeRun : GameRun {
    PracticeRun() {
        WriteStageFiles(dir.str(), 0, PlayerStage(0, 16, 300));
        DemoInput demo;
        demo.RecordEndFrame = 60;
        WriteDemoInput(dir.str(), demo);
        WriteStageFiles(dir.str(), 1, PlayerStage(1, 16, 300));
        WriteStageFiles(dir.str(), 2, PlayerStage(2, 12, 500));
        options.seed = 5;
        options.playStage = 2;
    }
    void Tool(uint32_t down, uint32_t up, PracticeTool tool) {
        At(down, MessageId::PracticeDown, static_cast<uint32_t>(tool));
        At(up, MessageId::PracticeUp, static_cast<uint32_t>(tool));
    }
};

// The frame clock's readings are the run's own: a run that spent frames
// rewinding reads a later time than its replay.
std::string WithoutClock(std::string dump) {
    for (const std::string name : {"\"LastFrameTime\": ", "\"Time2\": "}) {
        const size_t at = dump.find(name);
        if (at == std::string::npos) continue;
        const size_t end = dump.find_first_not_of("0123456789", at + name.size());
        dump.erase(at, end - at);
    }
    return dump;
}

TEST(PracticeRecording, ARunWithRewindsAndLoadsReplaysToTheSameDump) {
    PracticeRun run;
    run.options.recordFile = run.Path("run.av");
    run.options.dumpFile = run.Path("dump.json");
    run.options.frames = 700;
    run.Press(3000, key::Right);
    run.Tool(3600, 3650, PracticeTool::SaveState);
    run.Press(4000, key::Space);
    run.Release(4300, key::Right);
    run.Tool(4800, 5800, PracticeTool::Rewind);  // back to before 4300
    run.Press(6000, key::Left);
    run.Tool(6400, 6450, PracticeTool::LoadState);
    run.Press(6500, key::Z);
    run.Tool(7300, 7600, PracticeTool::Rewind);
    run.Release(7800, key::Right);
    int32_t xAtRewind = 0, xAfterRewind = 0;
    run.onFrame = [&] {
        if (run.frames == 1) return;
        const int32_t x = pool[game.PlayerIndex].x;
        if (xAtRewind == 0 && run.platform->Now() >= 4600) xAtRewind = x;
        if (xAfterRewind == 0 && run.platform->Now() >= 5800) xAfterRewind = x;
    };
    ASSERT_EQ(run.Run(), 0);
    EXPECT_LT(xAfterRewind, xAtRewind) << "the player walked right, and was taken back";
    DemoInput recorded;
    ASSERT_TRUE(ReadDemoFile(run.Path("run.av"), recorded, nullptr));
    EXPECT_LT(recorded.RecordEndFrame, 650u) << "the rewound frames are not in the recording";
    const std::string dump = ReadText(run.Path("dump.json"));

    PracticeRun replay;
    replay.options.replayFile = run.Path("run.av");
    replay.options.dumpFile = replay.Path("dump.json");
    // Practice keys in a replay do nothing.
    replay.Tool(4000, 4500, PracticeTool::Rewind);
    ASSERT_EQ(replay.Run(), 0);
    EXPECT_EQ(WithoutClock(ReadText(replay.Path("dump.json"))), WithoutClock(dump));
}

TEST(PracticeRecording, ALoadAcrossStagesBringsBackTheTrackAndReplaysToTheSameDump) {
    // Stage 2 ends at an exit tile on the player's way right; stage 3 plays
    // another track.
    constexpr int32_t kExitColumn = 20;
    PracticeRun run;
    TileMapFile exitMap = FloorMap();
    exitMap.tiles[static_cast<size_t>((exitMap.Map_h - 1) * exitMap.Map_w + kExitColumn)] =
        kExitTile;
    WriteStageFiles(run.dir.str(), 2, PlayerStage(2, 12, 500), exitMap);
    WriteStageFiles(run.dir.str(), 3, PlayerStage(3, 12, 500));
    AudioCalls calls;
    run.platform->audio = &calls;
    run.options.recordFile = run.Path("run.av");
    run.options.dumpFile = run.Path("dump.json");
    run.options.frames = 800;
    run.Tool(3000, 3050, PracticeTool::SaveState);
    run.Press(3100, key::Right);
    run.Release(6000, key::Right);
    run.Tool(7000, 7050, PracticeTool::LoadState);
    std::set<int32_t> onStage3;
    run.onFrame = [&] {
        if (game.Level == 3 && run.platform->Now() < 7000) onStage3 = calls.looping;
    };
    ASSERT_EQ(run.Run(), 0);
    EXPECT_EQ(onStage3, std::set<int32_t>{game.Sound2}) << "stage 3 was reached";
    EXPECT_EQ(game.Level, 2);
    EXPECT_EQ(calls.looping, std::set<int32_t>{game.Sound1}) << "stage 2's track again";

    PracticeRun replay;
    WriteStageFiles(replay.dir.str(), 2, PlayerStage(2, 12, 500), exitMap);
    WriteStageFiles(replay.dir.str(), 3, PlayerStage(3, 12, 500));
    replay.options.replayFile = run.Path("run.av");
    replay.options.dumpFile = replay.Path("dump.json");
    ASSERT_EQ(replay.Run(), 0);
    EXPECT_EQ(WithoutClock(ReadText(replay.Path("dump.json"))),
              WithoutClock(ReadText(run.Path("dump.json"))));
}

TEST(PracticeRecording, WhileFrameAdvanceHoldsTheGameTheOverlayStillShowsTheKeysHeld) {
    PracticeRun run;
    run.options.frames = 400;
    run.Tool(4000, 4050, PracticeTool::Overlay);
    run.Tool(4200, 4250, PracticeTool::FrameAdvance);
    run.Press(4500, key::Right);
    run.Press(4600, key::Space);  // throws, as X does
    run.Tool(5000, 5050, PracticeTool::StepFrame);
    run.Tool(5500, 5550, PracticeTool::FrameAdvance);  // held frames do not count to the end
    run.At(20000, MessageId::Close);                   // an end whatever happens
    std::string keysShown;
    int32_t xHeld = 0, xBeforeStep = 0, xAfterStep = 0;
    run.platform->onPresent = [&] {
        const uint32_t now = run.platform->Now();
        if (now < 4400 || now > 5400) return;
        const int32_t x = pool[game.PlayerIndex].x;
        if (xHeld == 0) xHeld = x;
        if (now < 5000) keysShown = run.platform->OverlayLine(0);
        (now < 5000 ? xBeforeStep : xAfterStep) = x;
    };
    ASSERT_EQ(run.Run(), 0);
    EXPECT_EQ(keysShown, "KEYS . > . . .... THROW");
    EXPECT_EQ(xBeforeStep, xHeld) << "held still";
    EXPECT_NE(xAfterStep, xHeld) << "F9 ran a frame with right held";
}

TEST(PracticeRecording, TheOverlaySaysWhatIsGoingOnOrWhyNot) {
    PracticeRun run;
    run.Press(4000, key::Escape);  // the pause menu
    run.Tool(4100, 4150, PracticeTool::SaveState);
    run.Press(4500, key::Escape);
    run.Tool(6000, 6600, PracticeTool::Rewind);
    run.At(8000, MessageId::Close);
    std::string inMenu, whileRewinding;
    run.platform->onPresent = [&] {
        const uint32_t now = run.platform->Now();
        const std::string& notice =
            run.platform->OverlayLine(platform::Platform::kOverlayLines - 1);
        if (now > 4200 && now < 4400) inMenu = notice;
        if (now > 6400 && now < 6600) whileRewinding = notice;
    };
    ASSERT_EQ(run.Run(), 0);
    EXPECT_EQ(inMenu, "close the menu first");
    EXPECT_EQ(whileRewinding, "rewinding (release to play on)");
    EXPECT_FALSE(std::filesystem::exists(run.Path("home/states/") + kPracticeStateFile));
}

TEST(PracticeRecording, AStateOfAnEarlierRunEndsTheRecordingThere) {
    PracticeRun first;
    first.options.frames = 250;
    first.Tool(3000, 3050, PracticeTool::SaveState);
    ASSERT_EQ(first.Run(), 0);
    const std::string state = first.Path("home/states/") + kPracticeStateFile;
    std::vector<uint8_t> bytes = ReadBytes(state);
    ASSERT_FALSE(bytes.empty());

    PracticeRun second;
    second.options.recordFile = second.Path("run.av");
    second.options.frames = 300;
    ASSERT_TRUE(platform::MakeFolders(second.Path("home/states")));
    WriteBytes(second.Path("home/states/") + kPracticeStateFile, bytes);
    second.Tool(3500, 3550, PracticeTool::LoadState);
    uint32_t framesAtLoad = 0;
    second.onFrame = [&] {
        if (framesAtLoad == 0 && second.platform->Now() >= 3550) framesAtLoad = second.frames;
    };
    ASSERT_EQ(second.Run(), 0);
    DemoInput recorded;
    ASSERT_TRUE(ReadDemoFile(second.Path("run.av"), recorded, nullptr));
    EXPECT_GT(recorded.RecordEndFrame, 0u);
    EXPECT_LE(recorded.RecordEndFrame, framesAtLoad);
}

}  // namespace
}  // namespace zoa::test
