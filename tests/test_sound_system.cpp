#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/data_path.h"
#include "play/load_sounds.h"
#include "sim/game_state.h"
#include "sim/level_track.h"
#include "sound/sound_calls.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"

namespace zoa {
namespace {

std::vector<SoundLog::Entry> Entries(const SoundLog& log, uint64_t from = 0) {
    std::vector<SoundLog::Entry> out;
    log.ForEachSince(from, [&](const SoundLog::Entry& e) { out.push_back(e); });
    return out;
}

class SoundSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = GameState{};
        test::WriteFixtureSounds(dir.str());
        SetDataRoot(dir.str());
    }
    void TearDown() override {
        sound.reset();
        EXPECT_EQ(g_soundSystem, nullptr);
        SetDataRoot(".");
    }
    test::TempDir dir;
    std::unique_ptr<SoundSystem> sound;
};

TEST_F(SoundSystemTest, LoadsTheNineteenSoundsInTableOrder) {
    ASSERT_EQ(LoadSounds(sound), 1);
    ASSERT_NE(g_soundSystem, nullptr);
    EXPECT_EQ(g_soundSystem->IsReady(), 1);
    EXPECT_EQ(CurrentSoundSink(), g_soundSystem);
    const int32_t globals[19] = {game.SoundA, game.SoundB, game.SoundC, game.SoundD, game.SoundE,
                                 game.SoundF, game.SoundG, game.SoundH, game.SoundI, game.SoundJ,
                                 game.SoundK, game.SoundL, game.SoundM, game.SoundN, game.SoundO,
                                 game.Sound1, game.Sound2, game.Sound3, game.Sound4};
    ASSERT_EQ(g_soundSystem->soundCount, 19u);
    for (int n = 0; n < 19; ++n) {
        EXPECT_EQ(globals[n], n + 1) << test::kSoundNames[n];
        // Each fixture file has its own length, so the sizes show which file went where.
        EXPECT_EQ(g_soundSystem->sizes[n + 1], test::FixtureSoundBytes(n)) << test::kSoundNames[n];
    }
}

TEST_F(SoundSystemTest, StopsAtTheFirstFileThatFailsToLoad) {
    std::filesystem::remove(dir / "data/sound/H.WAV");
    EXPECT_EQ(LoadSounds(sound), 0);
    EXPECT_EQ(game.SoundG, 7);
    EXPECT_EQ(game.SoundH, 0);
    EXPECT_EQ(game.SoundI, 0);
    EXPECT_EQ(game.Sound4, 0);
}

TEST_F(SoundSystemTest, RefusesFormatsTheOutputCannotPlay) {
    // 24-bit samples, then floating point, then a block size that does not fit.
    std::vector<uint8_t> samples(60, 0);
    WaveFormat deep;
    deep.bitsPerSample = 24;
    deep.blockAlign = 3;
    WaveFormat floating;
    floating.formatTag = 3;
    WaveFormat misaligned;
    misaligned.blockAlign = 3;
    for (const WaveFormat& format : {deep, floating, misaligned}) {
        ASSERT_TRUE(
            WriteWaveFile(dir / "data/sound/C.WAV", format, samples.data(), samples.size()));
        EXPECT_EQ(LoadSounds(sound), 0);
        EXPECT_EQ(game.SoundB, 2);
        EXPECT_EQ(game.SoundC, 0);
    }
    // An empty data chunk holds no sound either.
    ASSERT_TRUE(WriteWaveFile(dir / "data/sound/C.WAV", WaveFormat{}, samples.data(), 0));
    EXPECT_EQ(LoadSounds(sound), 0);
}

TEST_F(SoundSystemTest, PlayAndStopTakeOnlyLoadedIndices) {
    ASSERT_EQ(LoadSounds(sound), 1);
    SoundSystem& s = *g_soundSystem;
    s.soundOn = 1;
    for (int32_t bad : {0, 20, -1}) {
        EXPECT_EQ(s.Play(bad, 0), 0) << bad;
        EXPECT_EQ(s.Stop(bad), 0) << bad;
    }
    EXPECT_EQ(s.log.Total(), 0u);
    EXPECT_EQ(s.Play(1, 0), 1);
    EXPECT_EQ(s.Play(19, 1), 1);
    EXPECT_EQ(s.Stop(19), 1);
}

TEST_F(SoundSystemTest, SoundOffGatesPlaysButNotStops) {
    ASSERT_EQ(LoadSounds(sound), 1);
    SoundSystem& s = *g_soundSystem;
    s.soundOn = 1;
    game.FrameCounter = 41;
    EXPECT_EQ(PlaySound(game.Sound2, 1), 1);
    s.soundOn = 0;
    game.FrameCounter = 42;
    EXPECT_EQ(PlaySound(game.SoundH, 0), 0);
    StopLevelTracks();
    const auto log = Entries(s.log);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].frame, 41u);
    EXPECT_EQ(log[0].op, SoundLog::kPlay);
    EXPECT_EQ(log[0].index, 17);
    EXPECT_EQ(log[0].loop, 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(log[1 + i].op, SoundLog::kStop);
        EXPECT_EQ(log[1 + i].index, 16 + i);
        EXPECT_EQ(log[1 + i].frame, 42u);
    }
}

TEST_F(SoundSystemTest, AddSoundRefusesTheHundredAndFirst) {
    SoundSystem s(platform::CreateSilentAudioOut());
    WaveFile file(dir / "data/sound/A.WAV");
    ASSERT_EQ(file.loaded, 1);
    for (uint32_t i = 1; i <= SoundSystem::kMaxSounds; ++i)
        ASSERT_EQ(s.AddSound(file), static_cast<int32_t>(i));
    EXPECT_EQ(s.AddSound(file), 0);
    EXPECT_EQ(s.soundCount, 100u);
    EXPECT_EQ(s.FillSound(file, 0), 0);
    EXPECT_EQ(s.FillSound(file, 101), 0);
    EXPECT_EQ(s.FillSound(file, 100), 1);
}

TEST(SoundLog, KeepsTheNewestEntriesInOrder) {
    auto log = std::make_unique<SoundLog>();
    const uint32_t extra = 10;
    for (uint32_t i = 0; i < SoundLog::kCapacity + extra; ++i) log->Add({i, SoundLog::kPlay, 1, 0});
    EXPECT_EQ(log->Total(), SoundLog::kCapacity + extra);
    const auto kept = Entries(*log);
    ASSERT_EQ(kept.size(), SoundLog::kCapacity);
    EXPECT_EQ(kept.front().frame, extra);
    EXPECT_EQ(kept.back().frame, SoundLog::kCapacity + extra - 1);
    const auto recent = Entries(*log, log->Total() - 3);
    ASSERT_EQ(recent.size(), 3u);
    EXPECT_EQ(recent[0].frame, SoundLog::kCapacity + extra - 3);
}

}  // namespace
}  // namespace zoa
