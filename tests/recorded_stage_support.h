#pragma once
// A stage started as a new game and stepped frame by frame with its committed
// run's keys, as a replay steps it: for tests that copy, save or rewind the
// simulation in the middle of real play.

#include <string>

#include "app/demo_replay.h"
#include "app/menus.h"
#include "campaign_support.h"
#include "play/run_frame.h"
#include "sim/demo_input.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace zoa::test {

class RecordedStageRun : public CampaignTest {
  protected:
    static constexpr int32_t kStage = 2;  // its run picks up a life and reaches the exit

    void SetUp() override {
        CampaignTest::SetUp();
        std::string error;
        ASSERT_TRUE(ReadDemoFile(
            std::string(ZOA_SOURCE_DIR) + "/stages/runs/stage" + std::to_string(kStage) + ".av",
            keys, &error))
            << error;
        SeedRandom(1);
        ASSERT_TRUE(StartNewGame(kStage));
        sim.demo = DemoPosition{};
    }

    // One frame as a replay runs it: the keys whose frame has come, then the frame.
    void Step() {
        DemoPosition& at = sim.demo;
        while (at.next < kDemoRecords && keys.records[at.next].frame <= at.frame)
            FeedRecord(keys.records[at.next++]);
        RunFrame();
        ++at.frame;
        ++game.FrameCounter;
    }

    void Run(uint32_t frames) {
        for (uint32_t f = 0; f < frames; ++f) Step();
    }

    DemoInput keys;
};

}  // namespace zoa::test
