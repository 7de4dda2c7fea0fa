// The per-frame walk over the pool: behaviours by type, the item step, the
// animation clock, the draw order and what removals, spawns, stage changes and
// a nested frame inside a behaviour do to the walk.
#include <climits>
#include <string>
#include <vector>

#include "play/run_frame.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_conventions.h"
#include "sim/update_sprites.h"
#include "sim/world_map.h"
#include "sprite_test_support.h"

namespace zoa::test {
namespace {

// What the test behaviours saw: "<type>@<slot>" per call, "+" marking calls
// made inside a nested frame.
std::vector<std::string> calls;
int32_t nesting = 0;

void Note(int32_t i) {
    calls.push_back(std::to_string(pool[i].type) + "@" + std::to_string(i) + (nesting ? "+" : ""));
}
void Walk(int32_t i) {
    Note(i);
    pool[i].x += 1;
}
void RemoveSelf(int32_t i) {
    Note(i);
    RemoveSprite(i);
}
void FireWalkerShot(int32_t i) {
    Note(i);
    if (nesting == 0 && pool[i].frames[7] == 0) {
        pool[i].frames[7] = 1;  // once
        SpawnSprite(i, kWalkerShot);
    }
}
void RunNestedFrame(int32_t i) {
    Note(i);
    if (nesting == 0) {
        ++nesting;
        RunFrame();
        --nesting;
    }
}
void LoadOtherStage(int32_t i) {
    Note(i);
    // What a stage load does to the pool: every record and the count replaced.
    SpriteRecord r;
    r.frames[0] = 4;
    r.frameDelay = 1;
    r.frame = 2;
    r.depth = 7;
    for (int32_t k = 0; k < 3; ++k) {
        pool[k] = r;
        pool[k].type = k == 2 ? kWalkerShooter : kLifePickUp;
    }
    game.Sprite_Getsu = 3;
}

class UpdateTest : public SpriteTest {
  protected:
    void SetUp() override {
        SpriteTest::SetUp();
        calls.clear();
        nesting = 0;
    }
};

TEST_F(UpdateTest, EmptyPoolChangesNothing) {
    game.PlayerIndex = 7;
    UpdateSprites();
    EXPECT_EQ(game.PlayerIndex, 7);
}

TEST_F(UpdateTest, FramesAdvanceWhenTickReachesTheDelayAndWrapAtTheRowsEnd) {
    const int32_t i = Add(kLifePickUp, 0, 0, 10, 10, kItemDepth);
    pool[i].frames[0] = 7;
    pool[i].frameDelay = 4;
    RestartAnimation(pool[i]);
    std::vector<int32_t> shown;
    for (int u = 0; u < 29; ++u) {
        UpdateSprites();
        shown.push_back(pool[i].frame);
    }
    // Each frame is shown for 4 updates; after 28 updates the row starts again.
    const std::vector<int32_t> expected = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3,
                                           3, 4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 0};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(pool[i].tick, 0) << "a wrap sets tick to 0";

    pool[i].frameDelay = 1;
    pool[i].frame = 3;
    UpdateSprites();
    EXPECT_EQ(pool[i].frame, 4) << "with frameDelay 1 every update advances";
    EXPECT_EQ(pool[i].tick, 0);
}

TEST_F(UpdateTest, ARestartShowsFrameZeroNextWhateverTheDelay) {
    for (int32_t delay : {1, 4, 20, 30}) {
        game.Sprite_Getsu = 0;
        const int32_t i = Add(kLifePickUp, 0, 0, 10, 10, kItemDepth);
        pool[i].frameDelay = delay;
        pool[i].frame = 2;
        RestartAnimation(pool[i]);
        UpdateSprites();
        EXPECT_EQ(pool[i].frame, 0) << delay;
        EXPECT_EQ(pool[i].tick, 0) << delay;
    }
    // So does a new record's frame 30 and tick 30.
    pool[0].frame = 30;
    pool[0].tick = 30;
    UpdateSprites();
    EXPECT_EQ(pool[0].frame, 0);
}

TEST_F(UpdateTest, RowNineCountsFiveFramesAndRowsWithoutFramesStayAtZero) {
    const int32_t i = Add(kPlayer, 0, 0, 121, 105, kPlayerDepth);
    pool[i].row = 9;
    pool[i].frame = 0;
    pool[i].tick = 0;
    std::vector<int32_t> shown;
    for (int u = 0; u < 6; ++u) {
        UpdateSprites();
        shown.push_back(pool[i].frame);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{1, 2, 3, 4, 0, 1}));

