#pragma once
#include <cstdint>

namespace zoa {

enum FadeMode : int32_t { kFadeRestore = 0, kFadeOut = 1, kFadeIn = 2 };

// Window timer 1, set right after a fade-out (a stage start, a lost life): its
// first tick, a second later, fades the screen back in.
constexpr uint32_t kFadeInTimer = 1;
constexpr uint32_t kFadeInDelayMs = 1000;

// Fades the screen palette between black and the loaded palette in `steps`
// steps (restore: back to the loaded palette at once). Each step waits until
// more than Time_Chai ms have passed since the previous one; no frame runs and
// no message is handled meanwhile.
void FadePalette(int32_t first, int32_t last, int32_t stride, int32_t steps, int32_t mode);

// The fade every caller uses: all 256 entries, 100 steps.
inline void FadeScreen(int32_t mode) {
    FadePalette(0, 255, 1, 100, mode);
}

// A stage start or a lost life: the screen fades out, and timer 1 is set to
// bring it back a second later.
void FadeOutUntilTimer();

}  // namespace zoa
