#include "platform/headless/headless_platform.h"

#include <cstdio>

namespace zoa::platform {

bool HeadlessPlatform::OpenWindow(const char*) {
    windowOpen_ = true;
    // A shown window is activated once, at once.
    PostMessage({MessageId::ActivateApp, 1, 0});
    return true;
}

void HeadlessPlatform::ShowMessageBox(const char* text) {
    messageBoxes_.emplace_back(text);
    std::fprintf(stderr, "zoa_noli: %s\n", text);
}

void HeadlessPlatform::ScheduleMessage(uint32_t atMs, const Message& message) {
    scheduled_.push_back({atMs, message});
}

void HeadlessPlatform::PumpEvents() {
    while (nextScheduled_ < scheduled_.size() &&
           static_cast<int32_t>(clock_ - scheduled_[nextScheduled_].at) >= 0) {
        PostMessage(scheduled_[nextScheduled_].message);
        ++nextScheduled_;
    }
}

void HeadlessPlatform::WaitForEvents(uint32_t timeoutMs) {
    uint32_t wait = timeoutMs;
    if (nextScheduled_ < scheduled_.size()) {
        const int32_t left = static_cast<int32_t>(scheduled_[nextScheduled_].at - clock_);
        const uint32_t untilNext = left > 0 ? static_cast<uint32_t>(left) : 0;
        if (untilNext < wait) wait = untilNext;
    }
    if (wait == kWaitForever) {
        // Nothing can ever arrive: a headless run that waits forever would hang,
        // so it ends the way a closed window ends.
        std::fprintf(stderr, "zoa_noli: headless run is waiting for nothing; closing\n");
        PostCloseMessage();
        return;
    }
    clock_ += wait;
}

std::unique_ptr<Platform> CreateHeadlessPlatform() {
    return std::make_unique<HeadlessPlatform>();
}

}  // namespace zoa::platform
