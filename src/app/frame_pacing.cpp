#include "app/frame_pacing.h"

#include "platform/platform.h"
#include "sim/game_state.h"

namespace zoa {

namespace {
constexpr uint32_t kLongestIdleWait = 1000;
}

bool FrameDue(platform::Platform& p) {
    game.Time2 = p.Now() - game.LastFrameTime;
    return game.Time2 > game.Time_Chai;
}

void StartFrameClock(platform::Platform& p) {
    game.LastFrameTime = p.Now();
}

void WaitForNextFrame(platform::Platform& p) {
    const uint64_t due = uint64_t{game.Time_Chai} - game.Time2 + 1;
    p.WaitForMessage(static_cast<uint32_t>(due < kLongestIdleWait ? due : kLongestIdleWait));
}

}  // namespace zoa
