#pragma once
#include <cstdint>

#include "platform/message.h"

namespace zoa {

namespace platform {
class Platform;
}

// The practice tools around a running stage: save and load a state, rewind,
// frame advance, an overlay of the keys held and the run's time. None of them
// changes a rule of play; they put the simulation back to an earlier value
// (and a recording with it) or hold it still. They act only while a stage is
// being played: not on the title, in the demo, during a fade or in the pause
// menu, and never while a recorded run is replayed.

// Every run begins with this: the settings' choices and a fresh history.
void StartPractice(platform::Platform& platform);
// The run is over: memory is given back.
void EndPractice();

// A PracticeDown / PracticeUp message.
void PracticeKey(platform::PracticeTool tool, bool down);

// A live game key went down or up (before it is recorded or handled): the
// tools keep track of the keys held, to hand them over after a rewind.
void PracticeNoteKey(uint32_t vk, bool down);

// The main loop, a frame being due: true when the practice tools take this
// frame's turn (a step back of a rewind is shown, or frame advance holds the
// game), so the game's frame does not run.
bool PracticeTakesFrame();
// After each frame of the main loop (the run's frame count already raised):
// the moment goes into the rewind history.
void PracticeFrameDone();

// The state file F6 writes and F7 reads, in the user folder's states/.
constexpr const char* kPracticeStateFile = "last.state";

}  // namespace zoa
