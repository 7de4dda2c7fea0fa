// FFmpeg is loaded when the logo or a recording first needs it: the game goes
// on without its logo when the libraries cannot be loaded, --video fails with
// the reason, and the game program itself never links them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/command_line.h"
#include "app/game_app.h"
#include "avi_writer.h"
#include "platform/headless/headless_platform.h"
#include "sound_fixture.h"
#include "test_support.h"
#include "video/ffmpeg_library.h"
#include "video/logo_player.h"
#include "video/video_recorder.h"

namespace zoa {
namespace {

constexpr const char* kMissingLibrary = "libzoa_no_such_library.so.0";
constexpr const char* kLogoFile = "data/logo/__Logo.avi";

uint32_t Grey(int frame, int, int) {
    return uint32_t(40 + 20 * frame) * 0x010101u;
}

// Counts the true-colour pictures (the logo's) it is asked to show.
class LogoCountingPlatform : public platform::HeadlessPlatform {
  public:
    explicit LogoCountingPlatform(int* shown) : shown_(shown) {}

  protected:
    void ShowTrueColor(const uint32_t*) override { ++*shown_; }

  private:
    int* shown_;
};

// N of the line "zoa_noli: N pictures recorded in ...", -1 without one.
int PicturesRecorded(const std::string& err) {
    const std::string prefix = "zoa_noli: ";
    const size_t end = err.find(" pictures recorded in ");
    const size_t start = err.rfind(prefix, end);
    if (end == std::string::npos || start == std::string::npos) return -1;
    const std::string number = err.substr(start + prefix.size(), end - start - prefix.size());
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoi(number);
}

int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class FfmpegLoading : public ::testing::Test {
  protected:
    void TearDown() override {
        CloseLogo();
        ffmpeg_testing::Restore();
    }
    // The fixture data set with a short logo.
    void WriteDataWithLogo() {
        test::WriteFixtureData(dir.str());
        std::filesystem::create_directories(dir.path() / "data/logo");
        test::TestAvi avi;
        avi.frames = 3;
        avi.color = Grey;
        std::string error;
        ASSERT_TRUE(test::WriteTestAvi(dir / kLogoFile, avi, &error)) << error;
    }
    test::TempDir dir;
};

TEST_F(FfmpegLoading, LoadsEveryFunctionOnceOrNamesTheLibraryThatFailed) {
    std::string error;
    const Ffmpeg* ff = LoadFfmpeg(&error);
    ASSERT_NE(ff, nullptr) << error;
#define ZOA_EXPECT_LOADED(library, name) EXPECT_NE(ff->name, nullptr) << #name;
    ZOA_FFMPEG_FUNCTIONS(ZOA_EXPECT_LOADED)
#undef ZOA_EXPECT_LOADED
    EXPECT_EQ(LoadFfmpeg(nullptr), ff);

    // A library that is not there: its name and the loader's reason.
    ffmpeg_testing::ReplaceLibrary(FfmpegLibrary::Avformat, kMissingLibrary);
    EXPECT_EQ(LoadFfmpeg(&error), nullptr);
    EXPECT_EQ(error.rfind(std::string("cannot load ") + kMissingLibrary + " (", 0), 0u) << error;
#ifdef _WIN32
    EXPECT_NE(error.find("odule"), std::string::npos) << error;  // "[Mm]odule not found"
#else
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
#endif

    // A library without the functions looked for in it.
    ffmpeg_testing::Restore();
    ffmpeg_testing::ReplaceLibrary(FfmpegLibrary::Swscale, FfmpegSoname(FfmpegLibrary::Avutil));
    EXPECT_EQ(LoadFfmpeg(&error), nullptr);
    EXPECT_EQ(error, std::string(FfmpegSoname(FfmpegLibrary::Avutil)) +
                         " has no function sws_getCachedContext");

    ffmpeg_testing::Restore();
    EXPECT_EQ(LoadFfmpeg(&error), ff);
}

TEST_F(FfmpegLoading, WithoutTheLibrariesTheLogoIsSkippedWithOneLineAndTheGameGoesOn) {
    WriteDataWithLogo();
    ffmpeg_testing::ReplaceLibrary(FfmpegLibrary::Swresample, kMissingLibrary);
    platform::HeadlessPlatform headless;

    // No logo file: skipped silently, as ever.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(OpenLogo(&headless, 640, 480, 2, dir / "none.avi"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    testing::internal::CaptureStderr();
    EXPECT_FALSE(OpenLogo(&headless, 640, 480, 2, dir / kLogoFile));
    EXPECT_FALSE(LogoPlaying());
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(
        err.rfind(std::string("zoa_noli: the logo is skipped: cannot load ") + kMissingLibrary, 0),
        0u)
        << err;
    EXPECT_EQ(CountOf(err, "\n"), 1) << err;

    // Start-up goes straight on to the title.
    std::string error;
    const auto options = ParseCommandLine(
        {"--headless", "--data", dir.str(), "--frames", "50", "--dump", dir / "dump.json"}, &error);
    ASSERT_TRUE(options) << error;
    int logoPictures = 0;
    auto platform = std::make_unique<LogoCountingPlatform>(&logoPictures);
    platform->SetUserFolder(dir / "home");
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(*options, std::move(platform)), kExitOk);
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountOf(err, "the logo is skipped"), 1) << err;
    EXPECT_NE(err.find(kMissingLibrary), std::string::npos) << err;
    EXPECT_EQ(logoPictures, 0);
    EXPECT_NE(test::ReadText(dir / "dump.json").find("\"frameCounter\": 50,"), std::string::npos);
}

