#include "play/fade.h"

#include "gfx/display.h"
#include "platform/platform.h"
#include "sim/game_state.h"

namespace zoa {

namespace {

void WaitPastFrameInterval(platform::Platform& p, uint32_t since) {
    for (;;) {
        const uint32_t passed = p.Now() - since;
        if (passed > game.Time_Chai) return;
        p.Sleep(game.Time_Chai - passed + 1);
    }
}

// value x k / steps, computed wide so that no step count can overflow it.
uint8_t Scaled(uint8_t value, int32_t k, int32_t steps) {
    return static_cast<uint8_t>(int64_t{value} * k / steps);
}

}  // namespace

void FadePalette(int32_t first, int32_t last, int32_t stride, int32_t steps, int32_t mode) {
    if (!g_display) return;
    const Palette& master = g_display->palette;
    if (mode == kFadeRestore) {
        g_display->SetPaletteEntries(master);
        return;
    }
    if (mode != kFadeOut && mode != kFadeIn) return;
    // Guard the arithmetic against callers' mistakes: no division by zero, no
    // endless walk, no entry outside the palette.
    if (steps < 1) steps = 1;
    if (stride < 1) stride = 1;
    if (first < 0) first = 0;
    if (last > kPaletteSize - 1) last = kPaletteSize - 1;

    Palette working = master;
    for (PaletteEntry& e : working) e.flags = 0;
    platform::Platform* p = platform::Current();
    uint32_t previous = p ? p->Now() : 0;
    for (int64_t i = 0; i <= steps; ++i) {
        const auto k = static_cast<int32_t>(mode == kFadeOut ? steps - i : i);
        if (i > 0 && p) {
            WaitPastFrameInterval(*p, previous);
            previous = p->Now();
        }
        for (int32_t n = first; n <= last; n += stride) {
            working[n].red = Scaled(master[n].red, k, steps);
            working[n].green = Scaled(master[n].green, k, steps);
            working[n].blue = Scaled(master[n].blue, k, steps);
        }
        g_display->SetPaletteEntries(working);
    }
}

void FadeOutUntilTimer() {
    FadeScreen(kFadeOut);
    if (platform::Platform* p = platform::Current()) p->SetTimer(kFadeInTimer, kFadeInDelayMs);
}

}  // namespace zoa
