// The run timer splits a stage only when the game goes on to the level just
// above it, and keeps the best split of each stage in its file for the next
// session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/practice_run_timer.h"
#include "test_support.h"

namespace zoa::test {
namespace {

TEST(PracticeRunTimer, SplitsTheNextLevelOnlyAndKeepsTheBest) {
    TempDir dir;
    const std::string file = dir.str() + "/splits.txt";
    std::string error;
    RunTimer timer;
    timer.Start(file);
    ASSERT_TRUE(timer.Follow(false, 1, 100, &error)) << error;
    ASSERT_TRUE(timer.Follow(false, 1, 150, &error));
    EXPECT_EQ(timer.StageFrames(150), 50u);
    ASSERT_TRUE(timer.Follow(false, 2, 400, &error)) << error;
    ASSERT_TRUE(timer.Follow(false, 4, 900, &error));  // past stage 3: no split
    ASSERT_EQ(timer.Splits().size(), 1u);
    EXPECT_EQ(timer.Splits()[0].level, 1);
    EXPECT_EQ(timer.Splits()[0].frames, 300u);
    EXPECT_EQ(timer.Best(1), 300u);
    EXPECT_EQ(timer.Level(), 4);
    EXPECT_EQ(timer.TotalFrames(1000), 900u);
    ASSERT_TRUE(timer.Follow(true, 4, 1000, &error));  // the title ends the game
    EXPECT_FALSE(timer.Timing());
    EXPECT_TRUE(timer.Splits().empty());

    // The next game: a slower stage 1 leaves its best, stage 2 gets its first.
    ASSERT_TRUE(timer.Follow(false, 1, 2000, &error));
    ASSERT_TRUE(timer.Follow(false, 2, 2500, &error));
    ASSERT_TRUE(timer.Follow(false, 3, 2700, &error));
    EXPECT_EQ(timer.Best(1), 300u);
    EXPECT_EQ(timer.Best(2), 200u);
    const std::vector<uint8_t> text = ReadBytes(file);
    EXPECT_EQ(std::string(text.begin(), text.end()),
              "# The best time of each stage, in frames (practice overlay).\n"
              "stage 1 best 300\nstage 2 best 200\n");

    // A new session reads the bests back.
    RunTimer next;
    next.Start(file);
    EXPECT_EQ(next.Best(1), 300u);
    EXPECT_EQ(next.Best(2), 200u);
}

}  // namespace
}  // namespace zoa::test
