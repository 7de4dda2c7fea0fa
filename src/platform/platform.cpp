#include "platform/platform.h"

#include <cstdio>

#include "platform/message_box.h"

namespace zoa::platform {

namespace {
Platform* g_current = nullptr;
}

void SetCurrent(Platform* platform) { g_current = platform; }
Platform* Current() { return g_current; }

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

bool Platform::GetMessage(Message& out) {
    while (!PeekMessage(out)) WaitForMessage(kWaitForever);
    return queue_.Take(out);
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
