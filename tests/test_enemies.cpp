// Enemies: walking, turning at walls and ledges, falling, seeing the player,
// attacks whose chance grows with the stage, the walker-shooter's and the
// flamer's attacks, the crawler's pauses, the bomber's flight and bombs, and
// the defeat arcs with their sounds and removal.
#include <climits>
#include <vector>

#include "behaviour_test_support.h"
#include "sim/sprite_conventions.h"

namespace zoa::test {
namespace {

constexpr int32_t kFloorRow = 10;        // floor top at y = 320
constexpr int32_t kOnFloor = 320 - 115;  // y of a 115-high enemy standing on it

class EnemyTest : public BehaviourTest {
  protected:
    // Draws until the next one gives r mod n below 2 (or, for `pass` false, not).
    static void SkipToDraw(int64_t n, bool pass) {
        while ((NextRandom() % n < 2) != pass) Random();
    }
    // Draws until the next two both give r mod n below 2.
    static void SkipToTwoPassingDraws(int64_t n) {
        for (;;) {
            const uint32_t state = game.RandomState;
            const bool first = Random() % n < 2;
            const bool second = Random() % n < 2;
            game.RandomState = state;
            if (first && second) return;
            Random();
        }
    }
    // A player far from everything: out of every enemy's sight.
    static int32_t FarPlayer() { return MakePlayer(2800, 100); }
};

TEST_F(EnemyTest, WalkerTurnsAtTheEndsOfItsFloorBeforeMoving) {
    Lay(0, kFloorRow, 9, kFloorRow);  // floor x = 0..319
    FarPlayer();
    const int32_t w = Make(kWalkerShooter, 236, kOnFloor, 0);
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].x, 240);
    UpdateEnemy(w);  // 8 below its right corner (321) is over the gap
    EXPECT_EQ(pool[w].dir, 2);
    EXPECT_EQ(pool[w].x, 236);

    Lay(0, kFloorRow, 99, kFloorRow, kEmptyTile);
    Lay(5, kFloorRow, 20, kFloorRow);  // floor x = 160..671
    pool[w].x = 164;
    UpdateEnemy(w);
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].x, 156);
    UpdateEnemy(w);  // its left corner is over the gap now
    EXPECT_EQ(pool[w].dir, 0);
    EXPECT_EQ(pool[w].x, 160);
    EXPECT_EQ(pool[w].y, kOnFloor);
}

TEST_F(EnemyTest, WalkersTurnAtWallsAndCrawlersCreep) {
    Lay(0, kFloorRow, 99, kFloorRow);
    Lay(15, 0, 15, kFloorRow - 1);  // wall x = 480..511
    FarPlayer();
    const int32_t w = Make(kFlamer, 390, kOnFloor, 0);
    UpdateEnemy(w);
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].x, 398);
    UpdateEnemy(w);  // 402 + 81 is in the wall
    EXPECT_EQ(pool[w].x, 398);
    EXPECT_EQ(pool[w].dir, 2);
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].x, 394);

    game.Scr.h = 6;
    const int32_t c = Make(kCrawler, 100, 320 - 125, 2);
    UpdateEnemy(c);
    EXPECT_EQ(pool[c].x, 99) << "the crawler walks 1 pixel, whatever the base step";
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].x, 388) << "the others walk the base step";
}

TEST_F(EnemyTest, UnsupportedEnemiesFallStraightDownAndLand) {
    Lay(0, kFloorRow, 99, kFloorRow);
    FarPlayer();
    const int32_t w = Make(kWalkerShooterB, 300, 190, 0);
    const int32_t expected[] = {194, 198, 202, 206, 206};
    for (int32_t y : expected) {
        UpdateEnemy(w);
        EXPECT_EQ(pool[w].y, y);
    }
    EXPECT_EQ(pool[w].dir, 2) << "both ledge probes were over nothing while it fell";
    EXPECT_EQ(pool[w].x, 296) << "no sideways move while falling; walks once it stands";

    // A floor that starts 1 to 2 pixels below its feet: it steps down 2.
    pool[w].y = 204;
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].y, 206);
}