TEST_F(FfmpegLoading, WithoutTheLibrariesVideoFailsAtStartWithTheReason) {
    ffmpeg_testing::ReplaceLibrary(FfmpegLibrary::Avcodec, kMissingLibrary);
    std::string error;
    EXPECT_EQ(VideoRecorder::Open(dir / "run.mp4", &error), nullptr);
    EXPECT_EQ(error.rfind(std::string("cannot load ") + kMissingLibrary, 0), 0u) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "run.mp4"));

    test::WriteFixtureData(dir.str());
    const auto options = ParseCommandLine({"--headless", "--no-logo", "--data", dir.str(),
                                           "--frames", "5", "--video", dir / "run.mp4"},
                                          &error);
    ASSERT_TRUE(options) << error;
    int logoPictures = 0;
    auto platform = std::make_unique<LogoCountingPlatform>(&logoPictures);
    platform->SetUserFolder(dir / "home");
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(*options, std::move(platform)), kExitStartupFailed);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("zoa_noli: cannot record " + (dir / "run.mp4") + ": cannot load " +
                       kMissingLibrary),
              std::string::npos)
        << err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "run.mp4"));
}

// The game program, which links no FFmpeg library, loads them itself: it plays
// the logo and records it with the rest.
TEST_F(FfmpegLoading, TheGameProgramLoadsFfmpegToPlayTheLogoAndRecord) {
    WriteDataWithLogo();
    // Pictures recorded in a run of 20 frames, with or without the logo.
    const auto record = [&](const std::string& name, const std::string& more) {
        const std::string video = dir / name;
        const std::string errFile = dir / (name + ".err");
        const std::string command = "ASAN_OPTIONS=detect_leaks=0 " + std::string(ZOA_GAME_BINARY) +
                                    " --headless --frames 20 --data " + dir.str() + " --save-dir " +
                                    (dir / "home") + " --video " + video + " " + more + " 2>" +
                                    errFile + " >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        const std::string err = test::ReadText(errFile);
        EXPECT_EQ(err.find("logo is skipped"), std::string::npos) << err;
        EXPECT_GT(std::filesystem::file_size(video), 1000u);
        const int pictures = PicturesRecorded(err);
        EXPECT_GT(pictures, 0) << err;
        return pictures;
    };
    const int withLogo = record("logo.mp4", "");
    const int withoutLogo = record("nologo.mp4", "--no-logo");
    EXPECT_GT(withoutLogo, 20);
    EXPECT_GE(withLogo, withoutLogo + 3) << "the logo's three frames";
}

}  // namespace
}  // namespace zoa