    // No frames in the row (a count of 0 or below, row 8, rows out of range):
    // the frame is put back to 0 on every update.
    for (int32_t row : {1, 8, -1, 40}) {
        pool[i].row = row;
        pool[i].frames[1] = -3;
        pool[i].frame = 2;
        UpdateSprites();
        EXPECT_EQ(pool[i].frame, 0) << row;
    }
    // A damaged clock at the top of its range wraps, it does not overflow.
    pool[i].row = 0;
    pool[i].tick = INT32_MAX;
    pool[i].frameDelay = INT32_MAX;
    pool[i].frame = INT32_MAX;
    UpdateSprites();
    EXPECT_EQ(pool[i].frame, 0);
}

TEST_F(UpdateTest, TheSharedScreenAndTileTests) {
    game.Scr.x = 100;
    game.Scr.y = 50;
    SpriteRecord s;
    s.width = 30;
    s.height = 20;
    const auto offAt = [&s](int32_t x, int32_t y) {
        s.x = x;
        s.y = y;
        return IsOffScreen(s);
    };
    // Touching an edge of the view is still on screen; one pixel beyond is not.
    EXPECT_FALSE(offAt(70, 100));
    EXPECT_TRUE(offAt(69, 100));
    EXPECT_FALSE(offAt(740, 100));
    EXPECT_TRUE(offAt(741, 100));
    EXPECT_FALSE(offAt(300, 30));
    EXPECT_TRUE(offAt(300, 29));
    EXPECT_FALSE(offAt(300, 530));
    EXPECT_TRUE(offAt(300, 531));
    EXPECT_TRUE(offAt(INT32_MAX, INT32_MIN));

    world.At(3, 2) = 1;    // solid
    world.At(4, 2) = 153;  // the exit: neither solid nor empty
    EXPECT_TRUE(IsSolidAt(3 * 32 + 31, 2 * 32));
    EXPECT_FALSE(IsEmptyAt(3 * 32, 2 * 32 + 31));
    EXPECT_FALSE(IsSolidAt(4 * 32, 2 * 32));
    EXPECT_FALSE(IsEmptyAt(4 * 32, 2 * 32));
    EXPECT_TRUE(IsEmptyAt(5 * 32, 2 * 32));
    EXPECT_TRUE(IsEmptyAt(-1, 2 * 32)) << "outside the map reads as empty";
    EXPECT_TRUE(IsEmptyAt(60 * 32, 0));
}

