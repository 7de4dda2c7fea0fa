// Pick-ups, pads, scenery and the sparkle: a taken pick-up turns into a
// sparkle with its sound, two used neighbours in the pool, the sparkle's
// drift, the pad's press animation and re-arming, and how the pad keeps the
// player's jump count at its start so the launch climbs at full height.
#include <string>
#include <vector>

#include "behaviour_test_support.h"

namespace zoa::test {
namespace {

class ItemTest : public BehaviourTest {};

TEST_F(ItemTest, TakenPickUpTurnsIntoARisingSparkleWithItsSound) {
    // Once as the pool's last record (the sparkle moves into its slot) and
    // once with a record behind it (the sparkle is reached later in the walk).
    for (bool last : {true, false}) {
        game.Sprite_Getsu = 0;
        sounds_.events.clear();
        const int32_t p = MakePlayer(100, 200);  // body 140..181 x 235..305
        pool[p].life = 300;
        const int32_t pickUp = Make(kSmallLifePickUp, 140, 250);
        if (!last) Make(1004, 2000, 100);
        PlayFrame();
        EXPECT_EQ(pool[p].life, 350);
        EXPECT_EQ(pool[pickUp].life, 0);
        EXPECT_TRUE(Played().empty());

        PlayFrame();
        EXPECT_EQ(CountOf(kSmallLifePickUp), 0);
        EXPECT_EQ(pool[p].life, 350);
        EXPECT_EQ(Played(), std::vector<int32_t>{game.SoundK});
        const int32_t s = Find(kSparkle);
        ASSERT_GE(s, 0);
        EXPECT_EQ(pool[s].x, 140);
        EXPECT_EQ(pool[s].y, 250 - 41) << "made 16 above, then 25 up on its first turn";
        EXPECT_EQ(pool[s].frame, 0);

        // Down by 5 - frame per update while it shows frames 0..4 for 7
        // updates each; gone on the update that finds frame 5.
        int32_t y = 250 - 41;
        for (int32_t u = 1; u <= 35; ++u) {
            y += 5 - (u - 1) / 7;
            UpdateSprites();
            ASSERT_EQ(pool[Find(kSparkle)].y, y) << "update " << u;
        }
        EXPECT_EQ(y, 250 - 41 + 105);
        UpdateSprites();
        EXPECT_EQ(CountOf(kSparkle), 0) << (last ? "last" : "not last");
    }
}

TEST_F(ItemTest, NeighbouringUsedPickUpsAreTakenOneUpdateApartAndTheSecondPaysTwice) {
    const int32_t p = MakePlayer(100, 200);
    pool[p].life = 100;
    Make(kLifePickUp, 130, 240);       // +100
    Make(kSmallLifePickUp, 150, 250);  // +50, right behind it in the pool
    PlayFrame();
    EXPECT_EQ(pool[p].life, 250);

    PlayFrame();  // the first is replaced; the second moves into its slot untreated
    EXPECT_EQ(CountOf(kLifePickUp), 0);
    EXPECT_EQ(CountOf(kSmallLifePickUp), 1);
    EXPECT_EQ(CountOf(kSparkle), 1);
    EXPECT_EQ(pool[p].life, 300) << "the player still touches it: its bonus again";

    PlayFrame();
    EXPECT_EQ(CountOf(kSmallLifePickUp), 0);
    EXPECT_EQ(CountOf(kSparkle), 2);
    EXPECT_EQ(pool[p].life, 300);
    EXPECT_EQ(TimesPlayed(game.SoundK), 2);
}

TEST_F(ItemTest, PickUpWithAFullPoolGoesWithoutASparkle) {
    const int32_t pickUp = Make(kExtraLifePickUp, 100, 100);
    pool[pickUp].life = 0;
    while (game.Sprite_Getsu < kPoolCapacity) Make(1004, 3000, 100);
    UpdateItem(pickUp);
    EXPECT_EQ(game.Sprite_Getsu, kPoolCapacity - 1);
    EXPECT_EQ(CountOf(kExtraLifePickUp), 0);
    EXPECT_EQ(CountOf(kSparkle), 0);
    EXPECT_EQ(TimesPlayed(game.SoundK), 1);
}

TEST_F(ItemTest, SceneryAndUnknownItemsNeverChange) {
    const int32_t scenery = Make(1004, 100, 100);
    pool[scenery].life = 0;
    SpriteRecord unknown = pool[scenery];
    unknown.type = 5000;
    unknown.frames[0] = 1;
    AddSpriteRecord(unknown);
    for (int32_t u = 0; u < 100; ++u) PlayFrame();
    ASSERT_EQ(game.Sprite_Getsu, 2);
    for (int32_t i : {0, 1}) {
        EXPECT_EQ(pool[i].x, 100);
        EXPECT_EQ(pool[i].y, 100);
        EXPECT_EQ(pool[i].life, 0);
        EXPECT_EQ(pool[i].frame, 0);
    }
    EXPECT_TRUE(Played().empty());
}

// A pad at (200, 300) and the player standing on it (its feet box overlaps
// the pad's box), in either pool order.
struct PadCase {
    int32_t pad;
    bool padFirst;
    int32_t rise;  // full launch height per update: jump top + 1
};

class PadTest : public ItemTest, public ::testing::WithParamInterface<PadCase> {
  protected:
    void SetUp() override {
        ItemTest::SetUp();
        turns.clear();
        behaviours.player = LaunchStandIn;
        const PadCase& c = GetParam();
        if (c.padFirst) pad = Make(c.pad, 200, 300);
        player = MakePlayer(180, 210);
        if (!c.padFirst) pad = Make(c.pad, 200, 300);
    }

