#include <gtest/gtest.h>

#include <cstddef>

#include "sim/game_state.h"
#include "sim/sprite_pool.h"

namespace zoa {
namespace {

SpriteRecord Tagged(int32_t tag) {
    SpriteRecord r;
    r.type = tag;
    r.x = tag * 10;
    r.frames[7] = tag;
    r.dir = tag;
    return r;
}

class SpritePoolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = GameState{};
        pool = SpritePool{};
        game.Sprite_Getsu = 0;
    }
};

TEST(SpriteRecordTest, WordsRunInStoredOrder) {
    // Numbering the words in stored order must land each number in the field
    // that sits at that position of a 104-byte stored record.
    SpriteRecord r;
    int32_t n = 0;
    ForEachSpriteWord(r, [&n](int32_t& word) { word = n++; });
    EXPECT_EQ(n, 26);
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(r.srcX, 1);
    EXPECT_EQ(r.height, 4);
    EXPECT_EQ(r.y, 6);
    EXPECT_EQ(r.frame, 7);
    EXPECT_EQ(r.frames[0], 8);
    EXPECT_EQ(r.frames[7], 15);
    EXPECT_EQ(r.row, 16);
    EXPECT_EQ(r.sheetA, 17);
    EXPECT_EQ(r.sheetB, 18);
    EXPECT_EQ(r.step, 19);
    EXPECT_EQ(r.frameDelay, 21);
    EXPECT_EQ(r.depth, 22);
    EXPECT_EQ(r.life, 23);
    EXPECT_EQ(r.gauge, 24);
    EXPECT_EQ(r.dir, 25);
    EXPECT_EQ(offsetof(SpriteRecord, frames), 32u);
    EXPECT_EQ(offsetof(SpriteRecord, dir), 100u);
    EXPECT_EQ(FindSpriteField("frameDelay"), 14);
    EXPECT_EQ(FindSpriteField("Frames"), -1);
}

TEST_F(SpritePoolTest, AddAppendsUntilTheCountReachesAThousand) {
    game.Sprite_Getsu = 999;
    game.MouseLeftDown = 1;
    EXPECT_TRUE(AddSpriteRecord(Tagged(7)));
    EXPECT_EQ(game.Sprite_Getsu, 1000);
    EXPECT_EQ(game.MouseLeftDown, 0);
    EXPECT_EQ(pool[999], Tagged(7));

    // Full: nothing changes, not even the mouse flag.
    game.MouseLeftDown = 1;
    EXPECT_FALSE(AddSpriteRecord(Tagged(8)));
    EXPECT_EQ(game.Sprite_Getsu, 1000);
    EXPECT_EQ(game.MouseLeftDown, 1);
    EXPECT_EQ(pool[999], Tagged(7));
}

TEST_F(SpritePoolTest, AddWritesAtTheCountAndKeepsInsertionOrder) {
    for (int32_t t = 1; t <= 3; ++t) ASSERT_TRUE(AddSpriteRecord(Tagged(t)));
    EXPECT_EQ(game.Sprite_Getsu, 3);
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(pool[i], Tagged(i + 1));
}

TEST_F(SpritePoolTest, RemoveKeepsTheOrderOfTheOthers) {
    for (int32_t t = 1; t <= 3; ++t) AddSpriteRecord(Tagged(t));
    game.PlayerIndex = 2;
    RemoveSprite(0);
    EXPECT_EQ(game.Sprite_Getsu, 2);
    EXPECT_EQ(pool[0], Tagged(2));
    EXPECT_EQ(pool[1], Tagged(3));
    EXPECT_EQ(game.PlayerIndex, 2);  // left for the next draw-order sort

    RemoveSprite(1);  // the last one: the other record stays as it was
    EXPECT_EQ(game.Sprite_Getsu, 1);
    EXPECT_EQ(pool[0], Tagged(2));

    // Indices that are not live change nothing.
    RemoveSprite(1);
    RemoveSprite(-1);
    EXPECT_EQ(game.Sprite_Getsu, 1);
    EXPECT_EQ(pool[0], Tagged(2));
}

TEST_F(SpritePoolTest, RemoveFromAFullPoolShiftsEveryRecordBehind) {
    for (int32_t t = 0; t < kPoolCapacity; ++t) ASSERT_TRUE(AddSpriteRecord(Tagged(t)));
    RemoveSprite(500);
    EXPECT_EQ(game.Sprite_Getsu, 999);
    EXPECT_EQ(pool[499], Tagged(499));
    EXPECT_EQ(pool[500], Tagged(501));
    EXPECT_EQ(pool[998], Tagged(999));
    EXPECT_TRUE(AddSpriteRecord(Tagged(5000)));
    EXPECT_EQ(pool[999], Tagged(5000));
}

}  // namespace
}  // namespace zoa
