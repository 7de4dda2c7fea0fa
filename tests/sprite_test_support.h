#pragma once
// Set-up for the sprite tests: a stage in play (title off, empty pool, a map
// larger than the view) over the headless display and test sheets, records
// built by hand. No type has a behaviour unless a test puts one in; the game's
// own table is put back afterwards.

#include "sim/behaviours.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "stage_test_support.h"

namespace zoa::test {

class SpriteTest : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        game.TitleActive = 0;
        game.Map_w = 60;
        game.Map_h = 30;
        game.Sprite_Getsu = 0;
        behaviours.player = nullptr;
        behaviours.enemies.fill(nullptr);
        behaviours.shots.fill(nullptr);
        behaviours.item = nullptr;
    }
    void TearDown() override {
        behaviours = BehaviourTable{};
        StageTest::TearDown();
    }

    // Appends a record with the given type, position, size and depth; its row 0
    // has 4 frames shown one update each, drawn from the item sheet, facing right.
    static int32_t Add(int32_t type, int32_t x, int32_t y, int32_t width, int32_t height,
                       int32_t depth, int32_t life = 1) {
        SpriteRecord r;
        r.type = type;
        r.srcX = 1;
        r.srcY = 1;
        r.x = x;
        r.y = y;
        r.width = width;
        r.height = height;
        r.frames[0] = 4;
        r.frameDelay = 1;
        r.depth = depth;
        r.life = life;
        r.sheetA = 4;
        r.sheetB = 4;
        EXPECT_TRUE(AddSpriteRecord(r));
        return game.Sprite_Getsu - 1;
    }

    // The player's record (121 x 105, the body box starts 40 in and 35 down).
    static int32_t AddPlayer(int32_t x, int32_t y, int32_t life = 500) {
        const int32_t i = Add(kPlayer, x, y, 121, 105, kPlayerDepth, life);
        pool[i].gauge = 500;
        game.PlayerIndex = i;
        return i;
    }

    // DrawList in pool order, as if every record had just been updated.
    static void ListInPoolOrder() {
        for (int32_t i = 0; i < game.Sprite_Getsu; ++i) pool.DrawList[i] = {pool[i].depth, i};
    }

    // Pool indices in DrawList order.
    static std::vector<int32_t> DrawOrder() {
        std::vector<int32_t> order;
        for (int32_t j = 0; j < game.Sprite_Getsu; ++j) order.push_back(pool.DrawList[j].index);
        return order;
    }

    std::vector<int32_t> Played() const {
        std::vector<int32_t> played;
        for (const SoundEvent& e : sounds_.events) {
            if (e.play) played.push_back(e.index);
        }
        return played;
    }
};

}  // namespace zoa::test