TEST_F(EnemyTest, OnlyAttributeOneHoldsAndOnlyAttributeZeroIsAGap) {
    world.tiles[7].attribute = 5;  // neither solid nor empty
    Lay(0, kFloorRow, 99, kFloorRow, 7);
    FarPlayer();
    const int32_t w = Make(kWalkerShooter, 300, kOnFloor, 0);
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].y, kOnFloor + 4) << "falls through a tile that is not solid";
    EXPECT_EQ(pool[w].dir, 0) << "but does not take it for a gap either";
}

TEST_F(EnemyTest, OutsideTheMapReadsEmptyAndLivingEnemiesAreNeverRemoved) {
    FarPlayer();
    const int32_t w = Make(kWalkerShooter, 500, game.Map_h * 32 + 10, 2);
    for (int32_t u = 1; u <= 200; ++u) UpdateSprites();
    EXPECT_EQ(pool[w].type, kWalkerShooter);
    EXPECT_EQ(pool[w].y, game.Map_h * 32 + 10 + 200 * 4) << "keeps falling out of view";
    EXPECT_EQ(pool[w].x, 500);

    const int32_t b = Make(kBomber, -300, -500, 2);
    for (int32_t u = 1; u <= 50; ++u) UpdateEnemy(b);
    EXPECT_EQ(pool[b].x, -500) << "a bomber left of the map flies on";
}

TEST_F(EnemyTest, AttackChanceGrowsWithTheStage) {
    Lay(0, kFloorRow, 99, kFloorRow);
    struct Case {
        int32_t level;
        int64_t n;  // the chance is 2 in n
    };
    // n = 50 - Level, raised to 5 in 0..4, and unsigned 32-bit past stage 50.
    std::vector<Case> cases = {{0, 50},
                               {1, 49},
                               {8, 42},
                               {45, 5},
                               {47, 5},
                               {50, 5},
                               {-10, 60},
                               {INT_MAX, 2147483699LL},
                               {INT_MIN, 2147483698LL}};
    for (int32_t level = 51; level <= 200; level += 7)
        cases.push_back({level, 4294967346LL - level});
    const int32_t p = MakePlayer(400, 200);
    const int32_t w = Make(kWalkerShooter, 300, kOnFloor, 0);
    for (const Case& c : cases) {
        game.Level = c.level;
        int32_t attacks = 0;
        for (int32_t trial = 0; trial < (c.level > 50 ? 60 : 400); ++trial) {
            pool[w].x = 300;
            pool[w].row = 0;
            pool[w].frame = 0;
            const bool expected = NextRandom() % c.n < 2;
            UpdateEnemy(w);
            ASSERT_EQ(pool[w].row == 1, expected) << "Level " << c.level;
            attacks += pool[w].row == 1;
        }
        if (c.level == 1) {
            EXPECT_NEAR(attacks, 16, 10);
        }
        if (c.level == 45) {
            EXPECT_NEAR(attacks, 160, 40);
        }
    }
    // Out of sight there is no draw at all. Sight is tested after the step
    // (to x = 304): its frame grown by 160 ends at 545.
    pool[p].x = 545;
    pool[w].row = 0;
    pool[w].x = 300;
    pool[w].dir = 0;
    const uint32_t state = game.RandomState;
    UpdateEnemy(w);
    EXPECT_EQ(game.RandomState, state);
    pool[p].x = 544;
    pool[w].row = 0;
    pool[w].x = 300;
    pool[w].dir = 0;
    UpdateEnemy(w);
    EXPECT_NE(game.RandomState, state);
}

TEST_F(EnemyTest, WalkerShooterTurnsToThePlayerAndStopsToAttack) {
    Lay(0, kFloorRow, 99, kFloorRow);
    game.Level = 1;
    // After its step to x = 296 its centre is 336; it turns when the player's
    // centre (x + 60) lies more than 80 beyond that.
    const int32_t p = MakePlayer(356, 200);
    const int32_t w = Make(kWalkerShooter, 300, kOnFloor, 2);
    SkipToDraw(49, true);
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].dir, 2) << "centres 80 apart: no turn";
    EXPECT_EQ(pool[w].row, 1);
    EXPECT_EQ(pool[w].x, 300) << "stands where the update began";
    EXPECT_EQ(pool[w].frame, -1);
    EXPECT_EQ(pool[w].tick, 30);

    pool[p].x = 357;
    pool[w].row = 0;
    SkipToDraw(49, true);
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].dir, 0);

    // An attack in progress is restarted by a new one, and the held attack
    // draws once more for a shot.
    pool[w].frame = 3;
    SkipToTwoPassingDraws(49);
    const int32_t before = game.Sprite_Getsu;
    UpdateEnemy(w);
    EXPECT_EQ(pool[w].frame, -1);
    EXPECT_EQ(pool[w].row, 1);
    EXPECT_EQ(game.Sprite_Getsu, before + 1) << "a shot from the held attack";
}

