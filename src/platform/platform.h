#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/palette.h"
#include "platform/audio_out.h"
#include "platform/message_queue.h"
#include "platform/screen_size.h"
#include "platform/settings.h"

namespace zoa::platform {

using zoa::kScreenHeight;
using zoa::kScreenWidth;
constexpr uint32_t kWaitForever = UINT32_MAX;

// Receives every picture the moment it is shown (the video recorder), with
// the millisecond clock's reading at that moment.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    virtual void OnPicture(const uint8_t* pixels, const Palette& palette, uint32_t ms) = 0;
    virtual void OnTrueColor(const uint32_t* pixels, uint32_t ms) = 0;
};

// What the game needs of the operating system: one window showing a 640 x 480
// 8-bit picture, a message queue, a millisecond clock, one kind of window
// timer, message boxes and a per-user folder. A backend fills in the parts that
// touch the system; the queue and the timers are shared here.
class Platform {
  public:
    virtual ~Platform() = default;

    // Creates and shows the game window. False (with a reason on stderr) when
    // there is no way to show it.
    virtual bool OpenWindow(const char* title) = 0;
    virtual void DestroyWindow() = 0;
    virtual void HideCursor() = 0;
    // The stage editor shows the mouse cursor and names its file in the title.
    virtual void ShowCursor() {}
    virtual void SetWindowTitle(const char* /*title*/) {}

    // Millisecond clock; wraps like any unsigned 32-bit counter.
    virtual uint32_t Now() = 0;
    // Sleeps `ms` without looking at messages (they wait in the queue).
    virtual void Sleep(uint32_t ms) = 0;

    // Shows a finished 640 x 480 picture through the given palette.
    void Present(const uint8_t* pixels, const Palette& palette);
    // A page flip waits for the screen: at most one flip per refresh. A frame
    // loop with no interval of its own (the title) thus runs at the screen's pace.
    // Until PaceFlips is called (when the game's frames start) pictures go up
    // at once: while the game loads nothing moves, and waiting only delays the
    // title.
    virtual void WaitForFlip() = 0;
    void PaceFlips() { flipsPaced_ = true; }
    // Lines of text shown over every 8-bit picture in the window and in what
    // the frame sink gets (a --video), but never in the picture itself:
    // screenshots and the game's frames stay as the game drew them. Lines
    // left empty show nothing; with all empty there is no overlay. The
    // strings are kept and reused, so setting them each frame costs nothing.
    static constexpr int kOverlayLines = 6;
    std::string& OverlayLine(int line) { return overlay_[static_cast<size_t>(line)]; }

    // Shows a 640 x 480 true-colour picture (0xAARRGGBB pixels, rows top down),
    // for what is not drawn in the palette: the opening logo.
    void PresentTrueColor(const uint32_t* pixels);

    virtual void ShowMessageBox(const char* text) = 0;

    // The per-user folder under which the save game lives (no trailing slash):
    // the one set at start-up, else $XDG_DATA_HOME/zoa_noli.
    std::string UserFolder();
    void SetUserFolder(const std::string& folder) { userFolder_ = folder; }
    bool HasUserFolder() const { return !userFolder_.empty(); }

    // The settings of this run, read by start-up before the window opens.
    SettingsFile& settingsFile() { return settings_; }

    // Every shown picture also goes to `sink` (null: to nothing).
    void SetFrameSink(FrameSink* sink) { frameSink_ = sink; }
    // Writes the picture on screen as a PNG into <user folder>/screenshots;
    // its path, or "" (with the reason in *error).
    std::string SaveScreenshot(std::string* error);
    uint64_t presentCount() const { return presents_; }
    // The last true-colour picture shown (empty before the first).
    const std::vector<uint32_t>& lastTrueColor() const { return trueColor_; }

    // Opens the sound output. When no device can be opened (the reason goes to
    // stderr once), or after DisableSound, the output is a silent one.
    std::unique_ptr<AudioOut> OpenAudio();
    void DisableSound() { soundDisabled_ = true; }

    // Message queue. Peek leaves the message in place.
    bool PeekMessage(Message& out);
    void PostMessage(const Message& message) { queue_.Post(message); }
    void PostQuitMessage(int32_t code) {
        PostMessage({MessageId::Quit, static_cast<uint32_t>(code), 0});
    }
    void PostCloseMessage() { PostMessage({MessageId::Close, 0, 0}); }

    // Sleeps until a message is waiting or `timeoutMs` has passed.
    void WaitForMessage(uint32_t timeoutMs);

    // Window timers, delivered as Timer messages with the id in wParam.
    void SetTimer(uint32_t id, uint32_t periodMs);
    void KillTimer(uint32_t id);
    bool TimerRunning(uint32_t id) const;

    MessageQueue& Queue() { return queue_; }

  protected:
    // The backend's part of Present and PresentTrueColor.
    virtual void ShowPicture(const uint8_t* pixels, const Palette& palette) = 0;
    virtual void ShowTrueColor(const uint32_t* pixels) = 0;
    // Moves pending system events into the queue.
    virtual void PumpEvents() = 0;
    // Sleeps at most `timeoutMs` or until a system event arrives.
    virtual void WaitForEvents(uint32_t timeoutMs) = 0;
    // The sound device, or null (with the reason in *error) when there is none.
    virtual std::unique_ptr<AudioOut> OpenAudioDevice(std::string* error) = 0;

    bool flipsPaced_ = false;

  private:
    static constexpr int kTimers = 4;
    struct Timer {
        uint32_t id = 0;
        uint32_t period = 0;
        uint32_t due = 0;
        bool running = false;
    };

    void Refill();
    uint32_t MillisecondsToNextTimer();

    MessageQueue queue_;
    Timer timers_[kTimers];
    bool soundDisabled_ = false;
    std::string userFolder_;
    SettingsFile settings_;
    FrameSink* frameSink_ = nullptr;
    uint64_t presents_ = 0;
    // What is on screen, for screenshots: an 8-bit picture and its palette,
    // or (after PresentTrueColor) a true-colour one.
    std::vector<uint8_t> picture_;
    Palette pictureColours_{};
    std::vector<uint32_t> trueColor_;
    bool showingTrueColor_ = false;
    std::array<std::string, kOverlayLines> overlay_;
    std::vector<uint32_t> composed_;  // a picture with the overlay on it
};

// The backend in use: set at start-up, read by the few free functions (the
// message box) that reach the platform without a pointer of their own.
void SetCurrent(Platform* platform);
Platform* Current();

std::unique_ptr<Platform> CreateHeadlessPlatform();
// Choices of this run that go before the settings file (--window).
struct WindowOptions {
    std::optional<bool> fullscreen;
};
std::unique_ptr<Platform> CreateSdlPlatform(const WindowOptions& options);

}  // namespace zoa::platform
