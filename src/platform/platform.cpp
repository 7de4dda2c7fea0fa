#include "platform/platform.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "files/png_writer.h"
#include "files/utf8_path.h"
#include "platform/message_box.h"
#include "platform/overlay_text.h"
#include "platform/paths.h"
#include "platform/present.h"
#include "platform/user_folder.h"

namespace zoa::platform {

namespace {
Platform* g_current = nullptr;
}

void SetCurrent(Platform* platform) {
    g_current = platform;
}
Platform* Current() {
    return g_current;
}

void Platform::Refill() {
    PumpEvents();
    if (!queue_.Empty()) return;
    // Like the system's own timers, a tick is made only when nothing else waits,
    // and a late timer delivers one tick, not a burst.
    const uint32_t now = Now();
    for (Timer& timer : timers_) {
        if (timer.running && static_cast<int32_t>(now - timer.due) >= 0) {
            timer.due = now + timer.period;
            queue_.Post({MessageId::Timer, timer.id, 0});
            return;
        }
    }
}

bool Platform::PeekMessage(Message& out) {
    Refill();
    return queue_.Peek(out);
}

uint32_t Platform::MillisecondsToNextTimer() {
    uint32_t wait = kWaitForever;
    const uint32_t now = Now();
    for (const Timer& timer : timers_) {
        if (!timer.running) continue;
        const int32_t left = static_cast<int32_t>(timer.due - now);
        const uint32_t ms = left > 0 ? static_cast<uint32_t>(left) : 0;
        if (ms < wait) wait = ms;
    }
    return wait;
}

void Platform::WaitForMessage(uint32_t timeoutMs) {
    Refill();
    if (!queue_.Empty()) return;
    const uint32_t timer = MillisecondsToNextTimer();
    WaitForEvents(timer < timeoutMs ? timer : timeoutMs);
}

void Platform::SetTimer(uint32_t id, uint32_t periodMs) {
    Timer* slot = nullptr;
    for (Timer& timer : timers_) {
        if (timer.running && timer.id == id) slot = &timer;
    }
    for (Timer& timer : timers_) {
        if (!slot && !timer.running) slot = &timer;
    }
    if (!slot) return;
    *slot = Timer{id, periodMs, Now() + periodMs, true};
}

void Platform::KillTimer(uint32_t id) {
    for (Timer& timer : timers_) {
        if (timer.id == id) timer.running = false;
    }
}

std::unique_ptr<AudioOut> Platform::OpenAudio() {
    if (!soundDisabled_) {
        std::string error;
        if (auto device = OpenAudioDevice(&error)) return device;
        // A machine without sound still plays the game, silently. Having failed
        // once, later openings (the logo's, then the sounds') do not try again.
        soundDisabled_ = true;
        if (!error.empty()) {
            std::fprintf(stderr, "zoa_noli: no sound device (%s); playing silently\n",
                         error.c_str());
        }
    }
    return CreateSilentAudioOut();
}

void Platform::Present(const uint8_t* pixels, const Palette& palette) {
    ++presents_;
    picture_.assign(pixels, pixels + kScreenWidth * kScreenHeight);
    pictureColours_ = palette;
    showingTrueColor_ = false;
    bool overlay = false;
    for (const std::string& line : overlay_) overlay = overlay || !line.empty();
    if (!overlay) {
        if (frameSink_) frameSink_->OnPicture(pixels, palette, Now());
        ShowPicture(pixels, palette);
        return;
    }
    constexpr int kScale = 2;
    constexpr int kMargin = 4;
    composed_.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    ConvertToArgb(pixels, kScreenWidth * kScreenHeight, palette, composed_.data());
    // At the bottom left, over the ground, clear of the HUD's bars and labels.
    int lines = 0;
    for (const std::string& line : overlay_) lines += !line.empty();
    int y = kScreenHeight - kMargin - lines * OverlayLineHeight(kScale);
    for (const std::string& line : overlay_) {
        if (line.empty()) continue;
        DrawOverlayText(composed_.data(), kScreenWidth, kScreenHeight, kMargin, y, line, kScale);
        y += OverlayLineHeight(kScale);
    }
    if (frameSink_) frameSink_->OnTrueColor(composed_.data(), Now());
    ShowTrueColor(composed_.data());
}

void Platform::PresentTrueColor(const uint32_t* pixels) {
    ++presents_;
    trueColor_.assign(pixels, pixels + kScreenWidth * kScreenHeight);
    showingTrueColor_ = true;
    if (frameSink_) frameSink_->OnTrueColor(pixels, Now());
    ShowTrueColor(pixels);
}

std::string Platform::UserFolder() {
    if (userFolder_.empty()) userFolder_ = DefaultUserFolder();
    return userFolder_;
}

std::string Platform::SaveScreenshot(std::string* error) {
    const auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return std::string();
    };
    if (picture_.empty() && trueColor_.empty()) return fail("nothing has been shown yet");
    const std::string user = UserFolder();
    if (user.empty()) return fail("no user folder to put screenshots in");
    const std::string folder = JoinPath(user, kScreenshotFolderName);
    if (!MakeFolders(folder)) return fail("cannot create " + folder);
    // Named by the time, with a number behind when that name is taken.
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string path;
    std::error_code ec;
    for (int n = 1;; ++n) {
        path = JoinPath(folder, std::string("zoa_noli-") + stamp +
                                    (n > 1 ? "-" + std::to_string(n) : "") + ".png");
        if (!std::filesystem::exists(files::FsPath(path), ec)) break;
    }
    const bool written =
        showingTrueColor_
            ? WriteRgbaPng(path, trueColor_.data(), kScreenWidth, kScreenHeight)
            : WritePng(path, picture_.data(), kScreenWidth, kScreenHeight, pictureColours_);
    if (!written) return fail("cannot write " + path);
    return path;
}

bool Platform::TimerRunning(uint32_t id) const {
    for (const Timer& timer : timers_) {
        if (timer.running && timer.id == id) return true;
    }
    return false;
}

}  // namespace zoa::platform

namespace zoa {

void ShowMessageBox(const char* text) {
    if (platform::Platform* p = platform::Current()) {
        p->ShowMessageBox(text);
    } else {
        std::fprintf(stderr, "%s\n", text);
    }
}

}  // namespace zoa
