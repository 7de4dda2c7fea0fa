#include "app/game_app.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "app/frame_pacing.h"
#include "app/input.h"
#include "app/output_file.h"
#include "app/practice.h"
#include "app/run_comforts.h"
#include "app/run_devices.h"
#include "app/run_input.h"
#include "app/startup_timings.h"
#include "app/state_json.h"
#include "editor/stage_editor.h"
#include "files/png_writer.h"
#include "files/utf8_path.h"
#include "gfx/display.h"
#include "platform/data_path.h"
#include "platform/platform.h"
#include "play/fade.h"
#include "play/load_sounds.h"
#include "play/run_frame.h"
#include "play/sheets.h"
#include "sim/game_state.h"
#include "sim/random.h"
#include "sim/simulation.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"
#include "sound/sound_system.h"
#include "video/logo_player.h"

namespace zoa {

namespace {

constexpr int32_t kLogoZoom = 2;
constexpr const char* kLogoPath = "data\\logo\\__Logo.avi";

struct App {
    RunDevices* devices = nullptr;
    platform::Platform* platform = nullptr;
    const Options* options = nullptr;
    AfterFrameHook afterFrame = nullptr;
    void* afterFrameContext = nullptr;
    uint64_t framesRun = 0;
    bool outputsWritten = false;
    // Set once the window is destroyed: messages already queued behind the
    // close are no longer the window's (the display and the sound are gone).
    bool windowDestroyed = false;
    // A file asked for on the command line could not be written: the run
    // goes on, but does not end as a success.
    bool outputFailed = false;
    OutputFile trace;
    std::string line;                     // reused for every trace line
    uint64_t tracedSounds = 0;            // sound log entries already in the trace
    std::unique_ptr<StageEditor> editor;  // --edit: the stage editor takes the run
};

App app;

// The Alt key alone is taken by the window's accelerator and never reaches
// the game (so it can never open a system menu either).
bool TranslateAccelerator(const platform::Message& m) {
    return (m.id == platform::MessageId::KeyDown || m.id == platform::MessageId::SysKeyDown) &&
           m.wParam == platform::vk::Menu;
}

void CannotWrite(const std::string& path) {
    std::fprintf(stderr, "zoa_noli: cannot write %s\n", path.c_str());
    app.outputFailed = true;
}

void WriteRunOutputs() {
    if (app.outputsWritten || !app.options) return;
    app.outputsWritten = true;
    if (!app.options->dumpFile.empty()) {
        std::string json;
        AppendStateJson(json);
        OutputFile dump;
        dump.Open(app.options->dumpFile);
        dump.Stream() << json << '\n';
        if (!dump.Close()) CannotWrite(app.options->dumpFile);
    }
    if (!app.options->screenshotFile.empty()) {
        const bool shown = g_display && g_display->FrontBuffer();
        if (!shown || !WritePng(app.options->screenshotFile, g_display->FrontBuffer(), kScreenWidth,
                                kScreenHeight, g_display->ScreenPalette())) {
            CannotWrite(app.options->screenshotFile);
        }
    }
    if (!app.options->recordFile.empty() && !FinishRecording(app.options->recordFile)) {
        app.outputFailed = true;
    }
}

// Ends the start-up measurement at the first picture of the title.
void NoteTitleShown() {
    if (StartupTimings::TitleMayBeShown(game.TitleActive != 0) && app.options &&
        app.options->timings) {
        std::printf("%s\n", StartupTimings::Line().c_str());
        std::fflush(stdout);
    }
}

void OnTimer() {
    if (!game.InputActive) return;
    FadeScreen(kFadeIn);
    FadeScreen(kFadeRestore);
    app.platform->KillTimer(kFadeInTimer);
}

void OnDestroy() {
    if (!game.InputActive) return;
    app.devices->ReleaseDisplayAndSound();
    app.platform->KillTimer(kFadeInTimer);
}

void AfterFrame() {
    ++app.framesRun;
    if (app.trace.IsOpen()) {
        app.line.clear();
        AppendStateJson(app.line, app.tracedSounds);
        app.tracedSounds = SoundLogTotal();
        app.line += '\n';
        app.trace.Stream() << app.line;
    }
    const bool replayOver = CountRunFrame();
    PracticeFrameDone();
    if (app.afterFrame) app.afterFrame(app.afterFrameContext);
    const bool framesDone =
        app.options && app.options->frames && app.framesRun == *app.options->frames;
    if (framesDone || replayOver) {
        if (app.editor) app.editor->AllowQuit();
        app.platform->PostCloseMessage();
    }
}

int MainLoop() {
    platform::Platform& p = *app.platform;
    platform::Message m;
    for (;;) {
        if (p.PeekMessage(m)) {
            p.Queue().Take(m);
            if (m.id == platform::MessageId::Quit) return static_cast<int>(m.wParam);
            if (!TranslateAccelerator(m)) WindowProcedure(m);
        } else if (game.AppActive) {
            if (FrameDue(p)) {
                // Recorded keys go in now; the messages they cause come before the frame.
                if (BeforeFrame()) continue;
                StartFrameClock(p);
                // From the first frame on, flips keep the screen's pace.
                p.PaceFlips();
                if (app.editor) {
                    app.editor->Frame();
                } else {
                    // A rewind's step back or a held frame advance instead of a frame.
                    if (PracticeTakesFrame()) continue;
                    RunFrame();
                }
                NoteTitleShown();
                game.FrameCounter += 1;
                if (game.FrameCounter > kFrameCounterLimit) game.FrameCounter = 0;
                AfterFrame();
            } else {
                WaitForNextFrame(p);
            }
        } else {
            p.WaitForMessage(platform::kWaitForever);
        }
    }
}

int StartupFailed(const char* why) {
    std::fprintf(stderr, "zoa_noli: %s\n", why);
    return kExitStartupFailed;
}

int StartAndRun(const Options& options) {
    platform::Platform& p = *app.platform;
    if (!p.OpenWindow("ZOA_NOLI")) return StartupFailed("cannot open the game window");
    game.DisplayReady = app.devices->OpenDisplay().IsReady();
    if (!game.DisplayReady) return StartupFailed("cannot set up the display");
    p.HideCursor();
    StartupTimings::Finished(StartupTimings::kWindow);
    // A missing or unreadable logo is skipped; closing the window during it ends the game.
    if (!options.noLogo && !options.playStage && !app.editor &&
        OpenLogo(&p, kScreenWidth, kScreenHeight, kLogoZoom, DataPath(kLogoPath))) {
        if (!RunLogo(&WindowProcedure)) return kExitOk;
    }
    StartupTimings::Finished(StartupTimings::kLogo);
    g_display->Clear(0);
    g_display->Flip();
    if (!LoadSheets()) return StartupFailed("cannot load the sprite sheets");
    StartupTimings::Finished(StartupTimings::kSheets);
    if (!LoadSounds(app.devices->sound)) return StartupFailed("cannot load the sounds");
    StartupTimings::Finished(StartupTimings::kSounds);
    SeedRandom(options.seed ? *options.seed : static_cast<uint32_t>(std::time(nullptr)));
    SetUpWorld();
    if (options.playStage) StartStageFirst(*options.playStage);
    if (app.editor) app.editor->Start(&p);
    return MainLoop();
}

}  // namespace

void SetAfterFrameHook(AfterFrameHook hook, void* context) {
    app.afterFrame = hook;
    app.afterFrameContext = context;
}

void WindowProcedure(const platform::Message& m) {
    using platform::MessageId;
    // A destroyed window receives nothing more; only the quit message, which
    // the loops take themselves, still ends the run.
    if (app.windowDestroyed) return;
    // While the logo plays, every message is its own.
    if (LogoPlaying()) {
        LogoMessage(m);
        return;
    }
    if (app.editor && app.editor->Message(m)) return;
    switch (m.id) {
        case MessageId::Destroy:
            WriteRunOutputs();
            OnDestroy();
            app.windowDestroyed = true;
            app.platform->PostQuitMessage(0);
            break;
        case MessageId::Close:
            // Closing destroys the window.
            WindowProcedure({MessageId::Destroy, 0, 0});
            app.platform->DestroyWindow();
            break;
        case MessageId::ActivateApp:
            game.AppActive = m.wParam != 0 ? 1 : 0;
            if (m.wParam != 0) game.LastFrameTime = app.platform->Now();
            // Sound holds while the game is in the background.
            if (g_soundSystem) g_soundSystem->Pause(m.wParam == 0);
            ReloadSheets(game.AppActive);
            // Keys let go while the window was in the background never say so.
            if (m.wParam == 0) PracticeKey(platform::PracticeTool::Rewind, false);
            if (m.wParam == 0) PracticeKey(platform::PracticeTool::StepFrame, false);
            NoteTitleShown();
            break;
        case MessageId::KeyDown:
            PracticeNoteKey(m.wParam, true);
            if (!TakeLiveKey(true, m.wParam)) OnKeyDown(m.wParam);
            break;
        case MessageId::KeyUp:
            PracticeNoteKey(m.wParam, false);
            if (!TakeLiveKey(false, m.wParam)) OnKeyUp(m.wParam);
            break;
        case MessageId::PracticeDown:
        case MessageId::PracticeUp:
            PracticeKey(static_cast<platform::PracticeTool>(m.wParam),
                        m.id == MessageId::PracticeDown);
            break;
        case MessageId::SysCommand:
            // The window's menu never opens from the keyboard.
            break;
        case MessageId::Timer:
            OnTimer();
            break;
        case MessageId::MouseMove:
            OnMouseMove(m.lParam);
            break;
        case MessageId::LButtonDown:
            OnLButtonDown();
            break;
        case MessageId::LButtonUp:
            OnLButtonUp();
            break;
        case MessageId::RButtonDown:
            OnRButtonDown(m.lParam);
            break;
        default:
            break;
    }
}

int RunGame(const Options& options, std::unique_ptr<platform::Platform> platform) {
    // Whatever way the run ends, its devices are released and nothing of it
    // stays reachable: the devices go first, then what the loop knew of them.
    struct Forget {
        ~Forget() { app = App{}; }
    } forget;
    RunDevices devices(std::move(platform));
    StartupTimings::Begin();
    ResetRunInput();
    std::string error;
    if (!options.replayFile.empty() && !StartReplay(options.replayFile, &error)) {
        std::fprintf(stderr, "zoa_noli: --replay: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!options.recordFile.empty()) StartRecording();
    sim = Simulation{};
    app.devices = &devices;
    app.platform = &devices.Platform();
    app.options = &options;
    app.framesRun = 0;
    app.outputsWritten = false;
    app.windowDestroyed = false;
    if (!options.editFile.empty()) {
        // A source with an error is refused before any window opens.
        app.editor = std::make_unique<StageEditor>();
        if (!app.editor->Open(options.editFile, &error)) {
            std::fprintf(stderr, "zoa_noli: %s\n", error.c_str());
            return kExitStartupFailed;
        }
    }
    RunComforts comforts;
    if (const int failed = comforts.Prepare(options, devices.Platform())) return failed;
    devices.MakeCurrent();
    // The practice tools end with the run, whichever way it ends, before its devices.
    // The editor's trial play is a short look at a stage being made: no tools there.
    if (!app.editor) StartPractice(devices.Platform());
    struct EndOfPractice {
        ~EndOfPractice() { EndPractice(); }
    } endOfPractice;
    if (options.noSound) devices.Platform().DisableSound();
    if (!options.traceFile.empty()) {
        app.trace.Open(options.traceFile);
        if (!app.trace.Stream()) CannotWrite(options.traceFile);
    }
    int code = StartAndRun(options);
    if (!comforts.Finish()) app.outputFailed = true;
    WriteRunOutputs();
    if (app.trace.IsOpen() && !app.trace.Close()) CannotWrite(options.traceFile);
    if (code == kExitOk && app.outputFailed) code = kExitOutputNotWritten;
    return code;
}

int RunGame(const Options& options) {
    if (options.headless) return RunGame(options, platform::CreateHeadlessPlatform());
    platform::WindowOptions window;
    if (options.window) window.fullscreen = false;
    return RunGame(options, platform::CreateSdlPlatform(window));
}

}  // namespace zoa
