// The simulation is one value: everything that decides play lives in `sim`.
// Two copies stepped in turn from the same keys stay equal frame by frame, so
// nothing outside the value carries over from one to the other; and a copy
// taken mid-stage and continued ends exactly where the original ends.
#include <string>

#include "app/demo_replay.h"
#include "app/menus.h"
#include "play/run_frame.h"
#include "recorded_stage_support.h"
#include "sim/demo_input.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace zoa::test {
namespace {

using SimulationValue = RecordedStageRun;

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
