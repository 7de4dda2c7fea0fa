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
    void Present(const uint8_t* pixels, const Palette& palette) override;
    void WaitForFlip() override {}
    void PresentTrueColor(const uint32_t* pixels) override;
    void ShowMessageBox(const char* text) override;
    std::string UserFolder() override;
    bool IsHeadless() const override { return true; }

    // Delivers `message` once the virtual clock reaches `atMs`. Messages must be
    // scheduled in time order.
    void ScheduleMessage(uint32_t atMs, const Message& message);
    void SetUserFolder(const std::string& folder) { userFolder_ = folder; }
    void AdvanceClock(uint32_t ms) { clock_ += ms; }

    uint64_t presentCount() const { return presents_; }
    const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }
    // The last true-colour picture shown (empty before the first).
    const std::vector<uint32_t>& lastTrueColor() const { return trueColor_; }

protected:
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
    uint64_t presents_ = 0;
    std::vector<Scheduled> scheduled_;
    size_t nextScheduled_ = 0;
    std::vector<std::string> messageBoxes_;
    std::vector<uint32_t> trueColor_;
    std::string userFolder_;
};

}  // namespace zoa::platform
