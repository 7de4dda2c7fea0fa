#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zoa::platform {

// No window, no sound device, and a virtual clock that moves only when the game
// waits: each wait advances it by exactly the time waited, so thousands of
// frames run in milliseconds and every run repeats itself to the millisecond.
class HeadlessPlatform : public Platform {
  public:
    bool OpenWindow(const char* title) override;
    void DestroyWindow() override { windowOpen_ = false; }
    void HideCursor() override {}
    uint32_t Now() override { return clock_; }
    void Sleep(uint32_t ms) override { clock_ += ms; }
    void WaitForFlip() override {}
    void ShowMessageBox(const char* text) override;

    // Delivers `message` once the virtual clock reaches `atMs`. Messages must be
    // scheduled in time order.
    void ScheduleMessage(uint32_t atMs, const Message& message);
    void AdvanceClock(uint32_t ms) { clock_ += ms; }

    const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }

  protected:
    void ShowPicture(const uint8_t*, const Palette&) override {}
    void ShowTrueColor(const uint32_t*) override {}
    void PumpEvents() override;
    void WaitForEvents(uint32_t timeoutMs) override;
    // Headless runs never touch a sound device.
    std::unique_ptr<AudioOut> OpenAudioDevice(std::string*) override { return nullptr; }

  private:
    struct Scheduled {
        uint32_t at;
        Message message;
    };
    uint32_t clock_ = 0;
    bool windowOpen_ = false;
    std::vector<Scheduled> scheduled_;
    size_t nextScheduled_ = 0;
    std::vector<std::string> messageBoxes_;
};

}  // namespace zoa::platform
