// Shots and effects: the arcs of the thrown shots, their ends at walls, floors
// and hits with the follow-ups they leave, the bomb's two ways of moving, the
// flame's speed and the burst's chance of a new shot at every stage.
#include <climits>
#include <vector>

#include "behaviour_test_support.h"

namespace zoa::test {
namespace {

class ShotTest : public BehaviourTest {};

// y after each of n updates of record `i` (the shot stays at slot i).
std::vector<int32_t> HeightsOver(int32_t i, int32_t n) {
    std::vector<int32_t> ys;
    for (int32_t u = 0; u < n; ++u) {
        UpdateSprites();
        ys.push_back(pool[i].y);
    }
    return ys;
}

TEST_F(ShotTest, PlayersShotRisesAndFallsOnItsArc) {
    const int32_t shot = MakeShot(kPlayerShot, 100, 200);
    const std::vector<int32_t> ys = HeightsOver(shot, 30);
    EXPECT_EQ(ys[0], 196);
    EXPECT_EQ(ys[14], 164);
    EXPECT_EQ(ys[29], 200);
    EXPECT_EQ(pool[shot].x, 100 + 30 * 8) << "two base steps a frame";
    // The fall goes on until the shot leaves the view: 473 after 59 updates, 488 after 60.
    HeightsOver(shot, 29);
    ASSERT_EQ(CountOf(kPlayerShot), 1);
    EXPECT_EQ(pool[shot].y, 473);
    UpdateSprites();
    EXPECT_EQ(game.Sprite_Getsu, 0) << "removed off screen, nothing left behind";
}

TEST_F(ShotTest, PlayersShotLeftFliesLeftOnTheSameArc) {
    const int32_t shot = MakeShot(kPlayerShot, 400, 200, 2);
    EXPECT_EQ(HeightsOver(shot, 15)[14], 164);
    EXPECT_EQ(pool[shot].x, 400 - 15 * 8);
}

TEST_F(ShotTest, PlayersShotMeetingTheFloorLeavesASparkOnIt) {
    Lay(0, 7, 99, 7);  // a floor at y = 224
    const int32_t shot = MakeShot(kPlayerShot, 100, 200);
    HeightsOver(shot, 31);
    ASSERT_EQ(CountOf(kPlayerShot), 1);
    EXPECT_EQ(pool[shot].y, 204);
    // k = 32 puts the shot at 210 and its foot probe (y + 14) into the floor:
    // the shot ends 4 below where it was, and the spark stands 1 lower still.
    UpdateSprites();
    EXPECT_EQ(CountOf(kPlayerShot), 0);
    const int32_t spark = Find(kSpark);
    ASSERT_GE(spark, 0);
    EXPECT_EQ(pool[spark].y, 209);
    EXPECT_EQ(pool[spark].x, 100 + 32 * 8) << "centred on the shot, which kept its move";
    EXPECT_EQ(pool[spark].life, 1);
}

TEST_F(ShotTest, PlayersShotIntoAWallTurnsIntoASparkWhereItWas) {
    Lay(10, 0, 10, 59);  // a wall at x = 320..351
    const int32_t shot = MakeShot(kPlayerShot, 290, 200);
    UpdateSprites();  // x 298, centre 306
    UpdateSprites();  // x 306, centre 314
    ASSERT_EQ(CountOf(kPlayerShot), 1);
    UpdateSprites();  // centre 322 is in the wall: back to 306
    EXPECT_EQ(CountOf(kPlayerShot), 0);
    const int32_t spark = Find(kSpark);
    ASSERT_GE(spark, 0);
    EXPECT_EQ(pool[spark].x, 306);
    // Made 1 below the shot, it moved into the shot's slot: no drop in this update.
    EXPECT_EQ(pool[spark].y, 192 + 1);
    UpdateSprites();
    EXPECT_EQ(pool[spark].y, 197);
    (void)shot;
}

TEST_F(ShotTest, HitShotLeavesASparkThatStaysThenABurst) {
    const int32_t shot = MakeShot(kPlayerShot, 100, 200);
    HeightsOver(shot, 3);
    const int32_t before = pool[shot].y;
    pool[shot].life = 0;  // what the contact pass does on a hit
    UpdateSprites();
    ASSERT_EQ(CountOf(kPlayerShot), 0);
    const int32_t spark = Find(kSpark);
    ASSERT_GE(spark, 0);
    EXPECT_EQ(pool[spark].y, before + 1);
    EXPECT_EQ(pool[spark].life, 0);
    // Frames 0 and 1 show for four updates each; the update that finds frame 2
    // makes the burst.
    for (int32_t u = 1; u <= 8; ++u) {
        UpdateSprites();
        ASSERT_EQ(Find(kSpark), spark) << "update " << u;
        EXPECT_EQ(pool[spark].y, before + 1) << "a spark without life does not drop";
    }
    UpdateSprites();
    EXPECT_EQ(CountOf(kSpark), 0);
    const int32_t burst = Find(kBurst);
    ASSERT_GE(burst, 0);
    EXPECT_EQ(pool[burst].y, before + 1 - 36);
}

TEST_F(ShotTest, LiveSparkDropsAndSettlesOntoTheFloor) {
    Lay(0, 10, 99, 10);  // floor top at 320
    const int32_t spark = Make(kSpark, 100, 290);
    pool[spark].life = 1;
    pool[spark].frame = 0;
    UpdateShot(spark);
    EXPECT_EQ(pool[spark].y, 294) << "drops 4 while its foot (y + 14) is clear";
    pool[spark].y = 303;  // 307 would put the foot probe (321) in the floor
    UpdateShot(spark);
    EXPECT_EQ(pool[spark].y, 305) << "put back, then 2 down onto a floor just below";
    UpdateShot(spark);
    EXPECT_EQ(pool[spark].y, 305) << "standing: its bottom (321) is in the floor";
}

TEST_F(ShotTest, BurstMakesANewShotByTheStagesChance) {
    // 1 in (10 - Level) in unsigned 32-bit arithmetic, on every stage number;
    // on stage 10 (divisor 0) never, the draw still being made.
    std::vector<int32_t> levels = {0, 1, 5, 8, -3, INT_MAX, INT_MIN};
    for (int32_t level = 9; level <= 200; ++level) levels.push_back(level);
    for (const int32_t level : levels) {
        game.Level = level;
        const uint32_t divisor = 10u - static_cast<uint32_t>(level);
        const int32_t trials = level >= 0 && level <= 8 ? 200 : 40;
        int32_t made = 0;
        for (int32_t trial = 0; trial < trials; ++trial) {
            game.Sprite_Getsu = 0;
            const int32_t burst = Make(kBurst, 300, 200);
            pool[burst].frame = 5;
            const auto r = static_cast<uint32_t>(NextRandom());
            const bool expected = divisor != 0 && r % divisor == 1;
            const uint32_t before = game.RandomState;
            UpdateShot(burst);
            const uint32_t after = game.RandomState;
            game.RandomState = before;
            Random();
            ASSERT_EQ(game.RandomState, after) << "one draw per burst, Level " << level;
            EXPECT_EQ(CountOf(kBurst), 0);
            ASSERT_EQ(CountOf(kPlayerShot), expected ? 1 : 0) << "Level " << level;
            made += CountOf(kPlayerShot);
        }
        if (level == 8) {
            EXPECT_NEAR(made, 100, 30);
        } else if (level == 1) {
            EXPECT_NEAR(made, 200 / 9, 12);
        } else if (level == 9 || level == 10) {
            EXPECT_EQ(made, 0) << "Level " << level;
        }
    }
}

TEST_F(ShotTest, BurstBeforeItsLastFrameWaitsAndOffScreenGoesWithoutAShot) {
    const int32_t burst = Make(kBurst, 300, 200);
    pool[burst].frame = 4;
    UpdateShot(burst);
    EXPECT_EQ(CountOf(kBurst), 1);
    pool[burst].x = 700;
    const uint32_t state = game.RandomState;
    UpdateShot(burst);
    EXPECT_EQ(game.Sprite_Getsu, 0);
    EXPECT_EQ(game.RandomState, state) << "no draw for a burst that leaves the view";
}

TEST_F(ShotTest, EnemyShotsFollowTheirSteeperArc) {
    for (int32_t type : {kWalkerShot, kWalkerShotB}) {
        game.Sprite_Getsu = 0;
        const int32_t shot = MakeShot(type, 300, 200, 2);
        const std::vector<int32_t> ys = HeightsOver(shot, 15);
        EXPECT_EQ(ys[0], 186) << type;
        EXPECT_EQ(ys[6], 141) << type;
        EXPECT_EQ(ys[7], 141) << type;
        EXPECT_EQ(ys[14], 200) << type;
        EXPECT_EQ(pool[shot].x, 300 - 15 * 8) << type;
    }
}

TEST_F(ShotTest, EnemyShotEndsWithoutAFollowUpAtFloorWallHitOrEdge) {
    Lay(0, 8, 99, 8);  // floor at 256: the shot's bottom (y + 32) reaches it at k = 17 (y 236)
    const int32_t shot = MakeShot(kWalkerShot, 300, 200, 2);
    HeightsOver(shot, 16);
    EXPECT_EQ(CountOf(kWalkerShot), 1);
    UpdateSprites();
    EXPECT_EQ(game.Sprite_Getsu, 0);

    Lay(5, 0, 5, 6);                      // a wall at x = 160..191 above the floor
    MakeShot(kWalkerShotB, 200, 100, 2);  // centre 208, then 200, 192, 184
    HeightsOver(0, 2);
    EXPECT_EQ(CountOf(kWalkerShotB), 1);
    UpdateSprites();
    EXPECT_EQ(game.Sprite_Getsu, 0);

    const int32_t hit = MakeShot(kWalkerShot, 300, 100);
    pool[hit].life = 0;
    UpdateSprites();
    EXPECT_EQ(game.Sprite_Getsu, 0);

    MakeShot(kWalkerShot, 630, 100);
    UpdateSprites();  // x 638: still touching the view
    EXPECT_EQ(game.Sprite_Getsu, 1);
    UpdateSprites();  // x 646
    EXPECT_EQ(game.Sprite_Getsu, 0);
}

TEST_F(ShotTest, BombFallsOnEarlyStagesAndBurstsOnTheFirstFloor) {
    game.Level = 3;
    Lay(0, 10, 99, 10);  // floor at 320; the bomb's foot probe is y + 28
    const int32_t bomb = MakeShot(kBombShot, 200, 200, 2);
    pool[bomb].frame = 3;
    UpdateShot(bomb);
    EXPECT_EQ(pool[bomb].y, 204);
    EXPECT_EQ(pool[bomb].x, 200) << "falling, whatever its facing";
    EXPECT_EQ(pool[bomb].frame, 0);
    for (int32_t u = 0; u < 21; ++u) UpdateSprites();
    ASSERT_EQ(CountOf(kBombShot), 1);
    EXPECT_EQ(pool[bomb].y, 288);
    UpdateSprites();  // 292 would reach the floor
    EXPECT_EQ(CountOf(kBombShot), 0);
    const int32_t burst = Find(kBombBurst);
    ASSERT_GE(burst, 0);
    EXPECT_EQ(pool[burst].x, 199);
    EXPECT_EQ(pool[burst].y, 288);
}

TEST_F(ShotTest, BombFliesStraightFromStageFiveAndByItsSlotFromStageTen) {
    game.Level = 5;
    const int32_t right = MakeShot(kBombShot, 200, 100, 0);
    const int32_t left = MakeShot(kBombShot, 400, 100, 2);
    UpdateShot(right);
    UpdateShot(left);
    EXPECT_EQ(pool[right].x, 208);
    EXPECT_EQ(pool[right].frame, 2);
    EXPECT_EQ(pool[left].x, 392);
    EXPECT_EQ(pool[left].frame, 3);
    EXPECT_EQ(pool[left].y, 100);

    for (int32_t level : {10, 12, -1}) {
        game.Level = level;
        pool[right].y = pool[left].y = 100;
        UpdateShot(right);  // slot 0: flies
        UpdateShot(left);   // slot 1: falls
        EXPECT_EQ(pool[right].y, 100) << level;
        EXPECT_EQ(pool[left].y, 104) << level;
        EXPECT_EQ(pool[left].frame, 0) << level;
    }
}

TEST_F(ShotTest, FlyingBombBurstsAtAWallOrAHit) {
    game.Level = 6;
    Lay(10, 0, 10, 20);                                     // wall at x = 320
    const int32_t bomb = MakeShot(kBombShot, 290, 100, 0);  // centre 305
    UpdateShot(bomb);                                       // centre 313
    ASSERT_EQ(CountOf(kBombShot), 1);
    UpdateShot(bomb);  // centre 321: in the wall, back to 298
    EXPECT_EQ(CountOf(kBombShot), 0);
    const int32_t burst = Find(kBombBurst);
    ASSERT_GE(burst, 0);
    EXPECT_EQ(pool[burst].x, 298 + 15 - 16);

    game.Sprite_Getsu = 0;
    const int32_t hit = MakeShot(kBombShot, 100, 100, 2);
    pool[hit].life = 0;
    UpdateShot(hit);
    EXPECT_EQ(CountOf(kBombBurst), 1);
}

TEST_F(ShotTest, BombBurstEndsAtItsLastFrame) {
    const int32_t burst = MakeShot(kBombBurst, 100, 100);
    for (int32_t u = 1; u <= 37; ++u) UpdateSprites();
    EXPECT_EQ(pool[burst].frame, 9);
    EXPECT_EQ(CountOf(kBombBurst), 1);
    UpdateSprites();
    EXPECT_EQ(game.Sprite_Getsu, 0);
}

TEST_F(ShotTest, FlameSpeedGrowsWithTheStage) {
    Lay(0, 0, 99, 59);  // solid everywhere: the flame passes through
    struct Case {
        int32_t level, h, step;
    };
    for (const Case& c : {Case{8, 4, 32}, Case{8, 1, 8}, Case{0, 4, 8}, Case{3, 5, 15}}) {
        game.Sprite_Getsu = 0;
        game.Level = c.level;
        game.Scr.h = c.h;
        const int32_t flame = MakeShot(kFlame, 300, 100, 2);
        UpdateSprites();
        EXPECT_EQ(pool[flame].x, 300 - c.step) << c.level << " " << c.h;
        pool[flame].dir = 0;
        UpdateSprites();
        EXPECT_EQ(pool[flame].x, 300) << c.level << " " << c.h;
    }
}

TEST_F(ShotTest, FlameLastsOneShowingOfItsRowOrUntilItLeavesTheView) {
    game.Level = 8;
    game.Scr.h = 1;
    const int32_t flame = MakeShot(kFlame, 100, 100, 0);
    for (int32_t u = 1; u <= 41; ++u) UpdateSprites();
    EXPECT_EQ(pool[flame].frame, 5);
    EXPECT_EQ(CountOf(kFlame), 1);
    UpdateSprites();
    EXPECT_EQ(game.Sprite_Getsu, 0);

    game.Scr.h = 4;
    MakeShot(kFlame, 600, 100, 0);
    UpdateSprites();  // 632
    UpdateSprites();  // 664: gone
    EXPECT_EQ(game.Sprite_Getsu, 0);
}

}  // namespace
}  // namespace zoa::test
