#pragma once

#include "sim/demo_input.h"

namespace zoa {

// Hands one recorded key event to the key handlers: a press to OnKeyDown with
// its key-down code, a release to OnKeyUp with its key-up code; any other kind
// does nothing.
void FeedRecord(const InputRecord& record);

// Runs the demo stage with the recorded keys of demoInput until its frames are
// used up. It keeps its own loop: messages are taken off the queue and dropped,
// except that Escape ends the demo and a request to close the window ends it
// and then goes ahead. Before each frame every record whose frame has come is
// fed, in file order. The demo's frames are not counted in FrameCounter.
void ReplayDemo();

}  // namespace zoa
