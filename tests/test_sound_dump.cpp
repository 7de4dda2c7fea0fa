#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "app/command_line.h"
#include "app/game_app.h"
#include "fake_audio_out.h"
#include "platform/headless/headless_platform.h"
#include "sim/game_state.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"

namespace zoa {
namespace {

struct Entry {
    unsigned frame = 0;
    std::string op;
    int index = -1;
    int loop = -1;
};

// Reads the entries of a "sounds" array; a malformed entry ends the list early.
std::vector<Entry> ParseSounds(const std::string& array) {
    std::vector<Entry> out;
    size_t at = 0;
    while ((at = array.find('{', at)) != std::string::npos) {
        Entry e;
        char op[8] = {};
        int used = 0;
        if (std::sscanf(array.c_str() + at,
                        "{\"frame\": %u, \"op\": \"%4[a-z]\", \"index\": %d, \"loop\": %d}%n",
                        &e.frame, op, &e.index, &e.loop, &used) != 4 ||
            used == 0) {
            break;
        }
        e.op = op;
        out.push_back(e);
        at += static_cast<size_t>(used);
    }
    return out;
}

std::string SoundsArray(const std::string& json) {
    const size_t at = json.find("\"sounds\": [");
    if (at == std::string::npos) return "<none>";
    const size_t end = json.find(']', at);
    return json.substr(at + 11, end - at - 11);
}

class SoundDumpTest : public ::testing::Test {
  protected:
    void SetUp() override { test::WriteFixtureData(dir.str()); }

    int Run(const std::vector<std::string>& extra, uint32_t keyAt) {
        std::vector<std::string> args = {
            "--headless", "--no-logo", "--data",          dir.str(), "--frames",
            "100",        "--dump",    dir / "dump.json", "--trace", dir / "trace.jsonl"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::string error;
        auto options = ParseCommandLine(args, &error);
        EXPECT_TRUE(options) << error;
        auto platform = std::make_unique<platform::HeadlessPlatform>();
        platform->SetUserFolder(dir / "home");
        // Two presses of Right on the title: each plays the menu sound once.
        platform->ScheduleMessage(keyAt, {platform::MessageId::KeyDown, platform::vk::Right, 0});
        platform->ScheduleMessage(keyAt + 10,
                                  {platform::MessageId::KeyDown, platform::vk::Right, 0});
        return RunGame(*options, std::move(platform));
    }

    test::TempDir dir;
};

TEST_F(SoundDumpTest, DumpListsEveryPlayWithItsFrameAndTraceOnlyTheNewOnes) {
    ASSERT_EQ(Run({}, 40), kExitOk);
    EXPECT_EQ(g_soundSystem, nullptr);  // released when the window went
    const std::string sounds = SoundsArray(test::ReadText(dir / "dump.json"));
    std::vector<uint32_t> frames;
    for (const Entry& e : ParseSounds(sounds)) {
        EXPECT_EQ(e.op, "play");
        EXPECT_EQ(e.index, 2);  // SoundB
        EXPECT_EQ(e.loop, 0);
        frames.push_back(e.frame);
    }
    ASSERT_EQ(frames.size(), 2u) << sounds;
    // One frame per virtual millisecond from activation on: the presses land ten frames apart.
    EXPECT_GT(frames[0], 20u);
    EXPECT_LT(frames[0], 60u);
    EXPECT_EQ(frames[1], frames[0] + 10);

    // Each trace line carries only the sounds of its own frame.
    std::istringstream trace(test::ReadText(dir / "trace.jsonl"));
    std::string line;
    int lines = 0, withSounds = 0;
    while (std::getline(trace, line)) {
        ++lines;
        const std::string s = SoundsArray(line);
        if (s.empty()) continue;
        ++withSounds;
        EXPECT_EQ(ParseSounds(s).size(), 1u) << s;
    }
    EXPECT_EQ(lines, 100);
    EXPECT_EQ(withSounds, 2);
}

TEST_F(SoundDumpTest, NoSoundStillLogsAndAStartupWithoutSoundsFails) {
    ASSERT_EQ(Run({"--nosound"}, 30), kExitOk);
    // Silent output: the plays are still logged, as played.
    const auto silent = ParseSounds(SoundsArray(test::ReadText(dir / "dump.json")));
    ASSERT_EQ(silent.size(), 2u);
    EXPECT_EQ(silent[0].op, "play");
    EXPECT_EQ(silent[0].index, 2);

    // A damaged sound file (a missing one is caught by the data check before
    // start-up) ends start-up at the sound loader.
    test::WriteBytes(dir / "data/sound/4.WAV", {'R', 'I', 'F', 'F'});
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run({}, 30), kExitStartupFailed);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("4.WAV"), std::string::npos) << err;
    EXPECT_NE(err.find("cannot load the sounds"), std::string::npos) << err;
}

}  // namespace
}  // namespace zoa

namespace zoa {
namespace {

TEST(SoundOutput, HoldsWhileInTheBackgroundAndIsReleasedWithTheWindow) {
    test::TempDir dir;
    test::WriteFixtureData(dir.str());
    std::string error;
    auto options = ParseCommandLine(
        {"--headless", "--no-logo", "--data", dir.str(), "--frames", "60"}, &error);
    test::AudioCalls calls;
    auto platform = std::make_unique<test::FakeAudioPlatform>(&calls);
    platform->SetUserFolder(dir / "home");
    using platform::MessageId;
    platform->ScheduleMessage(20, {MessageId::KeyDown, platform::vk::Right, 0});
    platform->ScheduleMessage(30, {MessageId::ActivateApp, 0, 0});
    platform->ScheduleMessage(40, {MessageId::ActivateApp, 1, 0});
    ASSERT_EQ(RunGame(*options, std::move(platform)), kExitOk);
    EXPECT_EQ(calls.loaded, 19);
    EXPECT_EQ(calls.played, 1);
    // The first activation (the window being shown) resumes nothing that was held.
    EXPECT_EQ(calls.pauses, (std::vector<std::string>{"resume", "pause", "resume"}));
    EXPECT_EQ(calls.freed, 19);
}

}  // namespace
}  // namespace zoa
