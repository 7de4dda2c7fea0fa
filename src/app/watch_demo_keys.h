#pragma once
#include <cstdint>
#include <string>

#include "sim/demo_input.h"

namespace zoa {

// A recorded run that, from the title, moves right twice to the demo item,
// presses Enter and then waits out a demo of `demoFrames` frames and a few
// more: what a player does to watch the demo, as keys the replay can feed.
DemoInput KeysThatWatchTheDemo(uint32_t demoFrames);

// Reads the demo's length from `demoFile` and writes KeysThatWatchTheDemo for
// it to `path`. On failure, the reason in *error.
bool WriteKeysThatWatchTheDemo(const std::string& demoFile, const std::string& path,
                               uint32_t* demoFrames, std::string* error);

}  // namespace zoa
