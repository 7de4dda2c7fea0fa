// The simulation is one value: everything that decides play lives in `sim`.
// Two copies stepped in turn from the same keys stay equal frame by frame, so
// nothing outside the value carries over from one to the other; and a copy
// taken mid-stage and continued ends exactly where the original ends.
#include <string>

#include "app/demo_replay.h"
#include "app/menus.h"
#include "campaign_support.h"
#include "play/run_frame.h"
#include "sim/demo_input.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace zoa::test {
namespace {

constexpr int32_t kStage = 2;  // its run picks up a life and reaches the exit

class SimulationValue : public CampaignTest {
  protected:
    void SetUp() override {
        CampaignTest::SetUp();
        std::string error;
        ASSERT_TRUE(ReadDemoFile(std::string(ZOA_SOURCE_DIR) + "/stages/runs/stage" +
                                     std::to_string(kStage) + ".av",
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

TEST_F(SimulationValue, TwoSimulationsFromTheSameKeysStayEqualFrameByFrame) {
    Simulation a = sim;
    Simulation b = sim;
    for (uint32_t frame = 0; frame < keys.RecordEndFrame && a.game.Level == kStage; ++frame) {
        sim = a;
        Step();
        a = sim;
        sim = b;
        Step();
        b = sim;
        ASSERT_TRUE(a == b) << "frame " << frame;
    }
    EXPECT_EQ(a.game.Level, kStage + 1) << "the run reached the exit and loaded the next stage";
}

TEST_F(SimulationValue, ACopyTakenMidStageGoesOnLikeTheOriginal) {
    Run(keys.RecordEndFrame / 2);
    // The player is defeated now: the fade, the nested frame and the new
    // player all happen after the copy.
    pool[game.PlayerIndex].life = 0;
    const Simulation middle = sim;
    Run(400);
    const Simulation original = sim;
    ASSERT_EQ(original.game.Lives, middle.game.Lives - 1) << "a life was lost";

    sim = middle;
    Run(400);
    EXPECT_TRUE(sim == original);
    EXPECT_FALSE(middle == original);
}

}  // namespace
}  // namespace zoa::test
