#include "app/practice_overlay.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/practice_run_timer.h"
#include "platform/platform.h"

namespace zoa {

namespace {
constexpr int kShownSplits = 3;
}  // namespace

void PracticeOverlay::Notice(std::string text) {
    notice_ = std::move(text);
    noticeTurns_ = kNoticeTurns;
}

bool PracticeOverlay::TakeChanged() {
    return std::exchange(changed_, false);
}

void PracticeOverlay::SetLine(platform::Platform& platform, int line, const char* text) {
    std::string& shown = platform.OverlayLine(line);
    if (shown == text) return;
    shown.assign(text);
    changed_ = true;
}

// Each line is made whole before it is compared with the one shown, so a line
// that stays the same is no change.
void PracticeOverlay::Update(platform::Platform& platform, const HeldKeys& keys,
                             const RunTimer& timer, uint32_t now) {
    constexpr int kLines = platform::Platform::kOverlayLines;
    char text[kLines][96] = {};
    if (shown_) {
        std::snprintf(text[0], sizeof text[0], "KEYS %s %s %s %s %s %s", keys.left ? "<" : ".",
                      keys.right ? ">" : ".", keys.up ? "^" : ".", keys.down ? "V" : ".",
                      keys.jump ? "JUMP" : "....", keys.throws ? "THROW" : ".....");
        if (timer.Timing()) {
            std::snprintf(text[1], sizeof text[1], "STAGE %d %u  TOTAL %u", timer.Level(),
                          timer.StageFrames(now), timer.TotalFrames(now));
        }
        const auto& splits = timer.Splits();
        const size_t count = std::min<size_t>(splits.size(), kShownSplits);
        for (size_t i = 0; i < count; ++i) {
            const RunTimer::Split& sp = splits[splits.size() - count + i];
            std::snprintf(text[2 + i], sizeof text[0], "SPLIT %d %u  BEST %u", sp.level, sp.frames,
                          timer.Best(sp.level));
        }
    }
    for (int line = 0; line < kLines - 1; ++line) SetLine(platform, line, text[line]);
    const bool noticeShown = noticeTurns_ > 0;
    if (noticeShown) --noticeTurns_;
    SetLine(platform, kLines - 1, noticeShown ? notice_.c_str() : "");
}

void PracticeOverlay::Clear(platform::Platform& platform) {
    for (int line = 0; line < platform::Platform::kOverlayLines; ++line)
        SetLine(platform, line, "");
}

}  // namespace zoa