TEST_F(EnemyTest, WalkerShooterShootsThroughItsAttackAndOnceAtItsEnd) {
    Lay(0, kFloorRow, 99, kFloorRow);
    game.Level = 1;
    for (int32_t type : {kWalkerShooter, kWalkerShooterB}) {
        game.Sprite_Getsu = 0;
        FarPlayer();
        const int32_t shot = type == kWalkerShooter ? kWalkerShot : kWalkerShotB;
        const int32_t w = Make(type, 300, kOnFloor, 0);
        pool[w].row = 1;
        RestartAnimation(pool[w]);
        int32_t expectedShots = 0, shots = 0;
        // Frames 0..6 of the attack row for 6 updates each: 37 updates hold
        // still, the one that finds frame 6 shoots and walks on.
        for (int32_t u = 1; u <= 37; ++u) {
            expectedShots += NextRandom() % 49 < 2;
            UpdateSprites();
            ASSERT_EQ(pool[w].x, 300) << u;
            ASSERT_EQ(pool[w].row, 1) << u;
            for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
                shots += pool[i].type == shot && pool[i].frames[1] == 1;  // made this update
            }
        }
        EXPECT_EQ(shots, expectedShots) << type;
        EXPECT_EQ(pool[w].frame, 6);
        const uint32_t state = game.RandomState;
        UpdateSprites();
        EXPECT_EQ(game.RandomState, state) << "no draw for the closing shot";
        EXPECT_EQ(pool[w].x, 304);
        EXPECT_EQ(pool[w].row, 0);
        const int32_t last = game.Sprite_Getsu - 1;
        ASSERT_EQ(pool[last].type, shot) << type;
        EXPECT_EQ(pool[last].frames[1], 1);
        // Shot 103 starts 59 below the walker's top, shot 107 51 below.
        EXPECT_EQ(pool[last].frames[2], kOnFloor + (type == kWalkerShooter ? 59 : 51));
        EXPECT_EQ(pool[last].dir, 0);
    }
}

TEST_F(EnemyTest, FlamerBreathesOneFlamePerAttackAtItsStart) {
    Lay(0, kFloorRow, 99, kFloorRow);
    game.Level = 1;
    MakePlayer(420, 200);
    const int32_t f = Make(kFlamer, 300, kOnFloor, 2);
    SkipToDraw(49, true);
    UpdateSprites();
    EXPECT_EQ(pool[f].dir, 0) << "turned to the player (centres more than 48 apart)";
    EXPECT_EQ(pool[f].row, 1);
    ASSERT_EQ(CountOf(kFlame), 1);
    const SpriteRecord& flame = pool[Find(kFlame)];
    EXPECT_EQ(flame.x, 300 + 57 + 4) << "made in front of it, then moved once";
    EXPECT_EQ(flame.y, kOnFloor + 79);
    // Every draw passes from here on: the attack holds it still for 36 more
    // updates and no second flame comes until the attack is over.
    for (int32_t u = 1; u <= 36; ++u) {
        SkipToDraw(49, true);
        UpdateSprites();
        ASSERT_EQ(pool[f].x, 300) << u;
        ASSERT_EQ(pool[f].row, 1) << u;
        ASSERT_EQ(CountOf(kFlame), 1) << u;
    }
    SkipToDraw(49, true);
    UpdateSprites();  // finds the last frame: walks on, no new attack yet
    EXPECT_EQ(pool[f].x, 304);
    EXPECT_EQ(pool[f].row, 0);
    EXPECT_EQ(CountOf(kFlame), 1);
    SkipToDraw(49, true);
    UpdateSprites();
    EXPECT_EQ(CountOf(kFlame), 2);
    EXPECT_EQ(pool[f].row, 1);
}

