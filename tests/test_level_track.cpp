#include <gtest/gtest.h>

#include <utility>

#include "sim/game_state.h"
#include "sim/level_track.h"

namespace zoa {
namespace {

TEST(LevelTrack, FollowsTheLevelComparedUnsigned) {
    game = GameState{};
    game.Sound1 = 16;
    game.Sound2 = 17;
    game.Sound3 = 18;
    game.Sound4 = 19;
    const std::pair<int32_t, int32_t> cases[] = {{0, 16}, {2, 16}, {3, 17},  {4, 17}, {5, 18},
                                                 {6, 18}, {7, 19}, {30, 19}, {-1, 19}};
    for (const auto& [level, track] : cases) {
        game.Level = level;
        EXPECT_EQ(LevelTrack(level), track) << level;
    }
    game = GameState{};
}

}  // namespace
}  // namespace zoa
