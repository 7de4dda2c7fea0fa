// The command line and start-up around the game: --help, --version, --paths,
// the message for missing data, settings read at start, volumes.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "app/command_line.h"
#include "app/game_app.h"
#include "fake_audio_out.h"
#include "files/utf8_path.h"
#include "platform/headless/headless_platform.h"
#include "png_reader.h"
#include "sound_fixture.h"
#include "test_support.h"

namespace zoa {
namespace {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the game binary with `args` (and `env` before it); its exit code and output.
Result RunBinary(const std::string& args, const std::string& env = "") {
    test::TempDir dir;
    const std::string errFile = dir.str() + "/err.txt";
    const std::string command =
        "ASAN_OPTIONS=detect_leaks=0 " + env + " " + ZOA_GAME_BINARY + " " + args + " 2>" + errFile;
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const std::vector<uint8_t> err = test::ReadBytes(errFile);
    r.err.assign(err.begin(), err.end());
    return r;
}

int CountLines(const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

TEST(RunComforts, HelpAndVersionSayWhatTheyShould) {
    const Result help = RunBinary("--help");
    EXPECT_EQ(help.code, 0);
    for (const char* option : {"--config FILE", "--save-dir DIR", "--paths", "--video FILE",
                               "--data DIR", "--nosound", "F12"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const Result version = RunBinary("--version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("zoa_noli ") + ZOA_VERSION + "\n");
    for (const char* bad : {"--config", "--save-dir", "--video"}) {
        const Result r = RunBinary(std::string("--headless ") + bad);
        EXPECT_EQ(r.code, kExitUsage) << bad;
        EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;
    }
}

TEST(RunComforts, PathsNamesEveryFolderInUse) {
    test::TempDir dir;
    test::WriteFixtureData(dir.str());
    const std::string d = dir.str();
    Result r =
        RunBinary("--paths --data " + d + " --config " + d + "/my.ini --save-dir " + d + "/saves");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(CountLines(r.out), 6) << r.out;
    EXPECT_NE(r.out.find("data:        " + d + "/data  (--data)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("settings:    " + d + "/my.ini  (not written yet: defaults)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("saved game:  " + d + "/saves/temp/USER.MAP"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("screenshots: " + d + "/saves/screenshots"), std::string::npos) << r.out;

    // From the environment, and with an incomplete data folder named as such.
    std::filesystem::remove(dir.path() / "data/sound/B.WAV");
    std::filesystem::create_directories(d + "/cfg/zoa_noli");
    test::WriteBytes(d + "/cfg/zoa_noli/settings.ini", {'#', '\n'});
    r = RunBinary("--paths --data " + d,
                  "XDG_CONFIG_HOME=" + d + "/cfg XDG_DATA_HOME=" + d + "/xdg");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("sound/B.WAV is missing"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("settings:    " + d + "/cfg/zoa_noli/settings.ini  (read at start)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("user folder: " + d + "/xdg/zoa_noli"), std::string::npos) << r.out;
    // --paths only looks: it creates nothing.
    EXPECT_FALSE(std::filesystem::exists(d + "/xdg"));
}

TEST(RunComforts, MissingDataGivesOneMessageNamingTheFolderAndTheFirstFileMissing) {
    test::TempDir dir;
    const std::string d = dir.str();
    Result r = RunBinary("--headless --frames 5 --data " + d);
    EXPECT_EQ(r.code, kExitStartupFailed);
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("looked in " + d + "/data (no such folder)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nbm/SPl.nbm"), std::string::npos) << r.err;

    test::WriteFixtureSheets(d);
    r = RunBinary("--headless --frames 5 --data " + d);
    EXPECT_EQ(r.code, kExitStartupFailed);
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("looked in " + d + "/data;"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("sound/A.WAV"), std::string::npos) << r.err;
}

TEST(RunComforts, ABadSettingsFileIsReportedByLineAndTheGameStartsAnyway) {
    test::TempDir dir;
    test::WriteFixtureData(dir.str());
    const std::string d = dir.str();
    const std::string text = "music_volume = 40\nwindow_scale = huge\nsparkles = on\n";
    test::WriteBytes(d + "/bad.ini", std::vector<uint8_t>(text.begin(), text.end()));
    const Result r =
        RunBinary("--headless --no-logo --frames 5 --data " + d + " --config " + d + "/bad.ini");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find(d + "/bad.ini:2: 'huge' is not auto or 1 to 4 for window_scale"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(d + "/bad.ini:3: unknown setting 'sparkles' ignored"), std::string::npos)
        << r.err;
    // Reading it never rewrites it.
    const std::vector<uint8_t> after = test::ReadBytes(d + "/bad.ini");
    EXPECT_EQ(std::string(after.begin(), after.end()), text);
}

TEST(RunComforts, MusicVolumeIsTheLevelTracksAndEffectsVolumeEveryOtherSound) {
    test::TempDir dir;
    test::WriteFixtureData(dir.str());
    const std::string text = "music_volume = 30\neffects_volume = 85\n";
    test::WriteBytes(dir.str() + "/v.ini", std::vector<uint8_t>(text.begin(), text.end()));
    Options options;
    options.headless = true;
    options.noLogo = true;
    options.dataDir = dir.str();
    options.configFile = dir.str() + "/v.ini";
    options.saveDir = dir.str();
    options.frames = 2;
    test::AudioCalls calls;
    const std::map<int32_t, int32_t>& volumes = calls.volumes;
    ASSERT_EQ(RunGame(options, std::make_unique<test::FakeAudioPlatform>(&calls)), kExitOk);
    ASSERT_EQ(volumes.size(), 19u);
    for (const auto& [voice, percent] : volumes) EXPECT_EQ(percent, voice >= 16 ? 30 : 85) << voice;

    // Without a settings file nothing is turned down.
    options.configFile = dir.str() + "/none.ini";
    calls.volumes.clear();
    ASSERT_EQ(RunGame(options, std::make_unique<test::FakeAudioPlatform>(&calls)), kExitOk);
    for (const auto& [voice, percent] : volumes) EXPECT_EQ(percent, 100) << voice;
}

}  // namespace
}  // namespace zoa

namespace zoa {
namespace {

TEST(RunComforts, AScreenshotDuringTheLogoKeepsItsTrueColours) {
    test::TempDir dir;
    platform::HeadlessPlatform p;
    p.SetUserFolder(dir.str());
    std::vector<uint32_t> picture(640 * 480, 0xFF102030u);
    p.PresentTrueColor(picture.data());
    std::string error;
    const std::string path = p.SaveScreenshot(&error);
    ASSERT_FALSE(path.empty()) << error;
    const std::filesystem::path written = files::FsPath(path);
    EXPECT_TRUE(std::filesystem::equivalent(written.parent_path(),
                                            files::FsPath(dir.str()) / "screenshots"))
        << path;
    EXPECT_EQ(files::Utf8(written.filename()).rfind("zoa_noli-", 0), 0u) << path;
    test::PngPicture png;
    ASSERT_TRUE(test::ReadPng(path, png));
    EXPECT_EQ(png.colourType, 6);  // RGBA
    ASSERT_EQ(png.pixels.size(), 640u * 480u * 4u);
    for (size_t i = 0; i < png.pixels.size(); i += 4)
        ASSERT_EQ(std::vector<uint8_t>(png.pixels.begin() + i, png.pixels.begin() + i + 4),
                  (std::vector<uint8_t>{0x10, 0x20, 0x30, 0xFF}))
            << i / 4;
    // A user folder that cannot hold a screenshots folder: a reason, no file.
    test::WriteBytes(dir.str() + "/file", {1});
    p.SetUserFolder(dir.str() + "/file");
    EXPECT_EQ(p.SaveScreenshot(&error), "");
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

}  // namespace
}  // namespace zoa
