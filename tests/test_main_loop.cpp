#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

#include "app/game_app.h"
#include "flow_support.h"
#include "gfx/display.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "png_reader.h"
#include "sim/game_state.h"
#include "sound/sound_system.h"
#include "sound_fixture.h"
#include "test_support.h"

namespace zoa {
namespace {

using platform::Message;
using platform::MessageId;

TEST(MainLoop, FrameCounterWrapsPastOneHundredMillion) {
    test::GameRun run;
    run.options.frames = 4;
    std::vector<uint32_t> seen;
    run.onFrame = [&] {
        if (run.frames == 1)
            game.FrameCounter = 99999999;
        else
            seen.push_back(game.FrameCounter);
    };
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(seen, (std::vector<uint32_t>{100000000, 0, 1}));
}

TEST(MainLoop, AFrameStartsOnlyWhenMoreThanTheIntervalHasPassed) {
    test::GameRun run;
    run.options.frames = 20;
    std::vector<uint32_t> starts;
    run.onFrame = [&] {
        game.Time_Chai = 16;
        starts.push_back(game.LastFrameTime);
    };
    EXPECT_EQ(run.Run(), 0);
    ASSERT_EQ(starts.size(), 20u);
    for (size_t i = 2; i < starts.size(); ++i) EXPECT_EQ(starts[i] - starts[i - 1], 17u) << i;
}

TEST(MainLoop, TimeInTheBackgroundIsNeitherRunNorCounted) {
    test::GameRun run;
    run.At(100, MessageId::ActivateApp, 0);
    run.At(5100, MessageId::ActivateApp, 1);
    run.options.frames = 30;
    std::vector<uint32_t> starts;
    run.onFrame = [&] {
        game.Time_Chai = 16;
        starts.push_back(game.LastFrameTime);
    };
    EXPECT_EQ(run.Run(), 0);
    size_t resumed = 0;
    for (size_t i = 0; i < starts.size(); ++i) {
        EXPECT_FALSE(starts[i] > 100 && starts[i] < 5100) << starts[i];
        if (starts[i] >= 5100 && resumed == 0) resumed = i;
    }
    ASSERT_GT(resumed, 0u);
    // The first frame after coming back waits a whole interval: no burst.
    EXPECT_EQ(starts[resumed], 5117u);
    EXPECT_EQ(starts[resumed + 1], 5134u);
}

TEST(MainLoop, ATimerTickWhileInTheBackgroundWaitsForTheReturn) {
    test::GameRun run;
    run.At(50, MessageId::ActivateApp, 0);
    run.At(1000, MessageId::ActivateApp, 1);
    run.options.frames = 400;
    uint32_t restoredAt = 0;
    run.onFrame = [&] {
        if (run.frames == 1) {
            g_display->SetPaletteEntries(Palette{});  // as after a fade-out
            run.platform->SetTimer(1, 100);
        }
        if (restoredAt == 0 && g_display->ScreenPalette()[9].green != 0)
            restoredAt = run.platform->Now();
    };
    EXPECT_EQ(run.Run(), 0);
    EXPECT_GE(restoredAt, 1000u);
    EXPECT_LT(restoredAt, 1300u);
}

TEST(MainLoop, TheTitleShowsTheTitlePictureWithTheChosenItem) {
    test::GameRun run;
    run.options.frames = 3;
    std::vector<uint8_t> screen;
    run.onFrame = [&] {
        screen.assign(g_display->FrontBuffer(),
                      g_display->FrontBuffer() + kScreenWidth * kScreenHeight);
    };
    EXPECT_EQ(run.Run(), 0);
    ASSERT_EQ(screen.size(), static_cast<size_t>(kScreenWidth * kScreenHeight));
    const auto at = [&](int x, int y) { return screen[y * kScreenWidth + x]; };
    EXPECT_EQ(at(5, 5), test::FixturePixel(1, 5, 5));                // title sheet
    EXPECT_EQ(at(8, 8), TransparentIndex);                           // an opaque copy keeps 250
    EXPECT_EQ(at(19, 388), test::FixturePixel(2, 2, 301));           // highlight of "new game"
    EXPECT_EQ(at(18 + 7, 387 + 4), test::FixturePixel(1, 25, 391));  // keyed pixel shows the title
}

TEST(MainLoop, QuittingFromTheTitleFadesOutAndEndsTheRun) {
    test::GameRun run;
    for (uint32_t t : {10u, 20u, 30u, 40u})
        run.At(t, MessageId::KeyDown, 39);  // Right past the end
    run.At(50, MessageId::KeyDown, 18);     // Alt is taken by the window and changes nothing
    run.At(60, MessageId::KeyDown, 13);
    uint64_t framesAtEnd = 0;
    run.onFrame = [&] { framesAtEnd = run.frames; };
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(game.TitleChoice, 3);
    EXPECT_GE(framesAtEnd, 55u);
    EXPECT_LT(framesAtEnd, 65u);
}

// A run whose trace file cannot be written, and a run that ends normally,
// leave no device behind: the next run must not find the old platform,
// display or sound system.
TEST(MainLoop, EveryWayOutOfARunReleasesItsDevices) {
    {
        test::GameRun run;
        run.options.frames = 2;
        run.options.traceFile = run.dir.str() + "/no/such/folder/trace.jsonl";
        EXPECT_EQ(run.Run(), kExitOutputNotWritten);
        EXPECT_EQ(platform::Current(), nullptr);
    }
    test::GameRun run;
    run.options.frames = 5;
    run.onFrame = [&] {
        EXPECT_EQ(platform::Current(), run.platform);
        EXPECT_NE(g_display, nullptr);
        EXPECT_NE(g_soundSystem, nullptr);
    };
    EXPECT_EQ(run.Run(), kExitOk);
    EXPECT_EQ(run.frames, 5u);
    EXPECT_EQ(platform::Current(), nullptr);
    EXPECT_EQ(g_display, nullptr);
    EXPECT_EQ(g_soundSystem, nullptr);
}

// Messages queued behind the close (the player still pressing Enter on Quit,
// a focus change, a fade tick) reach a window that no longer exists: none of
// them may touch the display or the sound, which are gone.
TEST(MainLoop, NothingButTheQuitReachesADestroyedWindow) {
    test::GameRun run;
    for (uint32_t t : {10u, 20u, 30u}) run.At(t, MessageId::KeyDown, 39);  // to Quit
    run.At(40, MessageId::KeyDown, 13);
    run.At(60, MessageId::KeyDown, 13);  // pressed again while the screen fades
    run.At(60, MessageId::ActivateApp, 0);
    run.At(60, MessageId::ActivateApp, 1);
    run.At(60, MessageId::Timer, 1);
    run.At(60, MessageId::KeyUp, 13);
    run.At(60, MessageId::Close);
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(g_display, nullptr);
}

std::string ReadText(const std::string& path) {
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Runs the game program; stderr goes nowhere unless `args` ends by sending it somewhere.
int RunBinary(const std::string& args) {
    const bool own = args.find(" 2>") != std::string::npos;
    const std::string command =
        std::string(ZOA_GAME_BINARY) + " " + args + (own ? "" : " 2>/dev/null");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CommandLine, AHeadlessRunWritesItsDumpTraceAndScreenshot) {
    test::TempDir dir;
    test::WriteFixtureSheets(dir.str());
    test::WriteFixtureSounds(dir.str());
    const std::string d = dir.str();
    ASSERT_EQ(RunBinary("--headless --seed 7 --data " + d + " --frames 1000 --dump " + d +
                        "/dump.json --trace " + d + "/trace.jsonl --screenshot " + d + "/shot.png"),
              0);
    const std::string dump = ReadText(d + "/dump.json");
    EXPECT_EQ(dump.rfind("{\"frameCounter\": 1000, \"state\": {", 0), 0u) << dump.substr(0, 80);
    for (const char* key : {"\"Level\": 0", "\"Scr.x\": 0", "\"Time_Chai\": 0",
                            "\"TitleActive\": 1", "\"sprites\": [", "\"sounds\": ["}) {
        EXPECT_NE(dump.find(key), std::string::npos) << key;
    }
    std::istringstream trace(ReadText(d + "/trace.jsonl"));
    std::string line, last;
    int lines = 0;
    while (std::getline(trace, line)) {
        ++lines;
        last = line;
    }
    EXPECT_EQ(lines, 1000);
    EXPECT_EQ(last + "\n", dump);
    // "-" is standard output, for both: the trace's lines, then the dump.
    std::filesystem::remove("-");
    ASSERT_EQ(RunBinary("--headless --seed 7 --data " + d + " --frames 1000 --dump - --trace - >" +
                        d + "/out.txt"),
              0);
    EXPECT_EQ(ReadText(d + "/out.txt"), ReadText(d + "/trace.jsonl") + dump);
    EXPECT_FALSE(std::filesystem::exists("-"));  // in the folder the game ran in
    test::PngPicture png;
    ASSERT_TRUE(test::ReadPng(d + "/shot.png", png));
    EXPECT_EQ(png.width, 640);
    EXPECT_EQ(png.height, 480);
}

// --timings prints one line once the title is up.
TEST(CommandLine, TimingsTellTheStartUpOnceTheTitleIsUp) {
    test::TempDir dir;
    test::WriteFixtureSheets(dir.str());
    test::WriteFixtureSounds(dir.str());
    const std::string d = dir.str();
    ASSERT_EQ(
        RunBinary("--headless --no-logo --frames 3 --timings --data " + d + " >" + d + "/out.txt"),
        0);
    const std::string out = ReadText(d + "/out.txt");
    ASSERT_EQ(out.rfind("startup ", 0), 0u) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
    std::map<std::string, double> values;
    std::istringstream fields(out.substr(8));
    std::string field;
    while (fields >> field) {
        const size_t eq = field.find('=');
        ASSERT_NE(eq, std::string::npos) << field;
        values[field.substr(0, eq)] = std::stod(field.substr(eq + 1));
    }
    for (const char* name : {"main_unix_us", "title_unix_us", "window_ms", "logo_ms", "sheets_ms",
                             "sounds_ms", "title_ms"}) {
        ASSERT_EQ(values.count(name), 1u) << name;
        EXPECT_GE(values[name], 0.0) << name;
    }
    EXPECT_GT(values["main_unix_us"], 1.6e15);  // after 2020, in microseconds
    EXPECT_NEAR(values["title_unix_us"] - values["main_unix_us"], 1000 * values["title_ms"], 1000);
    EXPECT_GE(values["title_ms"] + 0.2,
              values["window_ms"] + values["logo_ms"] + values["sheets_ms"] + values["sounds_ms"]);
}

// A run that could not do what it was asked to never ends as a success, and
// says what went wrong so it can be put right.
TEST(CommandLine, FilesThatCannotBeWrittenAndStagesThatCannotStartEndInFailure) {
    test::TempDir dir;
    test::WriteFixtureSheets(dir.str());
    test::WriteFixtureSounds(dir.str());
    const std::string d = dir.str();
    const std::string run = "--headless --no-logo --frames 5 --data " + d;
    for (const char* option : {"--dump", "--screenshot", "--trace", "--record"}) {
        // The run still goes ahead: the files that can be written are written.
        std::filesystem::remove(d + "/ok.jsonl");
        EXPECT_EQ(RunBinary(run + " " + option + " " + d + "/no/such/folder/out" +
                            (option == std::string("--trace") ? " --dump " : " --trace ") + d +
                            "/ok.jsonl"),
                  1)
            << option;
        EXPECT_NE(ReadText(d + "/ok.jsonl").find("\"frameCounter\": 5"), std::string::npos)
            << option;
    }
    EXPECT_EQ(RunBinary(run + " --dump " + d + "/ok.json"), 0);
    EXPECT_EQ(RunBinary("--headless --frames 0 --data " + d), 2);

    const std::string err = " 2>" + d + "/err.txt";
    EXPECT_EQ(RunBinary("--headless --play 7 --frames 5 --data " + d + err), 1);
    EXPECT_NE(ReadText(d + "/err.txt")
                  .find("stage 7 cannot be started: " + d + "/data/map/stage7.map: no such file"),
              std::string::npos)
        << ReadText(d + "/err.txt");
    // The data folder itself named instead of the one that holds it.
    EXPECT_EQ(RunBinary("--headless --frames 5 --data " + d + "/data" + err), 1);
    EXPECT_NE(ReadText(d + "/err.txt").find("did you mean the folder above it?"), std::string::npos)
        << ReadText(d + "/err.txt");
    EXPECT_EQ(RunBinary("--headless --frames 5 --data " + d + "/data/nbm" + err), 1);
    EXPECT_EQ(ReadText(d + "/err.txt").find("did you mean"), std::string::npos);
}

TEST(CommandLine, BadOptionsAndMissingDataFailWithTheirOwnCodes) {
    test::TempDir dir;
    EXPECT_EQ(RunBinary("--headless --frobnicate"), 2);
    EXPECT_EQ(RunBinary("--headless --frames"), 2);
    EXPECT_EQ(RunBinary("--headless --seed -3"), 2);
    EXPECT_EQ(RunBinary("--headless --frames 10 --data " + dir.str()), 1);
    EXPECT_EQ(RunBinary("--help"), 0);
}

}  // namespace
}  // namespace zoa

namespace zoa {
namespace {

// The real window backend, on a virtual X server when one can be started.
TEST(SdlWindow, OpensAndRunsFramesUnderAVirtualScreen) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run is not installed";
    test::TempDir dir;
    test::WriteFixtureData(dir.str());
    const std::string d = dir.str();
    // With every file present no message box waits for a click.
    std::filesystem::create_directories(d + "/data/map");
    test::WriteBytes(d + "/data/map/Spt.T", std::vector<uint8_t>(6848, 0));
    const std::string command =
        "ASAN_OPTIONS=detect_leaks=0 SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -a " +
        std::string(ZOA_GAME_BINARY) + " --window --no-logo --frames 60 --data " + d + " --dump " +
        d + "/dump.json --screenshot " + d + "/shot.png 2>" + d + "/err.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadText(d + "/err.txt");
    EXPECT_NE(ReadText(d + "/dump.json").find("\"frameCounter\": 60"), std::string::npos);
    test::PngPicture png;
    ASSERT_TRUE(test::ReadPng(d + "/shot.png", png));
    EXPECT_EQ(png.pixels.size(), 640u * 480u);
}

}  // namespace
}  // namespace zoa
