#pragma once
#include <cstdint>

namespace zoa {

namespace platform {
class Platform;
}

// The frame clock the main loop and the demo share: a frame is due once more
// than Time_Chai ms have passed since the last one started.

// Updates Time2 (ms since the last frame started) and says whether a frame is due.
bool FrameDue(platform::Platform& p);

// The frame starts now.
void StartFrameClock(platform::Platform& p);

// Sleeps until the next frame is due or a message arrives, at most a second.
void WaitForNextFrame(platform::Platform& p);

}  // namespace zoa