TEST_F(UpdateTest, EqualDepthsEndInTheOrderTheGapsLeaveThem) {
    const auto sorted = [](std::vector<int32_t> depths) {
        game.Sprite_Getsu = 0;
        for (int32_t d : depths) Add(99, 0, 0, 1, 1, d);
        UpdateSprites();
        return DrawOrder();
    };
    // n = 3: gap 2 moves record 2 in front of record 0, then gap 1.
    EXPECT_EQ(sorted({20, 20, 10}), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_EQ(sorted({20, 20, 20, 20}), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(sorted({40, 10, 20}), (std::vector<int32_t>{1, 2, 0}));
    // n = 5: gap 2 then 1; the four equal records do not stay in pool order.
    EXPECT_EQ(sorted({20, 20, 20, 20, 10}), (std::vector<int32_t>{4, 1, 0, 3, 2}));

    // A full pool sorts to ascending depth.
    game.Sprite_Getsu = 0;
    for (int32_t k = 0; k < kPoolCapacity; ++k) Add(99, 0, 0, 1, 1, (k * 37) % 50);
    UpdateSprites();
    for (int32_t j = 1; j < kPoolCapacity; ++j)
        ASSERT_LE(pool.DrawList[j - 1].depth, pool.DrawList[j].depth) << j;
}

TEST_F(UpdateTest, TheSortNamesThePlayerAfterARemovalMovedIt) {
    behaviours.shots[0] = RemoveSelf;
    for (int32_t k = 0; k < 7; ++k) Add(k == 2 ? kPlayerShot : 99, 0, 0, 1, 1, 10);
    AddPlayer(0, 0);
    ASSERT_EQ(game.PlayerIndex, 7);
    UpdateSprites();
    EXPECT_EQ(pool[6].type, kPlayer);
    EXPECT_EQ(game.PlayerIndex, 6);

    // With two player records the last one the sort meets wins.
    Add(kPlayer, 0, 0, 1, 1, 50);
    UpdateSprites();
    EXPECT_EQ(game.PlayerIndex, 7);
}

TEST_F(UpdateTest, ARecordMovedIntoARemovedSlotMissesItsTurnButAnimates) {
    behaviours.shots[0] = RemoveSelf;
    behaviours.enemies[0] = Walk;
    for (int32_t k = 0; k < 5; ++k) Add(99, 0, 0, 1, 1, 10);
    Add(kPlayerShot, 0, 0, 1, 1, kPlayerShotDepth);
    const int32_t enemy = Add(kWalkerShooter, 100, 0, 1, 1, kEnemyDepth);
    pool[enemy].frame = 0;
    pool[enemy].tick = 0;
    ASSERT_EQ(enemy, 6);

    UpdateSprites();
    EXPECT_EQ(calls, (std::vector<std::string>{"100@5"}));
    EXPECT_EQ(pool[5].type, kWalkerShooter);
    EXPECT_EQ(pool[5].x, 100) << "it did not move in this frame";
    EXPECT_EQ(pool[5].frame, 1) << "but its animation advanced";
    EXPECT_EQ(DrawOrder(), (std::vector<int32_t>{0, 1, 2, 3, 4, 5})) << "and it is listed";
    EXPECT_EQ(pool.DrawList[5].depth, kEnemyDepth);

    UpdateSprites();
    EXPECT_EQ(pool[5].x, 101) << "the next frame moves it";
}

TEST_F(UpdateTest, AnItemThatMovesIntoARemovedSlotStillGetsTheItemStep) {
    behaviours.shots[0] = RemoveSelf;
    behaviours.item = Walk;
    Add(kPlayerShot, 0, 0, 1, 1, kPlayerShotDepth);
    Add(kLifePickUp, 50, 0, 1, 1, kItemDepth);
    UpdateSprites();
    EXPECT_EQ(calls, (std::vector<std::string>{"100@0", "1000@0"}));
    EXPECT_EQ(pool[0].x, 51);
}

TEST_F(UpdateTest, ASpriteMadeDuringTheWalkMovesInTheSameFrame) {
    behaviours.enemies[0] = FireWalkerShot;
    behaviours.shots[kWalkerShot - kFirstShotType] = Walk;
    AddPlayer(0, 0);
    const int32_t enemy = Add(kWalkerShooter, 300, 200, 81, 115, kEnemyDepth, 100);
    UpdateSprites();
    ASSERT_EQ(game.Sprite_Getsu, 3);
    EXPECT_EQ(calls, (std::vector<std::string>{"10001@1", "103@2"}));
    const SpriteRecord& shot = pool[2];
    EXPECT_EQ(shot.type, kWalkerShot);
    EXPECT_EQ(shot.x, 300 + 40 - 16 + 1) << "placed from the enemy, then moved once";
    EXPECT_EQ(shot.frame, 0) << "its first animation step took it from 30 to 0";
    EXPECT_EQ(shot.tick, 0);
    EXPECT_EQ(DrawOrder(), (std::vector<int32_t>{enemy, 2, 0}));
}

TEST_F(UpdateTest, ANestedFrameUpdatesEveryRecordTwice) {
    behaviours.player = RunNestedFrame;
    behaviours.enemies[0] = Walk;
    behaviours.shots[0] = Walk;
    Add(kWalkerShooter, 0, 0, 1, 1, kEnemyDepth);
    AddPlayer(0, 0);
    Add(kPlayerShot, 0, 0, 1, 1, kPlayerShotDepth);
    for (int32_t i = 0; i < 3; ++i) {
        pool[i].frames[0] = 10;
        pool[i].frame = 0;
        pool[i].tick = 0;
    }
    UpdateSprites();
    // Before the player's slot: outer then nested; from it on: nested then outer.
    EXPECT_EQ(calls, (std::vector<std::string>{"10001@0", "10000@1", "10001@0+", "10000@1+",
                                               "100@2+", "100@2"}));
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(pool[i].frame, 2) << "two animation steps, " << i;
    EXPECT_EQ(pool[2].x, 2);
    EXPECT_EQ(DrawOrder(), (std::vector<int32_t>{0, 2, 1}));
}

TEST_F(UpdateTest, AStageLoadedMidWalkIsUpdatedFromTheLoadingSlotOn) {
    behaviours.player = LoadOtherStage;
    behaviours.enemies[0] = Walk;
    behaviours.item = Walk;
    Add(99, 0, 0, 1, 1, 30);
    AddPlayer(0, 0);
    Add(99, 0, 0, 1, 1, 30);
    game.PlayerIndex = 1;
    UpdateSprites();
    // Slot 1 goes on with the item step, slot 2 runs whole; slot 0 is untouched.
    EXPECT_EQ(calls, (std::vector<std::string>{"10000@1", "1000@1", "10001@2"}));
    EXPECT_EQ(pool[0].frame, 2);
    EXPECT_EQ(pool[1].frame, 3);
    EXPECT_EQ(pool[2].frame, 3);
    // Slot 0's entry still carries the old record's depth, 30.
    EXPECT_EQ(DrawOrder(), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_EQ(pool.DrawList[2].depth, 30);
    EXPECT_EQ(game.PlayerIndex, 1) << "no player in the new pool: the index stays";
}

}  // namespace
}  // namespace zoa::test
