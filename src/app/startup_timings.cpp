#include "app/startup_timings.h"

#include <chrono>
#include <cstdio>

namespace zoa {

namespace {

using Clock = std::chrono::system_clock;

struct Timeline {
    bool begun = false;
    bool titleShown = false;
    Clock::time_point begin{};
    Clock::time_point last{};
    Clock::time_point title{};
    double stepMs[StartupTimings::kStepCount] = {};
};

Timeline timeline;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

long long UnixMicroseconds(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

}  // namespace

void StartupTimings::Begin() {
    timeline = Timeline{};
    timeline.begun = true;
    timeline.begin = timeline.last = Clock::now();
}

void StartupTimings::Finished(Step step) {
    if (!timeline.begun || timeline.titleShown) return;
    const Clock::time_point now = Clock::now();
    timeline.stepMs[step] += MsBetween(timeline.last, now);
    timeline.last = now;
}

bool StartupTimings::TitleMayBeShown(bool titleUp) {
    if (!timeline.begun || timeline.titleShown || !titleUp) return false;
    timeline.titleShown = true;
    timeline.title = Clock::now();
    return true;
}

std::string StartupTimings::Line() {
    if (!timeline.titleShown) return {};
    char line[320];
    std::snprintf(line, sizeof line,
                  "startup main_unix_us=%lld title_unix_us=%lld window_ms=%.1f logo_ms=%.1f "
                  "sheets_ms=%.1f sounds_ms=%.1f title_ms=%.1f",
                  UnixMicroseconds(timeline.begin), UnixMicroseconds(timeline.title),
                  timeline.stepMs[kWindow], timeline.stepMs[kLogo], timeline.stepMs[kSheets],
                  timeline.stepMs[kSounds], MsBetween(timeline.begin, timeline.title));
    return line;
}

}  // namespace zoa
