#include "platform/sdl/sdl_platform.h"

#include <algorithm>
#include <cstdio>

#include "platform/data_path.h"
#include "platform/message.h"
#include "platform/sdl/sdl_audio_out.h"
#include "platform/user_folder.h"

namespace zoa::platform {

namespace {

// Maps a key to the virtual-key code the game and its recorded input use.
// Zero for keys the game has no name for.
uint32_t VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<uint32_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<uint32_t>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + static_cast<uint32_t>(key - SDLK_F1);
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return vk::Enter;
        case SDLK_ESCAPE: return vk::Escape;
        case SDLK_SPACE: return vk::Space;
        case SDLK_LEFT: return vk::Left;
        case SDLK_UP: return vk::Up;
        case SDLK_RIGHT: return vk::Right;
        case SDLK_DOWN: return vk::Down;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return vk::Control;
        case SDLK_LALT:
        case SDLK_RALT: return vk::Menu;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 16;
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        default: return 0;
    }
}

}  // namespace

SdlPlatform::SdlPlatform(const WindowOptions& options) : options_(options) {
    fullscreen_ = options.fullscreen;
}

SdlPlatform::~SdlPlatform() {
    DestroyWindow();
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
}

bool SdlPlatform::OpenWindow(const char* title) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "zoa_noli: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    videoStarted_ = true;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");

    int scale = 1;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        scale = std::max(1, std::min(usable.w / kScreenWidth, (usable.h - 40) / kScreenHeight));
    }
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth * scale, kScreenHeight * scale, flags);
    if (!window_) {
        std::fprintf(stderr, "zoa_noli: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kScreenWidth / 2, kScreenHeight / 2);
    if (SDL_Surface* icon = SDL_LoadBMP(DataPath("data\\icon.bmp").c_str())) {
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        std::fprintf(stderr, "zoa_noli: cannot draw into the window: %s\n", SDL_GetError());
        return false;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
    if (!texture_) {
        std::fprintf(stderr, "zoa_noli: cannot create the screen texture: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    // A shown window is the active one, even where no window manager says so.
    SetActive(true);
    return true;
}

void SdlPlatform::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    PostMessage({MessageId::ActivateApp, active ? 1u : 0u, 0});
}

void SdlPlatform::DestroyWindow() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

void SdlPlatform::HideCursor() { SDL_ShowCursor(SDL_DISABLE); }

uint32_t SdlPlatform::Now() { return SDL_GetTicks(); }

void SdlPlatform::Present(const uint8_t* pixels, const Palette& palette) {
    if (!texture_) return;
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &target, &pitch) != 0) return;
    for (int y = 0; y < kScreenHeight; ++y) {
        ConvertToArgb(pixels + y * kScreenWidth, kScreenWidth, palette,
                      reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target) + y * pitch));
    }
    SDL_UnlockTexture(texture_);
    Redraw();
}

void SdlPlatform::WaitForFlip() {
    constexpr uint32_t kRefreshMs = 16;
    const uint32_t since = SDL_GetTicks() - lastFlip_;
    if (since < kRefreshMs) SDL_Delay(kRefreshMs - since);
    lastFlip_ = SDL_GetTicks();
}

void SdlPlatform::PresentTrueColor(const uint32_t* pixels) {
    if (!texture_) return;
    SDL_UpdateTexture(texture_, nullptr, pixels, kScreenWidth * static_cast<int>(sizeof(uint32_t)));
    Redraw();
}

std::unique_ptr<AudioOut> SdlPlatform::OpenAudioDevice(std::string* error) {
    return OpenSdlAudioOut(error);
}

void SdlPlatform::Redraw() {
    if (!renderer_ || !texture_) return;
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const Viewport v = FitPicture(kScreenWidth, kScreenHeight, outW, outH);
    const SDL_Rect dest{v.x, v.y, v.w, v.h};
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::ShowMessageBox(const char* text) {
    std::fprintf(stderr, "zoa_noli: %s\n", text);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "ZOA_NOLI", text, window_);
}

std::string SdlPlatform::UserFolder() {
    if (userFolder_.empty()) userFolder_ = DefaultUserFolder();
    return userFolder_;
}

void SdlPlatform::ToggleFullscreen() {
    if (!window_) return;
    fullscreen_ = !fullscreen_;
    SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    Redraw();
}

int32_t SdlPlatform::MousePoint(int windowX, int windowY) const {
    int winW = 1, winH = 1, outW = 1, outH = 1;
    SDL_GetWindowSize(window_, &winW, &winH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const Viewport v = FitPicture(kScreenWidth, kScreenHeight, outW, outH);
    if (v.w <= 0 || v.h <= 0 || winW <= 0 || winH <= 0) return 0;
    const int px = windowX * outW / winW;
    const int py = windowY * outH / winH;
    const int x = std::clamp((px - v.x) * kScreenWidth / v.w, 0, kScreenWidth - 1);
    const int y = std::clamp((py - v.y) * kScreenHeight / v.h, 0, kScreenHeight - 1);
    return PackPoint(x, y);
}

void SdlPlatform::HandleKey(const SDL_KeyboardEvent& key, bool down) {
    const SDL_Keycode code = key.keysym.sym;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    // Alt+Enter and F11 belong to the window, never to the game.
    if (code == SDLK_F11 || ((code == SDLK_RETURN || code == SDLK_KP_ENTER) && alt)) {
        if (down && !key.repeat) ToggleFullscreen();
        return;
    }
    const uint32_t vk = VirtualKey(code);
    if (vk == 0) return;
    PostMessage({down ? MessageId::KeyDown : MessageId::KeyUp, vk, 0});
}

void SdlPlatform::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT: PostCloseMessage(); break;
        case SDL_KEYDOWN: HandleKey(event.key, true); break;
        case SDL_KEYUP: HandleKey(event.key, false); break;
        case SDL_MOUSEMOTION:
            PostMessage({MessageId::MouseMove, 0, MousePoint(event.motion.x, event.motion.y)});
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = event.type == SDL_MOUSEBUTTONDOWN;
            const int32_t at = MousePoint(event.button.x, event.button.y);
            if (event.button.button == SDL_BUTTON_LEFT) {
                PostMessage({down ? MessageId::LButtonDown : MessageId::LButtonUp, 0, at});
            } else if (event.button.button == SDL_BUTTON_RIGHT) {
                PostMessage({down ? MessageId::RButtonDown : MessageId::RButtonUp, 0, at});
            }
            break;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED: SetActive(true); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: SetActive(false); break;
                case SDL_WINDOWEVENT_CLOSE: PostCloseMessage(); break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED: Redraw(); break;
                default: break;
            }
            break;
        default: break;
    }
}

void SdlPlatform::PumpEvents() {
    if (!videoStarted_) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleEvent(event);
}

void SdlPlatform::WaitForEvents(uint32_t timeoutMs) {
    if (!videoStarted_) return;
    if (timeoutMs == kWaitForever) {
        SDL_WaitEvent(nullptr);
    } else {
        SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint32_t>(timeoutMs, INT32_MAX)));
    }
}

std::unique_ptr<Platform> CreateSdlPlatform(const WindowOptions& options) {
    return std::make_unique<SdlPlatform>(options);
}

}  // namespace zoa::platform
