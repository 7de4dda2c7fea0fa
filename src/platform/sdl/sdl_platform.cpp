#include "platform/sdl/sdl_platform.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "platform/data_path.h"
#include "platform/message.h"
#include "platform/sdl/sdl_audio_out.h"

namespace zoa::platform {

namespace {

// Room left for the window's frame and the desktop's panels when the window
// scale is chosen to fit.
constexpr int kWindowFrameAllowance = 40;
constexpr uint32_t kRefreshMs = 16;
#ifdef __EMSCRIPTEN__
// A wait for a message alone (nothing due) still wakes this often, as the
// browser delivers events only while the program sleeps.
constexpr uint32_t kLongestPageWaitMs = 50;
#endif

// True when the renderer draws with OpenGL but the driver behind it is a
// rasteriser running on the CPU (no graphics card, or none the system can use,
// as on a virtual display). Every frame then runs compiled shader code on the
// CPU; SDL's own software renderer shows the same picture for a fraction of it.
bool OpenGlOnTheCpu(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
    if (!name) return false;
    const std::string driver(reinterpret_cast<const char*>(name));
    for (const char* cpu : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"})
        if (driver.find(cpu) != std::string::npos) return true;
    return false;
}

// A graphics driver the window could draw with shows up as a render node.
bool HasGraphicsRenderNode() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    return false;
}

void DrawInSoftware() {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

// When the window loses the focus, SDL lets go of every key it thinks is held
// and queues a release for each, just ahead of the focus-lost event. Those
// releases are not the player's: a key let go while the game is in the
// background stays held for the game until it is pressed and released again.
// True when the events still waiting after a release are more releases and
// then the focus loss.
constexpr int kReleasesLookedAt = 64;
bool FocusLossFollows() {
    std::array<SDL_Event, kReleasesLookedAt> ahead;
    const int count = SDL_PeepEvents(ahead.data(), kReleasesLookedAt, SDL_PEEKEVENT, SDL_FIRSTEVENT,
                                     SDL_LASTEVENT);
    for (int i = 0; i < count; ++i) {
        const SDL_Event& e = ahead[static_cast<size_t>(i)];
        if (e.type == SDL_KEYUP) continue;
        return e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_LOST;
    }
    return false;
}

void Warn(const std::vector<std::string>& warnings) {
    for (const std::string& w : warnings) std::fprintf(stderr, "zoa_noli: %s\n", w.c_str());
}

}  // namespace

SdlPlatform::SdlPlatform(const WindowOptions& options) : options_(options) {}

SdlPlatform::~SdlPlatform() {
    pads_.Stop();
    // The window goes first: stopping the audio system can take a moment.
    DestroyWindow();
    if (audioStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
}

bool SdlPlatform::OpenWindow(const char* title) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "zoa_noli: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    videoStarted_ = true;
    const Settings& s = settingsFile().settings;
    fullscreen_ = options_.fullscreen.value_or(s.fullscreen);
    vsync_ = s.vsync;
    scaling_ = s.scaling;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, s.filter == Filter::Smooth ? "1" : "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");

    int scale = s.windowScale;
    SDL_Rect usable;
    if (scale == 0) {
        scale = 1;
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
            scale = std::clamp(std::min(usable.w / kScreenWidth,
                                        (usable.h - kWindowFrameAllowance) / kScreenHeight),
                               1, Settings::kLargestWindowScale);
        }
    }
    // Without a graphics card to draw with, draw in software, straight into the
    // window (unless the player chose a renderer with SDL_RENDER_DRIVER).
    const bool chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (!chosen && !HasGraphicsRenderNode()) DrawInSoftware();
    if (!CreateWindowAndRenderer(title, scale)) return false;
    if (!chosen && OpenGlOnTheCpu(renderer_)) {
        DestroyWindow();
        DrawInSoftware();
        if (!CreateWindowAndRenderer(title, scale)) return false;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
    if (!texture_) {
        std::fprintf(stderr, "zoa_noli: cannot create the screen texture: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetTextureScaleMode(
        texture_, s.filter == Filter::Smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);

    std::vector<std::string> warnings;
    keys_.Bind(s.keys, &warnings);
    Warn(warnings);
    if (s.gamepad) pads_.Start(s);
    // A shown window is the active one, even where no window manager says so.
    SetActive(true);
    return true;
}

bool SdlPlatform::CreateWindowAndRenderer(const char* title, int scale) {
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
    const Uint32 sync = vsync_ ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer_ = SDL_CreateRenderer(window_, -1, sync);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | sync);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        std::fprintf(stderr, "zoa_noli: cannot draw into the window: %s\n", SDL_GetError());
        return false;
    }
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

void SdlPlatform::HideCursor() {
    SDL_ShowCursor(SDL_DISABLE);
}

void SdlPlatform::ShowCursor() {
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlPlatform::SetWindowTitle(const char* title) {
    if (window_) SDL_SetWindowTitle(window_, title);
}

uint32_t SdlPlatform::Now() {
    return SDL_GetTicks();
}

void SdlPlatform::ShowPicture(const uint8_t* pixels, const Palette& palette) {
    if (!texture_) return;
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &target, &pitch) != 0) return;
    ArgbTable colours;
    MakeArgbTable(palette, colours);
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* from = pixels + y * kScreenWidth;
        auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target) + y * pitch);
        for (int x = 0; x < kScreenWidth; ++x) to[x] = colours[from[x]];
    }
    SDL_UnlockTexture(texture_);
    Redraw();
}

