#pragma once
#include <SDL.h>

#include <vector>

#include "platform/platform.h"
#include "platform/present.h"

namespace zoa::platform {

// The real window: the 640 x 480 picture through the palette, scaled with
// sharp pixels and kept in proportion, in desktop full screen or a window.
class SdlPlatform : public Platform {
public:
    explicit SdlPlatform(const WindowOptions& options);
    ~SdlPlatform() override;

    bool OpenWindow(const char* title) override;
    void DestroyWindow() override;
    void HideCursor() override;
    uint32_t Now() override;
    void Sleep(uint32_t ms) override { SDL_Delay(ms); }
    void Present(const uint8_t* pixels, const Palette& palette) override;
    void WaitForFlip() override;
    void PresentTrueColor(const uint32_t* pixels) override;
    void ShowMessageBox(const char* text) override;
    std::string UserFolder() override;
    bool IsHeadless() const override { return false; }

protected:
    void PumpEvents() override;
    void WaitForEvents(uint32_t timeoutMs) override;
    std::unique_ptr<AudioOut> OpenAudioDevice(std::string* error) override;

private:
    void HandleEvent(const SDL_Event& event);
    void HandleKey(const SDL_KeyboardEvent& key, bool down);
    void ToggleFullscreen();
    void Redraw();
    void SetActive(bool active);
    int32_t MousePoint(int windowX, int windowY) const;

    WindowOptions options_;
    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool fullscreen_ = true;
    bool active_ = false;
    uint32_t lastFlip_ = 0;
    std::string userFolder_;
};

}  // namespace zoa::platform
