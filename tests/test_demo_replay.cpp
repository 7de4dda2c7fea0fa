#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "flow_support.h"
#include "sim/demo_input.h"
#include "sim/game_state.h"

namespace zoa::test {
namespace {

namespace key = platform::vk;
using platform::MessageId;

// What one frame of the demo saw.
struct DemoFrame {
    uint32_t at;
    int32_t right, left, fire, jump;
    uint32_t frameCounter;
};

// The game with a demo stage (frame interval 16 ms) and the given demo input,
// started from the title at 30 ms. Every frame of the demo is noted.
struct DemoRun : GameRun {
    explicit DemoRun(const DemoInput& demo) {
        WriteStageFiles(dir.str(), 0, PlayerStage(0, 16, 300));
        WriteDemoInput(dir.str(), demo);
        Press(10, key::Right);
        Press(20, key::Right);
        Press(30, key::Enter);
        platform->onPresent = [this] {
            if (game.TitleActive == 0 && game.Level == 0) {
                demoFrames.push_back({platform->Now(), game.RightHeld, game.LeftHeld, game.FireOn,
                                      game.JumpOn, game.FrameCounter});
            } else if (!demoFrames.empty()) {
                ++framesAfterDemo;
            }
        };
        onFrame = [this] {
            if (!demoFrames.empty())
                afterDemo.push_back({game.TitleActive, game.Level, game.PauseActive});
        };
        options.frames = 60;
    }
    struct After {
        int32_t title, level, pause;
    };
    std::vector<DemoFrame> demoFrames;
    std::vector<After> afterDemo;
    int framesAfterDemo = 0;
};

DemoInput LongDemo() {
    DemoInput demo;
    demo.RecordEndFrame = 3000;
    demo.records[0] = Press(3, key::Right);
    return demo;
}

TEST(DemoReplay, EveryRecordWhoseFrameHasComeIsFedBeforeTheFrameRuns) {
    DemoInput demo;
    demo.RecordEndFrame = 8;
    demo.records[0] = Press(0, key::Right);
    demo.records[1] = Press(0, key::Space);
    demo.records[2] = Release(2, key::Right);
    demo.records[3] = Press(2, key::Left);
    demo.records[4] = {5, key::Z, 0, 1234};  // an unknown kind does nothing
    demo.records[5] = {5, 0, 0, kKeyPress};
    demo.records[6] = Press(5, key::Control);
    DemoRun run(demo);
    ASSERT_EQ(run.Run(), 0);
    ASSERT_EQ(run.demoFrames.size(), 8u);
    const auto& f = run.demoFrames;
    EXPECT_EQ(f[0].right, 1);
    EXPECT_EQ(f[0].fire, 1) << "both records of frame 0 go in before it";
    EXPECT_EQ(f[1].right, 1);
    EXPECT_EQ(f[2].right, 0);
    EXPECT_EQ(f[2].left, 1);
    EXPECT_EQ(f[4].jump, 0);
    EXPECT_EQ(f[5].jump, 1);
    for (size_t i = 1; i < f.size(); ++i) {
        EXPECT_EQ(f[i].at - f[i - 1].at, 17u) << "a demo frame waits past the stage's interval";
        EXPECT_EQ(f[i].frameCounter, f[0].frameCounter)
            << "the demo does not count main-loop frames";
    }
    ASSERT_FALSE(run.afterDemo.empty());
    EXPECT_EQ(run.afterDemo.front().title, 1);
    EXPECT_EQ(run.afterDemo.front().level, 0);
}

TEST(DemoReplay, EscapeEndsTheDemoAndTheTitleComesBackWithoutAPause) {
    DemoRun run(LongDemo());
    run.Press(500, key::Escape);
    run.Release(520, key::Escape);
    run.Press(600, key::Escape);  // on the title: nothing
    ASSERT_EQ(run.Run(), 0);
    ASSERT_FALSE(run.demoFrames.empty());
    EXPECT_LT(run.demoFrames.back().at, 500u);
    EXPECT_GT(run.demoFrames.back().at, 500u - 17);
    ASSERT_FALSE(run.afterDemo.empty());
    for (const auto& a : run.afterDemo) {
        EXPECT_EQ(a.title, 1);
        EXPECT_EQ(a.level, 0);
        EXPECT_EQ(a.pause, 0);
    }
}

TEST(DemoReplay, ClosingTheWindowDuringTheDemoClosesTheGame) {
    DemoRun run(LongDemo());
    run.At(500, MessageId::Close);
    ASSERT_EQ(run.Run(), 0);
    ASSERT_FALSE(run.demoFrames.empty());
    EXPECT_LT(run.demoFrames.back().at, 500u);
    EXPECT_EQ(run.framesAfterDemo, 0) << "the close goes ahead at once";
    EXPECT_TRUE(run.afterDemo.empty());
}

TEST(DemoReplay, ADemoOfNoFramesEndsAtOnceAndAFileOfAnyLengthIsReadAsFarAsItGoes) {
    DemoInput empty;
    empty.records[0] = Press(0, key::Right);
    DemoRun run(empty);
    ASSERT_EQ(run.Run(), 0);
    EXPECT_TRUE(run.demoFrames.empty());
    EXPECT_EQ(run.frames, 60u);

    // Only the first 32004 bytes of a longer file count; a shorter one lacks
    // records, which read as 0 (nothing); an empty one is a demo of no frames.
    DemoInput eight;
    eight.RecordEndFrame = 8;
    eight.records[0] = Press(3, key::Right);
    eight.records[1] = Release(5, key::Right);
    for (size_t size : {kDemoFileSize + 7, size_t{4 + 16 + 8}, size_t{0}}) {
        DemoRun cut(eight);
        std::vector<uint8_t> bytes = ReadBytes(cut.Path("data/map/DEMO.AV"));
        bytes.resize(size, 0xEE);
        WriteBytes(cut.Path("data/map/DEMO.AV"), bytes);
        ASSERT_EQ(cut.Run(), 0);
        if (size == 0) {
            EXPECT_TRUE(cut.demoFrames.empty());
            continue;
        }
        ASSERT_EQ(cut.demoFrames.size(), 8u) << size << " bytes";
        EXPECT_EQ(cut.demoFrames[3].right, 1);
        // The cut-off release is gone (its kind reads as 0): Right stays held.
        EXPECT_EQ(cut.demoFrames[7].right, size > kDemoFileSize ? 0 : 1) << size << " bytes";
    }
}

// The system hands the game its focus changes at once, even during the
// demo: in the background the demo holds and goes on where it was.
TEST(DemoReplay, TheDemoHoldsWhileTheGameIsInTheBackground) {
    DemoRun run(LongDemo());
    run.At(300, MessageId::ActivateApp, 0);
    run.At(2000, MessageId::ActivateApp, 1);
    run.At(2300, MessageId::Close);
    ASSERT_EQ(run.Run(), 0);
    size_t before = 0, during = 0, after = 0;
    for (const DemoFrame& f : run.demoFrames) {
        // (the return itself shows the picture again at 2000)
        (f.at < 300 ? before : f.at < 2000 ? during : after) += 1;
    }
    EXPECT_GT(before, 10u);
    EXPECT_EQ(during, 0u);
    EXPECT_GT(after, 10u);
    EXPECT_TRUE(run.afterDemo.empty()) << "the demo went on after the return";
}

TEST(DemoInputFile, IsReadAndWrittenWordForWordAndOnlyAtItsExactSize) {
    TempDir dir;
    DemoInput demo;
    demo.RecordEndFrame = 4321;
    demo.records[0] = Press(7, key::Z);
    demo.records[1] = Release(9, key::Z);
    demo.records[1999] = {0xFFFFFFFFu, 1, 2, 3};
    const std::string path = dir.str() + "/DEMO.AV";
    std::string why;
    ASSERT_TRUE(WriteDemoFile(path, demo, &why)) << why;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 32004u);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 4321);
    EXPECT_EQ(bytes[4], 7);       // record 0: frame
    EXPECT_EQ(bytes[8], key::Z);  // key-down code
    EXPECT_EQ(bytes[12], 0);      // key-up code
    EXPECT_EQ(bytes[16] | bytes[17] << 8, 7777);
    EXPECT_EQ(bytes[20 + 8], key::Z);  // record 1: key-up code
    EXPECT_EQ(bytes[20 + 12] | bytes[20 + 13] << 8, 9999);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));

    DemoInput back;
    ASSERT_TRUE(ReadDemoFile(path, back, &why)) << why;
    EXPECT_EQ(back.RecordEndFrame, 4321u);
    EXPECT_EQ(back.records[1999].frame, 0xFFFFFFFFu);
    EXPECT_EQ(back.records[1999].kind, 3u);
    EXPECT_EQ(back.records[1].keyUp, key::Z);

    WriteBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end() - 1));
    EXPECT_FALSE(ReadDemoFile(path, back, &why));
    EXPECT_NE(why.find("32004"), std::string::npos) << why;
    EXPECT_FALSE(ReadDemoFile(dir.str() + "/none.AV", back, &why));
}

}  // namespace
}  // namespace zoa::test