TEST_F(EnemyTest, CrawlerPausesForSingleUpdatesNearThePlayer) {
    Lay(0, kFloorRow, 99, kFloorRow);
    game.Level = 1;
    MakePlayer(200, 200);
    const int32_t c = Make(kCrawler, 300, 320 - 125, 2);
    SkipToDraw(49, false);
    UpdateEnemy(c);
    EXPECT_EQ(pool[c].x, 299);
    SkipToDraw(49, true);
    UpdateEnemy(c);
    EXPECT_EQ(pool[c].x, 299);
    EXPECT_EQ(pool[c].row, 0);
    EXPECT_EQ(game.Sprite_Getsu, 2) << "no shot";
    SkipToDraw(49, false);
    UpdateEnemy(c);
    EXPECT_EQ(pool[c].x, 298);
}

TEST_F(EnemyTest, BombersDropBombsByTheStagesChanceWhereverThePlayerIs) {
    FarPlayer();
    const int32_t b = Make(kBomber, 300, 100, 2);
    struct Case {
        int32_t level;
        int64_t n;
    };
    // n = 35 - Level, raised to 5 in 0..4, unsigned 32-bit past stage 35.
    for (const Case& c :
         {Case{1, 34}, Case{8, 27}, Case{30, 5}, Case{35, 5}, Case{36, 4294967295LL},
          Case{200, 4294967131LL}, Case{INT_MAX, 2147483684LL}}) {
        game.Level = c.level;
        for (int32_t trial = 0; trial < 300; ++trial) {
            game.Sprite_Getsu = 2;
            const bool expected = NextRandom() % c.n < 2;
            UpdateEnemy(b);
            ASSERT_EQ(game.Sprite_Getsu == 3, expected) << "Level " << c.level;
        }
    }
    game.Level = 1;
    SkipToDraw(34, true);
    game.Sprite_Getsu = 2;
    pool[b].x = 300;
    pool[b].y = 100;
    UpdateEnemy(b);
    ASSERT_EQ(pool[2].type, kBombShot);
    EXPECT_EQ(pool[2].y, 100 + 109);
    EXPECT_EQ(pool[2].x, 296 + 40 - 15);
}

TEST_F(EnemyTest, BomberKeepsItsHeightUpToStageTenAndTurnsOnlyAtWalls) {
    game.Level = 10;
    FarPlayer();
    Lay(30, 0, 30, 59);  // wall x = 960..991
    const int32_t b = Make(kBomberB, 800, 400, 0);
    pool[b].gauge = 77;
    for (int32_t u = 1; u <= 600; ++u) {
        UpdateEnemy(b);
        game.Sprite_Getsu = 2;
        ASSERT_EQ(pool[b].y, 400);
    }
    EXPECT_EQ(pool[b].gauge, 77);

    // A wall that only the upper probe line (34 above its bottom) meets.
    Lay(30, 0, 30, 59, kEmptyTile);
    world.At(30, (400 + 115 - 34) / 32) = kSolidTile;  // row 15 (480..511); the feet line is row 16
    pool[b].x = 960 - 81 - 4;
    pool[b].dir = 0;
    UpdateEnemy(b);
    EXPECT_EQ(pool[b].x, 960 - 81 - 4);
    EXPECT_EQ(pool[b].dir, 2);
}

TEST_F(EnemyTest, BomberClimbsAndSinksOnItsCycleFromStageEleven) {
    game.Level = 11;
    FarPlayer();
    const int32_t b = Make(kBomber, 1000, 1000, 2);
    pool[b].gauge = 0;
    int32_t x = 1000, y = 1000;
    for (int32_t u = 1; u <= 1002; ++u) {
        UpdateEnemy(b);
        game.Sprite_Getsu = 2;
        const int32_t k = u % 501;
        if (k < 100) y -= 4;
        if (k > 400) y += 4;
        ASSERT_EQ(pool[b].y, y) << "update " << u;
        ASSERT_EQ(pool[b].gauge, k);
        if (k == 150 || k == 350) {
            EXPECT_EQ(pool[b].x, x) << "turns on the spot at " << k;
            EXPECT_EQ(pool[b].dir, k == 150 ? 0 : 2);
        } else {
            x += pool[b].dir == 0 ? 4 : -4;
            ASSERT_EQ(pool[b].x, x) << "update " << u;
        }
    }

    // The count goes on from what the record holds; a ceiling stops the climb.
    pool[b].gauge = 250;
    UpdateEnemy(b);
    EXPECT_EQ(pool[b].gauge, 251);
    EXPECT_EQ(pool[b].y, y);
    pool[b].gauge = 10;
    world.At((pool[b].x + 40) / 32, (y - 4 + 23) / 32) = kSolidTile;
    UpdateEnemy(b);
    EXPECT_EQ(pool[b].y, y);
}

