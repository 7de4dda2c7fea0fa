#include "app/run_input.h"

#include <cstdio>

#include "app/demo_replay.h"
#include "app/game_app.h"
#include "app/menus.h"
#include "gfx/display.h"
#include "platform/message.h"
#include "platform/platform.h"
#include "play/stage_loader.h"
#include "sim/demo_input.h"

namespace zoa {

namespace {

enum class Mode { kLive, kRecord, kReplay };

struct RunInput {
    Mode mode = Mode::kLive;
    DemoInput input;         // the keys recorded so far, or the keys to replay
    size_t recorded = 0;     // records in use while recording
    size_t next = 0;         // the next record to feed
    size_t demoEscapes = 0;  // records before this one cannot end a demo any more
    uint32_t framesPlayed = 0;
    bool recordingFull = false;
    bool replayOver = false;
    int32_t startStage = 0;  // --play, until it has started
};

RunInput run;

// Records in the table that can be fed.
size_t RecordsInUse() {
    return run.mode == Mode::kRecord ? run.recorded : kDemoRecords;
}

// Feeds every record whose frame has come, in file order. True when any was.
bool FeedDueRecords() {
    bool fed = false;
    while (run.next < RecordsInUse() && run.input.records[run.next].frame <= run.framesPlayed) {
        // The index moves first: a fed key can start the demo, which looks ahead.
        const InputRecord& record = run.input.records[run.next++];
        FeedRecord(record);
        fed = true;
    }
    return fed;
}

bool IsEscapePress(const InputRecord& r) {
    return r.kind == kKeyPress && r.keyDown == platform::vk::Escape;
}

// The recording has no room left: it ends here. Its keys still waiting are fed
// at once, so live keys from now on come after them.
void StopRecording() {
    run.recordingFull = true;
    run.input.RecordEndFrame = run.framesPlayed;
    std::fprintf(stderr, "zoa_noli: the recording is full (%zu key events); it ends at frame %u\n",
                 kDemoRecords, run.framesPlayed);
    FeedDueRecords();
}

bool ReplayJustEnded() {
    if (run.mode != Mode::kReplay || run.replayOver || run.framesPlayed < run.input.RecordEndFrame)
        return false;
    run.replayOver = true;
    return true;
}

}  // namespace

void ResetRunInput() {
    run = RunInput{};
}

void StartRecording() {
    ResetRunInput();
    run.mode = Mode::kRecord;
}

bool StartReplay(const std::string& path, std::string* error) {
    DemoInput loaded;
    if (!ReadDemoFile(path, loaded, error)) return false;
    ResetRunInput();
    run.mode = Mode::kReplay;
    run.input = loaded;
    return true;
}

void StartStageFirst(int32_t stage) {
    run.startStage = stage;
}

bool TakeLiveKey(bool pressed, uint32_t vk) {
    if (run.mode == Mode::kReplay) return true;
    if (run.mode != Mode::kRecord || run.recordingFull) return false;
    if (run.recorded == kDemoRecords) {
        StopRecording();
        return false;
    }
    InputRecord& r = run.input.records[run.recorded++];
    r.frame = run.framesPlayed;
    r.keyDown = pressed ? vk : 0;
    r.keyUp = pressed ? 0 : vk;
    r.kind = pressed ? kKeyPress : kKeyRelease;
    return true;
}

bool BeforeFrame() {
    if (run.startStage != 0) {
        const int32_t stage = run.startStage;
        run.startStage = 0;
        // The title never shows: the stage fades in from black.
        g_display->Clear(0);
        g_display->Flip();
        if (!StartNewGame(stage)) {
            std::fprintf(stderr, "zoa_noli: stage %d cannot be started: %s\n", stage,
                         LastStageProblem().c_str());
            if (platform::Platform* p = platform::Current()) p->PostQuitMessage(kExitStartupFailed);
            return true;
        }
        FeedDueRecords();
        return true;
    }
    if (ReplayJustEnded()) {
        if (platform::Platform* p = platform::Current()) p->PostCloseMessage();
        return true;
    }
    return FeedDueRecords();
}

bool CountRunFrame() {
    ++run.framesPlayed;
    return ReplayJustEnded();
}

bool RecordedRunEndsDemo() {
    if (run.mode == Mode::kLive) return false;
    const size_t end = RecordsInUse();
    if (run.demoEscapes < run.next) run.demoEscapes = run.next;
    for (size_t i = run.demoEscapes; i < end && run.input.records[i].frame <= run.framesPlayed;
         ++i) {
        if (IsEscapePress(run.input.records[i])) {
            run.demoEscapes = i + 1;
            return true;
        }
    }
    return false;
}

bool TakeDemoEscape() {
    if (run.mode == Mode::kLive) return true;
    if (run.mode == Mode::kReplay) return false;
    // Recorded as a press of Escape at this frame; the replay's demo finds it
    // here, and fed later on the title it does nothing.
    if (!TakeLiveKey(true, platform::vk::Escape)) return true;  // the recording is full
    return RecordedRunEndsDemo();
}

uint32_t RunFramesPlayed() {
    return run.framesPlayed;
}

bool ReplayingRun() {
    return run.mode == Mode::kReplay;
}

void CutRecordingBack(uint32_t frame) {
    if (frame > run.framesPlayed) return;
    run.framesPlayed = frame;
    if (run.mode != Mode::kRecord || run.recordingFull) return;
    // A key recorded at `frame` came after that frame's moment was taken.
    while (run.recorded > 0 && run.input.records[run.recorded - 1].frame >= frame)
        run.input.records[--run.recorded] = InputRecord{};
    if (run.next > run.recorded) run.next = run.recorded;
    if (run.demoEscapes > run.recorded) run.demoEscapes = run.recorded;
}

void EndRecordingHere(const char* why) {
    if (run.mode != Mode::kRecord || run.recordingFull) return;
    run.recordingFull = true;
    run.input.RecordEndFrame = run.framesPlayed;
    std::fprintf(stderr, "zoa_noli: %s; the recording ends at frame %u\n", why, run.framesPlayed);
    FeedDueRecords();
}

bool FinishRecording(const std::string& path) {
    if (run.mode != Mode::kRecord) return true;
    if (!run.recordingFull) run.input.RecordEndFrame = run.framesPlayed;
    std::string why;
    if (WriteDemoFile(path, run.input, &why)) return true;
    std::fprintf(stderr, "zoa_noli: the recording is not written: %s\n", why.c_str());
    return false;
}

}  // namespace zoa
