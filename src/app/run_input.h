#pragma once
#include <cstdint>
#include <string>

namespace zoa {

// Recorded runs. With --record every key press and release of the run is
// kept and written at the end in the demo input format; with --replay the keys
// of such a file are fed to the game instead of live ones. Both count the
// frames the game runs, the demo's included, from the first frame of the main
// loop (which with --play is the stage's first frame), and both hand a key to
// the game only once the next frame is due, right before it runs. A run and
// its replay therefore take the same steps at the same moments, and a
// headless replay with the run's seed ends in the same state.

// Forgets any recording, replay and start stage (every run begins with this).
void ResetRunInput();
void StartRecording();
// Loads the run to replay; false (with the reason) for a file that is not a
// demo input file.
bool StartReplay(const std::string& path, std::string* error);
// --play: the stage to start as a new game before the first frame.
void StartStageFirst(int32_t stage);

// Window procedure: true when a live key message belongs to the recorded run
// (it is recorded, or dropped during a replay) instead of going to the key
// handlers at once.
bool TakeLiveKey(bool pressed, uint32_t vk);

// Main loop, with a frame due: starts the --play stage before the first frame
// and feeds every key whose frame has come, in order. True when it did
// anything; the loop then handles the messages that caused before the frame.
// A --play stage that does not load ends the run with exit code 1.
bool BeforeFrame();

// After every frame of the main loop and of the demo. True once, when a
// replay has run all of its frames: the caller then closes the game.
bool CountRunFrame();

// The demo's loop: true when the recorded run's Escape ends the demo now.
bool RecordedRunEndsDemo();
// The demo's loop took an Escape message: true when it ends the demo (a live
// key does nothing during a replay).
bool TakeDemoEscape();

// The frames the recorded run has counted so far (see CountRunFrame).
uint32_t RunFramesPlayed();
// True while a recorded run is being replayed: live keys have no say.
bool ReplayingRun();

// The practice tools put play back to an earlier frame of this run (a rewind,
// a state saved in this run): the recording forgets every key from `frame`
// on and counts on from there, so it holds the timeline finally played.
void CutRecordingBack(uint32_t frame);
// Play was put into a state this recording cannot reach from its start (one
// saved in an earlier run): the recording ends here, saying so on stderr.
void EndRecordingHere(const char* why);

// Writes the recording, if there is one, replacing `path` only with a
// complete file. False (with the reason on stderr) when it cannot be written.
bool FinishRecording(const std::string& path);

}  // namespace zoa