void SdlPlatform::WaitForFlip() {
    // With vsync the picture itself waits for the refresh.
    if (vsync_ || !flipsPaced_) return;
    const uint32_t since = SDL_GetTicks() - lastFlip_;
    if (since < kRefreshMs) SDL_Delay(kRefreshMs - since);
    lastFlip_ = SDL_GetTicks();
}

void SdlPlatform::ShowTrueColor(const uint32_t* pixels) {
    if (!texture_) return;
    SDL_UpdateTexture(texture_, nullptr, pixels, kScreenWidth * static_cast<int>(sizeof(uint32_t)));
    Redraw();
}

std::unique_ptr<AudioOut> SdlPlatform::OpenAudioDevice(std::string* error) {
    // The audio system starts once and stays up until the platform ends, even
    // when no device opens: stopping it waits for the thread that watches for
    // devices, which sleeps a tenth of a second at a time, and on a machine
    // without sound that wait came right in the middle of start-up.
    if (!audioStarted_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            *error = SDL_GetError();
            return nullptr;
        }
        audioStarted_ = true;
    }
    return OpenSdlAudioOut(error);
}

Viewport SdlPlatform::PictureArea() const {
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    return FitPicture(kScreenWidth, kScreenHeight, outW, outH, scaling_);
}

void SdlPlatform::Redraw() {
    if (!renderer_ || !texture_) return;
    const Viewport v = PictureArea();
    const SDL_Rect dest{v.x, v.y, v.w, v.h};
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::ShowMessageBox(const char* text) {
    std::fprintf(stderr, "zoa_noli: %s\n", text);
    // The dummy and offscreen video drivers (tests) have no screen to show a box
    // on, and their window is no system window to own one: Windows' message box
    // would take it for one and crash.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "ZOA_NOLI", text, window_);
}

void SdlPlatform::ToggleFullscreen() {
    if (!window_) return;
    // The toggle starts from what the window shows, not from what the game
    // last asked for: a browser leaves full screen by itself on Escape (and a
    // window manager may too), and only SDL's window flags hear of it.
    fullscreen_ = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    Redraw();
    // The choice holds for the next start too.
    std::string error;
    if (!settingsFile().Set("fullscreen", fullscreen_ ? "yes" : "no", &error)) {
        std::fprintf(stderr, "zoa_noli: cannot remember the display mode: %s\n", error.c_str());
    }
}

void SdlPlatform::TakeScreenshot() {
    std::string error;
    const std::string path = SaveScreenshot(&error);
    if (path.empty()) {
        std::fprintf(stderr, "zoa_noli: no screenshot: %s\n", error.c_str());
    } else {
        std::fprintf(stderr, "zoa_noli: screenshot saved to %s\n", path.c_str());
    }
}

int32_t SdlPlatform::MousePoint(int windowX, int windowY) const {
    int winW = 1, winH = 1, outW = 1, outH = 1;
    SDL_GetWindowSize(window_, &winW, &winH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const Viewport v = PictureArea();
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
    // Alt+Enter and F11 belong to the window, F12 to the screenshot, F6 to F10
    // and Backspace to the practice tools; the game never sees them.
    if (code == SDLK_F11 || ((code == SDLK_RETURN || code == SDLK_KP_ENTER) && alt)) {
        if (down && !key.repeat) ToggleFullscreen();
        return;
    }
    if (code == SDLK_F12) {
        if (down && !key.repeat) TakeScreenshot();
        return;
    }
    // The practice tools' keys go to the tools, held or not, without repeats.
    if (const uint32_t tool = PracticeToolOfKey(code)) {
        if (!key.repeat)
            PostMessage({down ? MessageId::PracticeDown : MessageId::PracticeUp, tool, 0});
        return;
    }
    const uint32_t vk = keys_.Translate(code);
    if (vk == 0) return;
    if (!down && FocusLossFollows()) return;
    PostMessage({down ? MessageId::KeyDown : MessageId::KeyUp, vk, 0});
}

void SdlPlatform::HandleEvent(const SDL_Event& event) {
    if (pads_.HandleEvent(event)) return;
    switch (event.type) {
        case SDL_QUIT:
            PostCloseMessage();
            break;
        case SDL_KEYDOWN:
            HandleKey(event.key, true);
            break;
        case SDL_KEYUP:
            HandleKey(event.key, false);
            break;
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
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    SetActive(true);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    SetActive(false);
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    PostCloseMessage();
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    Redraw();
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

void SdlPlatform::PumpEvents() {
    if (!videoStarted_) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleEvent(event);
#ifdef __EMSCRIPTEN__
    pads_.FollowSticks();
#endif
    pads_.Repeat(SDL_GetTicks());
}

void SdlPlatform::WaitForEvents(uint32_t timeoutMs) {
    if (!videoStarted_) return;
    // A held pad button repeats on time, as a held key does.
    timeoutMs = std::min(timeoutMs, pads_.MsToNextRepeat(SDL_GetTicks()));
#ifdef __EMSCRIPTEN__
    // In the page SDL's wait would wake every millisecond to look for events.
    // Sleeping instead gives the browser its turn for the whole wait; the
    // events that come meanwhile are queued and handled before the next frame.
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return;
    emscripten_sleep(std::min(timeoutMs, kLongestPageWaitMs));
    return;
#endif
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
