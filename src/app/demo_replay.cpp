#include "app/demo_replay.h"

#include "app/frame_pacing.h"
#include "app/game_app.h"
#include "app/input.h"
#include "app/run_input.h"
#include "platform/message.h"
#include "platform/platform.h"
#include "play/run_frame.h"
#include "sim/game_state.h"
#include "sim/simulation.h"

namespace zoa {

namespace {

// What a message taken during the demo does: a close (or the quit that follows
// one) ends the demo and is put back for the main loop, so the game still
// closes; Escape ends the demo; a change of the active window is handled as
// in the main loop (the system hands it over at once, not through the queue),
// so the demo holds while the game is in the background; everything else is
// dropped.
bool EndsDemo(platform::Platform& p, const platform::Message& m) {
    using platform::MessageId;
    if (m.id == MessageId::Close || m.id == MessageId::Quit) {
        p.PostMessage(m);
        return true;
    }
    if (m.id == MessageId::ActivateApp) {
        WindowProcedure(m);
        return false;
    }
    return m.wParam == platform::vk::Escape && TakeDemoEscape();
}

}  // namespace

void FeedRecord(const InputRecord& record) {
    if (record.kind == kKeyPress) OnKeyDown(record.keyDown);
    if (record.kind == kKeyRelease) OnKeyUp(record.keyUp);
}

void ReplayDemo() {
    platform::Platform* p = platform::Current();
    if (!p) return;
    const DemoInput& demo = demoInput;
    // The position is part of the simulation, so a copy taken during the demo
    // goes on from the same key.
    uint32_t& frame = sim.demo.frame;
    size_t& next = sim.demo.next;
    frame = 0;
    next = 0;
    platform::Message m;
    while (frame < demo.RecordEndFrame) {
        while (next < kDemoRecords && demo.records[next].frame <= frame)
            FeedRecord(demo.records[next++]);
        if (RecordedRunEndsDemo()) return;
        if (p->PeekMessage(m)) {
            p->Queue().Take(m);
            if (EndsDemo(*p, m)) return;
            continue;
        }
        if (!game.AppActive) {
            // In the background the demo waits where it is.
            p->WaitForMessage(platform::kWaitForever);
            continue;
        }
        if (FrameDue(*p)) {
            StartFrameClock(*p);
            RunFrame();
            ++frame;
            if (CountRunFrame()) {
                p->PostCloseMessage();
                return;
            }
        } else {
            WaitForNextFrame(*p);
        }
    }
}

}  // namespace zoa
