// The spawner: catalogue values, the five placement rules, facings, the
// player's index, reused slots and a full pool.
#include <set>

#include "sim/catalogue.h"
#include "sim/catalogue_lookup.h"
#include "sim/random.h"
#include "sim/spawn_sprite.h"
#include "sprite_test_support.h"

namespace zoa::test {
namespace {

class SpawnTest : public SpriteTest {
  protected:
    // A parent at (400, 300), 81 x 115, facing `dir`, with life 100.
    static int32_t AddParent(int32_t dir = 0) {
        const int32_t i = Add(kWalkerShooter, 400, 300, 81, 115, kEnemyDepth, 100);
        pool[i].dir = dir;
        return i;
    }
    static const SpriteRecord& Spawned(int32_t parent, int32_t type) {
        SpawnSprite(parent, type);
        return pool[game.Sprite_Getsu - 1];
    }
};

TEST_F(SpawnTest, RecordsTakeTheirTypesCatalogueValues) {
    game.CursorX = 5;
    game.CursorY = 7;
    const SpriteRecord& burst = Spawned(AddParent(2), kBurst);
    EXPECT_EQ(burst.type, 102);
    EXPECT_EQ(burst.srcX, 1);
    EXPECT_EQ(burst.srcY, 348);
    EXPECT_EQ(burst.width, 101);
    EXPECT_EQ(burst.height, 88);
    EXPECT_EQ(burst.frames[0], 6);
    EXPECT_EQ(burst.frameDelay, 4);
    EXPECT_EQ(burst.depth, 25);
    EXPECT_EQ(burst.life, 10);
    EXPECT_EQ(burst.dir, 2);
    EXPECT_EQ(burst.sheetA, game.SurfaceSPgi);
    EXPECT_EQ(burst.sheetB, game.SurfaceSPgi);
    EXPECT_EQ(burst.frame, 30);
    EXPECT_EQ(burst.tick, 30);
    EXPECT_EQ(burst.row, 0);

    const SpriteRecord& crawler = Spawned(0, kCrawler);
    EXPECT_EQ(crawler.srcY, 231);
    EXPECT_EQ(crawler.width, 91);
    EXPECT_EQ(crawler.height, 125);
    EXPECT_EQ(crawler.life, 10);
    EXPECT_EQ(crawler.frames[1], 8);
    EXPECT_EQ(crawler.frames[2], 0);
    EXPECT_EQ(crawler.sheetA, game.SurfaceSPmca);
    EXPECT_EQ(crawler.sheetB, game.SurfaceSPmcb);

    const SpriteRecord& pad = Spawned(0, 1009);
    EXPECT_EQ(pad.srcX, 178);
    EXPECT_EQ(pad.srcY, 645);
    const int32_t itemRows[8] = {3, 8, 4, 8, 4, 7, 6, 2};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(pad.frames[k], itemRows[k]) << k;
    EXPECT_EQ(Spawned(0, 1014).frameDelay, 20);
    EXPECT_EQ(Spawned(0, 1015).frames[1], 0);

    // Every code of the catalogue makes a record; no other code does.
    std::set<int32_t> codes;
    for (const CatalogueEntry& e : kCatalogue) codes.insert(e.type);
    EXPECT_EQ(codes.size(), static_cast<size_t>(kCatalogueSize));
    for (int32_t type = 0; type <= 10010; ++type) {
        game.Sprite_Getsu = 1;
        SpawnSprite(0, type);
        EXPECT_EQ(game.Sprite_Getsu, codes.count(type) ? 2 : 1) << type;
    }
}

TEST_F(SpawnTest, ThePlayerStartsFreshAndBecomesPlayerIndex) {
    AddParent();
    AddParent();
    game.PlayerIndex = 0;
    pool[2].step = 9;
    pool[2].gauge = 3;
    const SpriteRecord& p = Spawned(0, kPlayer);
    EXPECT_EQ(game.PlayerIndex, 2);
    EXPECT_EQ(p.step, -1);
    EXPECT_EQ(p.gauge, 500);
    EXPECT_EQ(p.life, 500);
    EXPECT_EQ(p.width, 121);
    EXPECT_EQ(p.height, 105);
    EXPECT_EQ(p.depth, 40);
    EXPECT_EQ(p.dir, 0);
    EXPECT_EQ(p.sheetA, game.SurfaceSPcca);
    EXPECT_EQ(p.sheetB, game.SurfaceSPccb);
    const int32_t rows[8] = {5, 8, 8, 4, 4, 7, 6, 3};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(p.frames[k], rows[k]) << k;

    // Any other type in a slot that held something keeps none of its step or gauge.
    game.Sprite_Getsu = 2;
    const SpriteRecord& bomber = Spawned(0, kBomber);
    EXPECT_EQ(bomber.step, 0);
    EXPECT_EQ(bomber.gauge, 0);
    EXPECT_EQ(game.PlayerIndex, 2) << "only a new player moves the index";
}

TEST_F(SpawnTest, EachPlacementRule) {
    game.CursorX = 100;
    game.CursorY = 61;
    game.Scr.x = 45;
    game.Scr.y = 300;
    const SpriteRecord& cell32 = Spawned(0, kLifePickUp);
    EXPECT_EQ(cell32.x, 128);  // (100 + 45) / 32 = 4
    EXPECT_EQ(cell32.y, 352);  // (61 + 300) / 32 = 11
    const SpriteRecord& cell16 = Spawned(0, kCrawler);
    EXPECT_EQ(cell16.x, 144);
    EXPECT_EQ(cell16.y, 352);

    // Centred on the parent's width: 400 + 81 / 2 - width / 2.
    const int32_t parent = AddParent(2);
    const SpriteRecord& shot = Spawned(parent, kPlayerShot);
    EXPECT_EQ(shot.x, 400 + 40 - 8);
    EXPECT_EQ(shot.y, 351);
    EXPECT_EQ(shot.frames[1], 0);
    EXPECT_EQ(shot.frames[2], 351) << "its flight starts at its own y";
    EXPECT_EQ(Spawned(parent, kBurst).y, 300 - 36);
    EXPECT_EQ(Spawned(parent, kBurst).frames[2], 0);
    EXPECT_EQ(Spawned(parent, kBombBurst).x, 400 + 40 - 16);

    game.Level = 4;
    EXPECT_EQ(Spawned(parent, kBombShot).y, 409);
    game.Level = 5;
    EXPECT_EQ(Spawned(parent, kBombShot).y, 363);
    EXPECT_EQ(pool[game.Sprite_Getsu - 1].frames[2], 363);

    const SpriteRecord& flameLeft = Spawned(parent, kFlame);
    EXPECT_EQ(flameLeft.x, 392);
    EXPECT_EQ(flameLeft.y, 379);
    EXPECT_EQ(flameLeft.dir, 2);
    pool[parent].dir = 0;
    EXPECT_EQ(Spawned(parent, kFlame).x, 457);

    const SpriteRecord& sparkle = Spawned(parent, kSparkle);
    EXPECT_EQ(sparkle.x, 400);
    EXPECT_EQ(sparkle.y, 284);
    EXPECT_EQ(sparkle.dir, 0);
}

TEST_F(SpawnTest, FacingsComeFromTheParentOrTheOneGenerator) {
    const int32_t parent = AddParent(2);
    pool[parent].life = 0;
    const SpriteRecord& spark = Spawned(parent, kSpark);
    EXPECT_EQ(spark.life, 0) << "a spark carries on the life of the shot it ends";
    pool[parent].life = 7;
    EXPECT_EQ(Spawned(parent, kSpark).life, 7);
    EXPECT_EQ(Spawned(parent, kWalkerShot).dir, 2);
    pool[parent].dir = 3;
    EXPECT_EQ(Spawned(parent, kWalkerShotB).dir, 3);

    // Random facings draw the game's generator once each: 2 x (r mod 2).
    SeedRandom(12345);
    std::vector<int32_t> expected;
    for (int k = 0; k < 40; ++k) expected.push_back(2 * (Random() % 2));
    SeedRandom(12345);
    std::vector<int32_t> dirs;
    for (int k = 0; k < 40; ++k) {
        game.Sprite_Getsu = 1;
        SpawnSprite(0, k % 2 ? kWalkerShooter : kSpark);
        SpawnSprite(0, kLifePickUp);  // a fixed facing draws nothing
        dirs.push_back(pool[1].dir);
    }
    EXPECT_EQ(dirs, expected);
    EXPECT_EQ(std::set<int32_t>(dirs.begin(), dirs.end()), (std::set<int32_t>{0, 2}));
}

TEST_F(SpawnTest, AFullPoolTakesNothing) {
    game.Sprite_Getsu = 999;
    game.MouseLeftDown = 1;
    SpawnSprite(0, kLifePickUp);
    EXPECT_EQ(game.Sprite_Getsu, 1000);
    EXPECT_EQ(game.MouseLeftDown, 0);
    EXPECT_EQ(pool[999].type, kLifePickUp);

    game.MouseLeftDown = 1;
    game.PlayerIndex = 3;
    SeedRandom(1);
    SpawnSprite(0, kPlayer);
    SpawnSprite(0, kWalkerShooter);
    EXPECT_EQ(game.Sprite_Getsu, 1000);
    EXPECT_EQ(game.MouseLeftDown, 1);
    EXPECT_EQ(game.PlayerIndex, 3);
    const int32_t next = Random();
    SeedRandom(1);
    EXPECT_EQ(Random(), next) << "no facing was drawn";

    // Unknown codes and parents outside the pool make nothing either.
    game.Sprite_Getsu = 1;
    SpawnSprite(0, 1021);
    SpawnSprite(-1, kPlayerShot);
    SpawnSprite(1000, kSparkle);
    EXPECT_EQ(game.Sprite_Getsu, 1);
    SpawnSprite(-1, kLifePickUp);
    EXPECT_EQ(game.Sprite_Getsu, 2) << "cell-placed types never read the parent";
}

TEST_F(SpawnTest, StageFilesGetTheSameRecordsAndTheLoadedSheets) {
    // The compiler's records name the sheets by the fixed numbers start-up
    // gives them; the loaded game agrees.
    for (const CatalogueEntry& e : kCatalogue) {
        SpriteRecord fromFile;
        ASSERT_TRUE(CatalogueRecord(e.type, 96, 64, fromFile));
        game.Sprite_Getsu = 1;
        SpriteRecord spawned = Spawned(AddParent(), e.type);
        spawned.x = 96;
        spawned.y = 64;
        spawned.dir = 0;
        if (e.extra == Extra::kStartY) spawned.frames[2] = 64;
        if (e.extra == Extra::kLifeCopy) spawned.life = fromFile.life;
        EXPECT_EQ(fromFile, spawned) << e.type;
    }
    SpriteRecord none;
    EXPECT_FALSE(CatalogueRecord(1021, 0, 0, none));
}

}  // namespace
}  // namespace zoa::test
