#pragma once
// Set-up for the behaviour tests of enemies, shots and items: the game's own
// behaviours for every type except the player, whose record stands still
// unless a test gives it a stand-in; an open map of empty tiles (tile 0) with
// helpers to lay solid tiles (tile 1); records made by the spawner from the
// catalogue and then put where a test wants them.

#include <cstdint>

#include "sim/draw_sprites.h"
#include "sim/random.h"
#include "sim/spawn_sprite.h"
#include "sim/update_sprites.h"
#include "sprite_test_support.h"

namespace zoa::test {

constexpr int32_t kEmptyTile = 0;
constexpr int32_t kSolidTile = 1;

class BehaviourTest : public SpriteTest {
  protected:
    void SetUp() override {
        SpriteTest::SetUp();
        behaviours = BehaviourTable{};
        behaviours.player = nullptr;
        game.Map_w = 100;
        game.Map_h = 60;
        SeedRandom(12345);
    }

    // Tiles of columns c0..c1 and rows r0..r1 (inclusive) become `tile`.
    static void Lay(int32_t c0, int32_t r0, int32_t c1, int32_t r1, int32_t tile = kSolidTile) {
        for (int32_t c = c0; c <= c1; ++c) {
            for (int32_t r = r0; r <= r1; ++r) world.At(c, r) = tile;
        }
    }

    // A catalogue record of `type` at (x, y) facing `dir`, appended to the pool.
    static int32_t Make(int32_t type, int32_t x, int32_t y, int32_t dir = 0) {
        SpawnSprite(0, type);
        const int32_t i = game.Sprite_Getsu - 1;
        EXPECT_EQ(pool[i].type, type);
        pool[i].x = x;
        pool[i].y = y;
        pool[i].dir = dir;
        return i;
    }

    // A catalogue record of a parent-placed type made from `parent`; the
    // flight of thrown shots then starts from the y it was given.
    static int32_t MakeFrom(int32_t parent, int32_t type) {
        SpawnSprite(parent, type);
        return game.Sprite_Getsu - 1;
    }

    // A shot or effect of `type` with its top-left corner at (x, y) facing
    // `dir`, its flight starting from y.
    static int32_t MakeShot(int32_t type, int32_t x, int32_t y, int32_t dir = 0) {
        const int32_t i = Make(type, x, y, dir);
        pool[i].frames[2] = y;
        return i;
    }

    // The catalogue's player record at (x, y).
    static int32_t MakePlayer(int32_t x, int32_t y) {
        const int32_t i = Make(kPlayer, x, y);
        game.PlayerIndex = i;
        return i;
    }

    // One frame of play as far as sprites go: the update, then drawing with contact.
    static void PlayFrame() {
        UpdateSprites();
        DrawSprites();
    }

    // The value the generator gives next, without using it up.
    static int32_t NextRandom() {
        const uint32_t state = game.RandomState;
        const int32_t r = Random();
        game.RandomState = state;
        return r;
    }

    // Live records of a type.
    static int32_t CountOf(int32_t type) {
        int32_t n = 0;
        for (int32_t i = 0; i < game.Sprite_Getsu; ++i) n += pool[i].type == type;
        return n;
    }
    // Index of the first live record of a type, or -1.
    static int32_t Find(int32_t type) {
        for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
            if (pool[i].type == type) return i;
        }
        return -1;
    }

    int32_t TimesPlayed(int32_t sound) const {
        int32_t n = 0;
        for (int32_t s : Played()) n += s == sound;
        return n;
    }
};

}  // namespace zoa::test
