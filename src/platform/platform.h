#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "gfx/palette.h"
#include "platform/audio_out.h"
#include "platform/message_queue.h"

namespace zoa::platform {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr uint32_t kWaitForever = UINT32_MAX;

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

    // Millisecond clock; wraps like any unsigned 32-bit counter.
    virtual uint32_t Now() = 0;
    // Sleeps `ms` without looking at messages (they wait in the queue).
    virtual void Sleep(uint32_t ms) = 0;

    // Shows a finished 640 x 480 picture through the given palette.
    virtual void Present(const uint8_t* pixels, const Palette& palette) = 0;
    // A page flip waits for the screen: at most one flip per refresh. A frame
    // loop with no interval of its own (the title) thus runs at the screen's pace.
    virtual void WaitForFlip() = 0;
    // Shows a 640 x 480 true-colour picture (0xAARRGGBB pixels, rows top down),
    // for what is not drawn in the palette: the opening logo.
    virtual void PresentTrueColor(const uint32_t* pixels) = 0;

    virtual void ShowMessageBox(const char* text) = 0;

    // The per-user folder under which the save game lives (no trailing slash).
    virtual std::string UserFolder() = 0;

    virtual bool IsHeadless() const = 0;

    // Opens the sound output. When no device can be opened (the reason goes to
    // stderr once), or after DisableSound, the output is a silent one.
    std::unique_ptr<AudioOut> OpenAudio();
    void DisableSound() { soundDisabled_ = true; }

    // Message queue. Peek leaves the message in place; Get waits for one.
    bool PeekMessage(Message& out);
    bool GetMessage(Message& out);
    void PostMessage(const Message& message) { queue_.Post(message); }
    void PostQuitMessage(int32_t code) { PostMessage({MessageId::Quit, static_cast<uint32_t>(code), 0}); }
    void PostCloseMessage() { PostMessage({MessageId::Close, 0, 0}); }

    // Sleeps until a message is waiting or `timeoutMs` has passed.
    void WaitForMessage(uint32_t timeoutMs);

    // Window timers, delivered as Timer messages with the id in wParam.
    void SetTimer(uint32_t id, uint32_t periodMs);
    void KillTimer(uint32_t id);
    bool TimerRunning(uint32_t id) const;

    MessageQueue& Queue() { return queue_; }

protected:
    // Moves pending system events into the queue.
    virtual void PumpEvents() = 0;
    // Sleeps at most `timeoutMs` or until a system event arrives.
    virtual void WaitForEvents(uint32_t timeoutMs) = 0;
    // The sound device, or null (with the reason in *error) when there is none.
    virtual std::unique_ptr<AudioOut> OpenAudioDevice(std::string* error) = 0;

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
};

// The backend in use: set at start-up, read by the few free functions (the
// message box) that reach the platform without a pointer of their own.
void SetCurrent(Platform* platform);
Platform* Current();

std::unique_ptr<Platform> CreateHeadlessPlatform();
struct WindowOptions {
    bool fullscreen = true;
};
std::unique_ptr<Platform> CreateSdlPlatform(const WindowOptions& options);

}  // namespace zoa::platform
