#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "avi_writer.h"
#include "platform/audio_out.h"
#include "platform/platform.h"
#include "sound_fixture.h"
#include "video/logo_player.h"

// These need a sound device: SDL's dummy drivers take the place of one unless
// SDL_AUDIODRIVER / SDL_VIDEODRIVER choose another (a real one, say).

namespace zoa {
namespace {

class AudioDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        sdl = platform::CreateSdlPlatform({false});
    }
    // Waits on the platform's clock until `done` or `ms` have passed.
    template <class Done>
    bool WaitFor(Done done, uint32_t ms) {
        const uint32_t start = sdl->Now();
        while (!done()) {
            if (sdl->Now() - start > ms) return false;
            sdl->Sleep(5);
        }
        return true;
    }
    std::unique_ptr<platform::Platform> sdl;
};

TEST_F(AudioDeviceTest, VoicesPlayRestartAndStop) {
    auto out = sdl->OpenAudio();
    ASSERT_TRUE(out->HasDevice());
    std::vector<uint8_t> samples(4410);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(
        out->LoadVoice(3, {11025, 1, 16}, samples.data(), static_cast<uint32_t>(samples.size())));
    ASSERT_TRUE(
        out->LoadVoice(4, {22050, 2, 8}, samples.data(), static_cast<uint32_t>(samples.size())));
    // At the mixer's own rate, mono, with a stray byte after the last sample.
    ASSERT_TRUE(out->LoadVoice(6, {22050, 1, 16}, samples.data(), 4409));
    EXPECT_TRUE(out->PlayVoice(6, false));
    EXPECT_FALSE(out->LoadVoice(5, {11025, 1, 24}, samples.data(), 30));
    EXPECT_FALSE(out->LoadVoice(0, {11025, 1, 16}, samples.data(), 30));
    EXPECT_TRUE(out->PlayVoice(3, false));
    EXPECT_TRUE(out->PlayVoice(3, true));
    EXPECT_TRUE(out->PlayVoice(4, false));
    EXPECT_FALSE(out->PlayVoice(5, false));
    EXPECT_TRUE(out->StopVoice(3));
}

TEST_F(AudioDeviceTest, StreamBuffersAreCountedAsTheyPlay) {
    auto out = sdl->OpenAudio();
    ASSERT_TRUE(out->HasDevice());
    platform::PcmFormat format;
    ASSERT_TRUE(out->OpenStream(&format));
    EXPECT_EQ(format.bits, 16);
    std::vector<uint8_t> silence(platform::AudioOut::kStreamBufferBytes, 0);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(out->QueueStream(silence.data(), 16384));
    ASSERT_TRUE(out->QueueStream(silence.data(), 1000));
    EXPECT_TRUE(WaitFor([&] { return out->StreamBuffersDone() == 4; }, 5000));
    EXPECT_EQ(out->StreamBytesPlayed(), 3u * 16384u + 1000u);
    out->CloseStream();
}

TEST_F(AudioDeviceTest, LogoRunsOnTheAudioClock) {
    ASSERT_TRUE(sdl->OpenWindow("logo test"));
    test::TempDir dir;
    test::TestAvi avi;
    avi.frames = 5;  // half a second of video, a second of audio
    avi.color = [](int f, int, int) { return uint32_t(40 * f); };
    avi.audioRate = 22050;
    avi.audioChannels = 2;
    avi.audioMs = 1000;
    std::string error;
    ASSERT_TRUE(test::WriteTestAvi(dir / "logo.avi", avi, &error)) << error;
    ASSERT_TRUE(OpenLogo(sdl.get(), 640, 480, 2, dir / "logo.avi"));
    EXPECT_TRUE(g_logo.audioPlaying);
    EXPECT_EQ(g_logo.timeEnd, 1000);
    const uint32_t start = sdl->Now();
    EXPECT_TRUE(RunLogo(nullptr));
    const uint32_t took = sdl->Now() - start;
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, 3000u);
    CloseLogo();
}

TEST(WidenPcm, MonoPlaysOnBothSidesAndEightBitsAreCentred) {
    using platform::WidenPcm;
    const uint8_t eight[] = {0, 128, 255};
    int16_t stereo[6] = {};
    WidenPcm({22050, 1, 8}, eight, 3, 2, stereo);
    EXPECT_EQ(std::vector<int16_t>(stereo, stereo + 6),
              (std::vector<int16_t>{-32768, -32768, 0, 0, 32512, 32512}));

    const uint8_t sixteen[] = {0x01, 0x80, 0xFF, 0x7F, 0x34, 0x12};  // -32767, 32767, 0x1234
    WidenPcm({22050, 1, 16}, sixteen, 3, 2, stereo);
    EXPECT_EQ(std::vector<int16_t>(stereo, stereo + 6),
              (std::vector<int16_t>{-32767, -32767, 32767, 32767, 0x1234, 0x1234}));

    int16_t mono[3] = {};
    WidenPcm({22050, 1, 16}, sixteen, 3, 1, mono);
    EXPECT_EQ(std::vector<int16_t>(mono, mono + 3), (std::vector<int16_t>{-32767, 32767, 0x1234}));

    // Stereo keeps its sides apart.
    const uint8_t pairs[] = {10, 250, 128, 0};
    int16_t sides[4] = {};
    WidenPcm({22050, 2, 8}, pairs, 2, 2, sides);
    EXPECT_EQ(std::vector<int16_t>(sides, sides + 4),
              (std::vector<int16_t>{(10 - 128) * 256, (250 - 128) * 256, 0, -32768}));
}

}  // namespace
}  // namespace zoa
