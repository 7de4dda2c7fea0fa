#pragma once
#include <SDL.h>

#include <vector>

#include "platform/platform.h"
#include "platform/present.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_pads.h"

namespace zoa::platform {

// The real window: the 640 x 480 picture through the palette, scaled as the
// settings say (sharp whole multiples by default), in desktop full screen or
// a window; keys, further bound keys and game controllers all arrive as the
// game's virtual keys.
class SdlPlatform : public Platform {
  public:
    explicit SdlPlatform(const WindowOptions& options);
    ~SdlPlatform() override;

    bool OpenWindow(const char* title) override;
    void DestroyWindow() override;
    void HideCursor() override;
    void ShowCursor() override;
    void SetWindowTitle(const char* title) override;
    uint32_t Now() override;
    void Sleep(uint32_t ms) override { SDL_Delay(ms); }
    void WaitForFlip() override;
    void ShowMessageBox(const char* text) override;

    bool fullscreen() const { return fullscreen_; }
    SDL_Window* window() const { return window_; }
    SDL_Renderer* renderer() const { return renderer_; }
    int padCount() const { return pads_.OpenCount(); }

  protected:
    void ShowPicture(const uint8_t* pixels, const Palette& palette) override;
    void ShowTrueColor(const uint32_t* pixels) override;
    void PumpEvents() override;
    void WaitForEvents(uint32_t timeoutMs) override;
    std::unique_ptr<AudioOut> OpenAudioDevice(std::string* error) override;

  private:
    void HandleEvent(const SDL_Event& event);
    void HandleKey(const SDL_KeyboardEvent& key, bool down);
    void ToggleFullscreen();
    void TakeScreenshot();
    void Redraw();
    Viewport PictureArea() const;
    bool CreateWindowAndRenderer(const char* title, int scale);
    void SetActive(bool active);
    int32_t MousePoint(int windowX, int windowY) const;

    WindowOptions options_;
    bool videoStarted_ = false;
    bool audioStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool fullscreen_ = true;
    bool vsync_ = false;
    ScaleMode scaling_ = ScaleMode::Integer;
    bool active_ = false;
    uint32_t lastFlip_ = 0;
    KeyMap keys_;
    SdlPads pads_{*this};
};

}  // namespace zoa::platform
