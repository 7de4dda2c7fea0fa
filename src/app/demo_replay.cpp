#include "app/demo_replay.h"

#include "app/game_app.h"
#include "app/input.h"
#include "app/run_input.h"
#include "platform/message.h"
#include "platform/platform.h"
#include "world/game_state.h"
#include "world/run_frame.h"

namespace zoa {

namespace {

constexpr uint32_t kLongestWait = 1000;

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
    uint32_t frame = 0;
    size_t next = 0;
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
        game.Time2 = p->Now() - game.LastFrameTime;
        if (game.Time2 > game.Time_Chai) {
            game.LastFrameTime = p->Now();
            RunFrame();
            ++frame;
            if (CountRunFrame()) {
                p->PostCloseMessage();
                return;
            }
        } else {
            // Sleep until the next frame is due or a message arrives.
            const uint64_t due = uint64_t{game.Time_Chai} - game.Time2 + 1;
            p->WaitForMessage(static_cast<uint32_t>(due < kLongestWait ? due : kLongestWait));
        }
    }
}

}  // namespace zoa
