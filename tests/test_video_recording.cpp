// --video: every picture the game shows becomes one frame of the file, which
// FFmpeg reads back here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/game_app.h"
#include "gfx/display.h"
#include "platform/headless/headless_platform.h"
#include "sound_fixture.h"
#include "test_support.h"
#include "video_probe.h"

namespace zoa {
namespace {

// Counts the pictures it is asked to show.
class CountingPlatform : public platform::HeadlessPlatform {
  public:
    explicit CountingPlatform(int* shown) : shown_(shown) {}

  protected:
    void ShowPicture(const uint8_t*, const Palette&) override { ++*shown_; }
    void ShowTrueColor(const uint32_t*) override { ++*shown_; }

  private:
    int* shown_;
};

struct Recording {
    int shown = 0;
    std::vector<uint8_t> screen;
    Palette palette{};
    int code = -1;
};

Recording Record(const std::string& root, const std::string& file, uint64_t frames) {
    Recording r;
    Options options;
    options.headless = true;
    options.noLogo = true;
    options.dataDir = root;
    options.saveDir = root + "/user";
    options.videoFile = file;
    options.frames = frames;
    options.seed = 3;
    SetAfterFrameHook(
        [](void* context) {
            auto& rec = *static_cast<Recording*>(context);
            rec.screen.assign(g_display->FrontBuffer(),
                              g_display->FrontBuffer() + kScreenWidth * kScreenHeight);
            rec.palette = g_display->ScreenPalette();
        },
        &r);
    r.code = RunGame(options, std::make_unique<CountingPlatform>(&r.shown));
    SetAfterFrameHook(nullptr, nullptr);
    return r;
}

// The luma a game pixel of colour `e` has in the video.
int Luma(const PaletteEntry& e) {
    return ((66 * e.red + 129 * e.green + 25 * e.blue + 128) >> 8) + 16;
}

TEST(VideoRecording, EveryShownPictureIsOneSharpDoubledFrameAtItsMoment) {
    test::TempDir dir;
    test::WriteFixtureData(dir.str());
    const std::string file = dir.str() + "/run.mp4";
    const Recording r = Record(dir.str(), file, 12);
    ASSERT_EQ(r.code, 0);
    ASSERT_GT(r.shown, 12);  // the loading picture, the palette, the frames
    const test::DecodedVideo d = test::DecodeVideo(file);
    EXPECT_EQ(d.codec, "h264");
    EXPECT_EQ(d.width, 1280);
    EXPECT_EQ(d.height, 960);
    EXPECT_EQ(d.frames, r.shown);
    // Times only go forward.
    for (size_t i = 1; i < d.times.size(); ++i) EXPECT_GT(d.times[i], d.times[i - 1]) << i;
    // The last frame is the last screen: every game pixel is a 2 x 2 block of
    // its own colour (up to the encoder's small losses).
    ASSERT_EQ(r.screen.size(), static_cast<size_t>(kScreenWidth * kScreenHeight));
    ASSERT_EQ(d.lastLuma.size(), 1280u * 960u);
    long long error = 0;
    int samples = 0;
    for (int y = 1; y < kScreenHeight; y += 7) {
        for (int x = 1; x < kScreenWidth; x += 5) {
            const int want = Luma(r.palette[r.screen[y * kScreenWidth + x]]);
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    error += std::abs(d.lastLuma[(2 * y + dy) * 1280 + 2 * x + dx] - want);
                    ++samples;
                }
            }
        }
    }
    EXPECT_LT(static_cast<double>(error) / samples, 3.0);
}

TEST(VideoRecording, WebmFilesTakeVp9AndABadPlaceFailsAtStart) {
    test::TempDir dir;
    test::WriteFixtureData(dir.str());
    const std::string file = dir.str() + "/run.webm";
    const Recording r = Record(dir.str(), file, 3);
    ASSERT_EQ(r.code, 0);
    const test::DecodedVideo d = test::DecodeVideo(file);
    EXPECT_NE(d.codec.find("vp9"), std::string::npos) << d.codec;
    EXPECT_EQ(d.frames, r.shown);
    // A file that cannot be made ends the run before anything starts.
    const Recording bad = Record(dir.str(), dir.str() + "/no/such/folder/run.mp4", 3);
    EXPECT_EQ(bad.code, kExitStartupFailed);
    EXPECT_EQ(bad.shown, 0);
}

}  // namespace
}  // namespace zoa