    // What the player's turn saw: its tick, and the launch's climb in this
    // update when a launch flag was set (0 otherwise).
    struct Turn {
        int32_t tick;
        int32_t rise;
    };
    static inline std::vector<Turn> turns;

    // Stands in for the player's launch: while a launch flag is set it climbs
    // (top - step) and its step moves on only on a turn where the animation
    // clock has just advanced (tick below 1).
    static void LaunchStandIn(int32_t i) {
        SpriteRecord& p = pool[i];
        Turn turn{p.tick, 0};
        if (game.SpringJumpOn || game.PadJumpOn) {
            turn.rise = (game.SpringJumpOn ? 16 : 12) - p.step;
            p.y -= turn.rise;
            if (p.tick < 1) p.step += 1;
        }
        turns.push_back(turn);
    }

    int32_t pad = 0;
    int32_t player = 0;
};

TEST_P(PadTest, UsedPadPlaysItsPressOnceReArmsAndRests) {
    PlayFrame();  // contact: the pad is used and the player's jump count restarts
    EXPECT_EQ(pool[pad].life, 0);
    EXPECT_EQ(pool[player].step, -1);
    game.JumpOn = 1;  // a launch ends a key jump
    std::vector<int32_t> shown{pool[pad].frame};
    std::vector<int32_t> life;
    for (int32_t u = 1; u <= 12; ++u) {
        PlayFrame();
        shown.push_back(pool[pad].frame);
        life.push_back(pool[pad].life);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{0, 0, 1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(life, (std::vector<int32_t>{0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(game.JumpOn, 0);
    const bool spring = GetParam().pad == kSpringPad;
    EXPECT_EQ(game.SpringJumpOn, spring ? 1 : 0);
    EXPECT_EQ(game.PadJumpOn, spring ? 0 : 1);

    // Once the launch is over the re-armed pad can be used again.
    game.SpringJumpOn = game.PadJumpOn = 0;
    pool[player].y = 210;  // back on the pad
    PlayFrame();
    EXPECT_EQ(pool[pad].life, 0);
}

TEST_P(PadTest, LaunchClimbsAtFullHeightForFiveUpdates) {
    const PadCase& c = GetParam();
    PlayFrame();
    const int32_t y = pool[player].y;
    turns.clear();
    for (int32_t u = 1; u <= 8; ++u) PlayFrame();
    // With the pad's record first the launch starts in the pad's first used
    // update, otherwise one update later.
    const size_t start = c.padFirst ? 0 : 1;
    std::vector<int32_t> rises;
    for (const Turn& t : turns) rises.push_back(t.rise);
    // Five turns at full height, then one pixel less for the next four.
    std::vector<int32_t> expected(start, 0);
    for (int32_t k = 0; k < 5; ++k) expected.push_back(c.rise);
    while (expected.size() < turns.size()) expected.push_back(c.rise - 1);
    EXPECT_EQ(rises, expected);
    for (size_t k = start; k + 1 < start + 5; ++k) {
        EXPECT_EQ(turns[k].tick, 30) << "the pad held the player's tick at turn " << k;
    }
    EXPECT_EQ(turns[start + 4].tick, 0) << "the clock advances: the steps start shrinking";
    int32_t climbed = 0;
    for (int32_t r : rises) climbed += r;
    EXPECT_EQ(pool[player].y, y - climbed);
}

INSTANTIATE_TEST_SUITE_P(Pads, PadTest,
                         ::testing::Values(PadCase{kSpringPad, true, 17},
                                           PadCase{kSpringPad, false, 17},
                                           PadCase{kFirstJumpPad, true, 13},
                                           PadCase{kLastJumpPad, false, 13}),
                         [](const ::testing::TestParamInfo<PadCase>& info) {
                             return "Pad" + std::to_string(info.param.pad) +
                                    (info.param.padFirst ? "BeforePlayer" : "AfterPlayer");
                         });

}  // namespace
}  // namespace zoa::test