// Defeat arcs by type: peak height and when, sound, row, sideways drift.
struct DefeatCase {
    int32_t type;
    int32_t peak;
    int32_t peakT;
    int32_t GameState::*sound;
    int32_t row;
    int32_t drift;
};

TEST_F(EnemyTest, DefeatedEnemiesAreThrownOffInTheirArcsAndRemovedOutOfView) {
    const DefeatCase cases[] = {
        {kWalkerShooter, 160, 10, &GameState::SoundN, 2, 8},
        {kWalkerShooterB, 160, 10, &GameState::SoundN, 2, 8},
        {kFlamer, 320, 20, &GameState::SoundM, 2, 8},
        {kCrawler, 320, 20, &GameState::SoundL, 1, 8},
        {kBomber, 80, 10, &GameState::SoundL, 0, 0},
        {kBomberB, 80, 10, &GameState::SoundL, 0, 0},
    };
    game.Scr.y = 600;  // view 600..1079
    for (const DefeatCase& c : cases) {
        for (int32_t dir : {0, 2}) {
            game.Sprite_Getsu = 0;
            sounds_.events.clear();
            FarPlayer();
            const int32_t e = Make(c.type, 300, 1000, dir);
            pool[e].life = 0;
            int32_t top = 1000, topT = 0, t = 0;
            while (Find(c.type) >= 0 && t < 200) {
                UpdateSprites();
                ++t;
                if (Find(c.type) < 0) break;
                const SpriteRecord& s = pool[e];
                ASSERT_FALSE(IsOffScreen(s)) << c.type << " t " << t << ": kept out of view";
                EXPECT_EQ(s.row, c.row);
                EXPECT_EQ(s.frames[3], t);
                EXPECT_EQ(s.x, 300 + (dir == 0 ? 1 : -1) * c.drift * t);
                if (s.y < top) {
                    top = s.y;
                    topT = t;
                }
            }
            EXPECT_EQ(top, 1000 - c.peak) << c.type;
            EXPECT_EQ(topT, c.peakT) << c.type;
            EXPECT_LT(t, 200) << c.type << " was never removed";
            EXPECT_EQ(Played(), std::vector<int32_t>{game.*c.sound}) << c.type;
        }
    }
}

TEST_F(EnemyTest, DefeatedWalkerShooterGoesOnTheFirstUpdateWhollyOutOfView) {
    game.Scr.y = 600;
    FarPlayer();
    const int32_t w = Make(kWalkerShooter, 200, 800, 0);
    pool[w].life = -20;
    for (int32_t t = 1; t <= 26; ++t) UpdateSprites();
    ASSERT_EQ(Find(kWalkerShooter), w);
    EXPECT_EQ(pool[w].y, 800 + 249);
    EXPECT_EQ(pool[w].x, 200 + 26 * 8);
    EXPECT_EQ(pool[w].row, 2);
    EXPECT_EQ(pool[w].frames[4], 800);
    UpdateSprites();  // t = 27: y 1102 is below the view
    EXPECT_EQ(Find(kWalkerShooter), -1);
    EXPECT_EQ(TimesPlayed(game.SoundN), 1);
}

TEST_F(EnemyTest, DefeatedBomberFallsStraightFacingThree) {
    FarPlayer();
    const int32_t b = Make(kBomber, 300, 300, 0);
    pool[b].life = 0;
    UpdateEnemy(b);
    EXPECT_EQ(pool[b].dir, 3);
    EXPECT_EQ(pool[b].x, 300);
    EXPECT_EQ(pool[b].y, 300 + (16 - 320) / 20);
    EXPECT_EQ(pool[b].frame, -1);
    EXPECT_EQ(pool[b].tick, 30);
    // From t = 80 on the height stays.
    pool[b].frames[3] = 79;
    UpdateEnemy(b);
    const int32_t y = pool[b].y;
    game.Scr.y = y - 100;
    UpdateEnemy(b);
    EXPECT_EQ(pool[b].y, y);
    EXPECT_EQ(TimesPlayed(game.SoundL), 1);
}

}  // namespace
}  // namespace zoa::test
