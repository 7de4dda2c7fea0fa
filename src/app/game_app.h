#pragma once
#include <memory>

#include "app/command_line.h"
#include "platform/message.h"

namespace zoa {

namespace platform {
class Platform;
}

// Start-up, the window procedure and the frame-limited main loop. RunGame
// returns the process exit code: 0 after a normal end, nonzero when start-up
// fails (the reason is on stderr).
int RunGame(const Options& options);

// The same on a platform the caller made (tests use a headless one).
int RunGame(const Options& options, std::unique_ptr<platform::Platform> platform);

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitStartupFailed = 1;
constexpr int kExitUsage = 2;
// A file asked for on the command line could not be written (after the run).
constexpr int kExitOutputNotWritten = 1;

// FrameCounter wraps to 0 once it would pass this.
constexpr uint32_t kFrameCounterLimit = 100000000;

// Hands one message to its handler, as the window procedure does.
void WindowProcedure(const platform::Message& message);

// Tests and the --frames/--trace options observe the loop through this hook,
// called after every main-loop frame.
using AfterFrameHook = void (*)(void* context);
void SetAfterFrameHook(AfterFrameHook hook, void* context);

}  // namespace zoa
