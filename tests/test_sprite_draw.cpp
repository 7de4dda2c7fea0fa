// Drawing sprites (clipping, the frame's place on its sheet, the facing's
// sheet) and the contact rules applied in the same pass.
#include <climits>
#include <cstring>

#include "sim/draw_sprites.h"
#include "sim/frame_rect.h"
#include "sim/update_sprites.h"
#include "sprite_test_support.h"

namespace zoa::test {
namespace {

constexpr int kItemSheet = 3;        // SPgi, surface 4
constexpr uint8_t kUntouched = 250;  // never a test sheet's pixel

class DrawTest : public SpriteTest {
  protected:
    void SetUp() override {
        SpriteTest::SetUp();
        std::memset(display->BackBuffer(), kUntouched, kScreenWidth * kScreenHeight);
    }

    // True when the screen rectangle at `at` shows `src` of `sheet` pixel for pixel.
    bool Shows(Point at, int sheet, Rect src) {
        for (int32_t y = 0; y < src.Height(); ++y) {
            for (int32_t x = 0; x < src.Width(); ++x) {
                if (Back(at.x + x, at.y + y) != SheetPixel(sheet, src.left + x, src.top + y))
                    return false;
            }
        }
        return true;
    }
    int DrawnPixels() {
        int n = 0;
        for (int32_t i = 0; i < kScreenWidth * kScreenHeight; ++i)
            n += display->BackBuffer()[i] != kUntouched;
        return n;
    }
    // One pass over the pool as the frame routine makes it: sorted, drawn, touched.
    static void Pass() {
        ListInPoolOrder();
        SortDrawList(game.Sprite_Getsu);
        DrawSprites();
    }
};

TEST_F(DrawTest, SpritesAreCutAtEveryScreenEdge) {
    game.Scr.x = 100;
    game.Scr.y = 50;
    struct Case {
        const char* edge;
        int32_t x, y;
        Point at;
        Rect source;
    } cases[] = {
        {"inside", 300, 200, {200, 150}, {1, 1, 31, 21}},
        {"left", 90, 200, {0, 150}, {11, 1, 31, 21}},
        {"right", 100 + 640 - 30 + 10, 200, {620, 150}, {1, 1, 21, 21}},
        {"top", 300, 40, {200, 0}, {1, 11, 31, 21}},
        {"bottom", 300, 50 + 480 - 20 + 10, {200, 470}, {1, 1, 31, 11}},
        {"corner", 90, 40, {0, 0}, {11, 11, 31, 21}},
    };
    for (const Case& c : cases) {
        game.Sprite_Getsu = 0;
        std::memset(display->BackBuffer(), kUntouched, kScreenWidth * kScreenHeight);
        Add(99, c.x, c.y, 30, 20, kItemDepth);
        Pass();
        Point at;
        Rect source;
        ASSERT_TRUE(SpriteBlit(pool[0], at, source));
        EXPECT_EQ(at.x, c.at.x) << c.edge;
        EXPECT_EQ(at.y, c.at.y) << c.edge;
        EXPECT_TRUE(Shows(c.at, kItemSheet, c.source)) << c.edge;
        EXPECT_EQ(DrawnPixels(), c.source.Width() * c.source.Height()) << c.edge;
    }

    // Wholly outside: nothing is drawn.
    std::memset(display->BackBuffer(), kUntouched, kScreenWidth * kScreenHeight);
    for (Point p : {Point{100 - 30, 200}, Point{100 + 641, 200}, Point{300, 50 - 25},
                    Point{300, 50 + 481}, Point{-2000000000, 2000000000}}) {
        game.Sprite_Getsu = 0;
        Add(99, p.x, p.y, 30, 20, kItemDepth);
        Pass();
        EXPECT_EQ(DrawnPixels(), 0) << p.x << "," << p.y;
    }
}

TEST_F(DrawTest, LongRowsContinueOneFrameHeightLower) {
    const int32_t i = Add(99, 0, 0, 121, 105, kItemDepth);
    pool[i].frames[0] = 8;
    const int32_t expectX[8] = {1, 122, 243, 364, 485, 1, 122, 243};
    for (int32_t f = 0; f < 8; ++f) {
        pool[i].frame = f;
        Point at;
        Rect source;
        ASSERT_TRUE(SpriteBlit(pool[i], at, source));
        EXPECT_EQ(source.left, expectX[f]) << f;
        EXPECT_EQ(source.Width(), 121) << f;
        EXPECT_EQ(source.top, f < 5 ? 1 : 106) << f;
    }
    // Rows start at their line of the row table; a wrapped frame of row 1 is
    // one more frame height down. A frame ending exactly at 640 already wraps.
    pool[i].row = 1;
    pool[i].frame = 6;
    Pass();
    EXPECT_TRUE(Shows({0, 0}, kItemSheet, {122, 1 + 105 * 2, 243, 1 + 105 * 3}));
    pool[i].row = 9;
    pool[i].frame = 0;
    Pass();
    EXPECT_TRUE(Shows({0, 0}, kItemSheet, {1, 1 + 105 * 13, 122, 1 + 105 * 14}));
    pool[i] = SpriteRecord{};
    pool[i].srcX = 0;
    pool[i].width = 128;
    pool[i].height = 10;
    pool[i].frame = 4;
    Point at;
    Rect source;
    ASSERT_TRUE(SpriteBlit(pool[i], at, source));
    EXPECT_EQ(source.left, 0);
    EXPECT_EQ(source.top, 10);
}

TEST_F(DrawTest, FacingPicksTheSheet) {
    const int32_t i = Add(99, 0, 0, 20, 20, kItemDepth);
    pool[i].sheetA = 4;
    pool[i].sheetB = 5;
    for (int32_t dir : {0, 2, 3}) {
        pool[i].dir = dir;
        Pass();
        EXPECT_TRUE(Shows({0, 0}, dir == 0 ? 3 : 4, {1, 1, 21, 21})) << dir;
    }
}

TEST_F(DrawTest, DamagedRecordsNeverDrawOutsideTheirPlace) {
    AddPlayer(0, 0);
    pool[0].sheetA = 0;  // the back buffer is not a sheet
    for (int32_t sheet : {11, 100, 101, -1, INT32_MAX, INT32_MIN}) {
        const int32_t k = Add(99, 10, 10, 20, 20, kItemDepth);
        pool[k].sheetA = sheet;
    }
    Pass();
    EXPECT_EQ(DrawnPixels(), 0) << "no sheet to draw from";

    // Rows, frames and sizes out of every range, clocks at the ends of theirs,
    // positions and a camera at the ends of the 32-bit range: every frame that
    // is drawn lands where its record stands, and nothing is read outside a
    // sheet (the sanitizers watch the rest).
    struct Bad {
        int32_t row, frame, width, height, srcX, srcY;
    } bad[] = {
        {40, 0, 20, 20, 1, 1},
        {-3, 0, 20, 20, 1, 1},
        {0, INT32_MAX, 20, 20, 1, 1},
        {0, INT32_MIN, INT32_MAX, 20, 1, 1},
        {9, 1, 0, 20, 1, 1},
        {0, 2, -50, -50, 1, 1},
        {7, 5, 20, INT32_MAX, INT32_MAX, INT32_MIN},
        {0, 0, 20, 20, 630, 1990},
    };
    for (const Bad& b : bad) {
        const int32_t k = Add(99, 10, 10, b.width, b.height, kItemDepth);
        pool[k].row = b.row;
        pool[k].frame = b.frame;
        pool[k].srcX = b.srcX;
        pool[k].srcY = b.srcY;
        pool[k].frames[0] = INT32_MAX;
        pool[k].frameDelay = INT32_MIN;
        pool[k].tick = INT32_MAX;
    }
    Add(kPlayerShot, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, kPlayerShotDepth);
    Add(kCrawler, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, kEnemyDepth, INT32_MIN);
    Add(kWalkerShot, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kEnemyShotDepth);
    for (int pass = 0; pass < 3; ++pass) {
        UpdateSprites();
        DrawSprites();
    }
    for (int32_t y = 0; y < kScreenHeight; ++y) {
        for (int32_t x = 0; x < kScreenWidth; ++x) {
            const bool inPlace = x >= 10 && x < 30 && y >= 10 && y < 30;
            if (!inPlace) {
                ASSERT_EQ(Back(x, y), kUntouched) << x << "," << y;
            }
        }
    }
    std::memset(display->BackBuffer(), kUntouched, kScreenWidth * kScreenHeight);
    game.Scr.x = INT32_MAX;
    game.Scr.y = INT32_MIN;
    UpdateSprites();
    DrawSprites();
    EXPECT_EQ(DrawnPixels(), 0);

    // No player record to be found: everything is drawn, nothing touches.
    game.Scr = {};
    game.Sprite_Getsu = 0;
    Add(kLifePickUp, 0, 0, 20, 20, kItemDepth);
    game.PlayerIndex = 5000;
    Pass();
    EXPECT_EQ(pool[0].life, 1);
    EXPECT_GT(DrawnPixels(), 0);
}

// The contact rules: the player stands at (1000, 500) with its body at
// (1040..1081, 535..597) and its feet at (1040..1081, 595..601); the camera
// shows (800..1440, 300..780).
class ContactTest : public DrawTest {
  protected:
    void SetUp() override {
        DrawTest::SetUp();
        game.Scr.x = 800;
        game.Scr.y = 300;
        game.SoundD = 4;
        game.SoundA = 1;
        game.SoundE = 5;
        game.SoundH = 8;
    }
    SpriteRecord& Player() { return pool[game.PlayerIndex]; }
};

TEST_F(ContactTest, PickUpsGiveTheirBonusAndThePlayersTurnCapsIt) {
    AddPlayer(1000, 500, 450);
    const int32_t big = Add(kBigLifePickUp, 1050, 550, 36, 35, kItemDepth);
    const int32_t gauge = Add(kGaugePickUp, 1000, 560, 124, 66, kItemDepth);
    const int32_t away = Add(kSmallLifePickUp, 1081, 500, 44, 43, kItemDepth);
    Player().gauge = 400;
    Pass();
    EXPECT_EQ(pool[big].life, 0);
    EXPECT_EQ(pool[gauge].life, 0);
    EXPECT_EQ(Player().life, 500) << "450 + 300, brought back to 500 in the same pass";
    EXPECT_EQ(Player().gauge, 500) << "400 + 150, brought back to 500";
    EXPECT_EQ(pool[away].life, 1) << "touching the body's edge is no contact";
    EXPECT_TRUE(sounds_.events.empty());

    // A used pick-up that has not been removed yet gives its bonus again.
    Player().life = 100;
    Player().gauge = 0;
    Pass();
    EXPECT_EQ(Player().life, 400);
    EXPECT_EQ(Player().gauge, 150);
}

TEST_F(ContactTest, AnExtraLifeStopsAtEight) {
    AddPlayer(1000, 500);
    const int32_t extra = Add(kExtraLifePickUp, 1000, 500, 121, 103, kItemDepth);
    game.Lives = 3;
    Pass();
    EXPECT_EQ(game.Lives, 4);
    EXPECT_EQ(pool[extra].life, 0);
    game.Lives = 8;
    Pass();
    EXPECT_EQ(game.Lives, 8);
}

TEST_F(ContactTest, ADefeatedPlayerTouchesNothingButEverythingIsDrawn) {
    AddPlayer(1000, 500, 0);
    Add(kLifePickUp, 1000, 500, 57, 87, kItemDepth);
    const int32_t enemy = Add(kWalkerShooter, 1200, 400, 81, 115, kEnemyDepth, 100);
    Add(kPlayerShot, 1230, 470, 16, 16, kPlayerShotDepth);
    Add(kWalkerShot, 1040, 540, 33, 32, kEnemyShotDepth);
    Pass();
    for (int32_t i = 1; i < 5; ++i) EXPECT_EQ(pool[i].life, i == enemy ? 100 : 1) << i;
    EXPECT_EQ(Player().life, 0);
    EXPECT_TRUE(sounds_.events.empty());
    EXPECT_TRUE(Shows({400, 100}, kItemSheet, {1, 1, 31, 71})) << "the enemy";
}

TEST_F(ContactTest, AShotHitsEveryListedEnemyItOverlaps) {
    AddPlayer(1000, 500);
    const int32_t a = Add(kWalkerShooter, 1200, 400, 81, 115, kEnemyDepth, 100);
    const int32_t b = Add(kWalkerShooter, 1210, 400, 81, 115, kEnemyDepth, 100);
    const int32_t beaten = Add(kBomber, 1190, 400, 81, 114, kEnemyDepth, 0);
    const int32_t missed = Add(kFlamer, 1300, 400, 81, 115, kEnemyDepth, 100);
    const int32_t shot = Add(kPlayerShot, 1230, 470, 16, 16, kPlayerShotDepth);
    Pass();
    EXPECT_EQ(pool[a].life, 75);
    EXPECT_EQ(pool[b].life, 75);
    EXPECT_EQ(pool[beaten].life, -30) << "an enemy at 0 still takes the shot";
    EXPECT_EQ(pool[missed].life, 100);
    EXPECT_EQ(pool[shot].life, 0);
    EXPECT_EQ(Played(), (std::vector<int32_t>{8, 8, 8}));

    // Enemies out of view are not listed, so shots pass through them.
    sounds_.events.clear();
    game.Scr.x = 0;
    game.Scr.y = 0;
    pool[shot].life = 1;
    Pass();
    EXPECT_EQ(pool[a].life, 75);
    EXPECT_EQ(pool[shot].life, 1);
    EXPECT_TRUE(sounds_.events.empty());
}

TEST_F(ContactTest, OnlyTheFirstNinetyNineEnemiesOnScreenMeetShots) {
    AddPlayer(1000, 500);
    for (int32_t k = 0; k < 100; ++k) Add(kBomber, 820, 320, 81, 114, kEnemyDepth, 100);
    const int32_t shot = Add(kPlayerShot, 1330, 370, 16, 16, kPlayerShotDepth);
    const int32_t first = 1;  // pool index of the first enemy
    for (int32_t late : {99, 98}) {
        // Enemy number `late` (from 0, in draw order) stands on the shot.
        for (int32_t k = 0; k < 100; ++k) {
            pool[first + k].x = k == late ? 1300 : 820;
            pool[first + k].life = 100;
        }
        pool[shot].life = 1;
        // All enemies share a depth: list them in pool order, then the shot.
        for (int32_t k = 0; k < 100; ++k) pool.DrawList[k] = {kEnemyDepth, first + k};
        pool.DrawList[100] = {kPlayerShotDepth, shot};
        pool.DrawList[101] = {kPlayerDepth, 0};
        DrawSprites();
        if (late == 99) {
            EXPECT_EQ(pool[first + late].life, 100) << "the hundredth enemy is not tested";
            EXPECT_EQ(pool[shot].life, 1);
        } else {
            EXPECT_EQ(pool[first + late].life, 70) << "the ninety-ninth is";
            EXPECT_EQ(pool[shot].life, 0);
        }
    }
}

// With the pause menu open every sprite is drawn and nothing touches: no
// crawler bite or flame each paused frame, no extra life, no pad, no sound.
TEST_F(ContactTest, WhilePausedEverythingIsDrawnAndNothingTouches) {
    AddPlayer(1000, 500);
    Add(kCrawler, 1000, 470, 91, 125, kEnemyDepth, 10);
    Add(kFlame, 1070, 580, 33, 33, kEnemyShotDepth);
    const int32_t extra = Add(kExtraLifePickUp, 1000, 500, 121, 103, kItemDepth);
    const int32_t spring = Add(kSpringPad, 1040, 592, 48, 80, kItemDepth);
    game.Lives = 3;
    game.PauseActive = 1;
    for (int pass = 0; pass < 5; ++pass) Pass();
    EXPECT_EQ(Player().life, 500);
    EXPECT_EQ(game.Lives, 3);
    EXPECT_EQ(pool[extra].life, 1);
    EXPECT_EQ(pool[spring].life, 1);
    EXPECT_TRUE(sounds_.events.empty());
    EXPECT_GT(DrawnPixels(), 0);
    game.PauseActive = 0;
    Pass();
    EXPECT_EQ(Player().life, 490) << "bitten and burnt once back in play";
    EXPECT_EQ(game.Lives, 4);
}

TEST_F(ContactTest, TheChargeHurtsEnemiesAndTheCrawlerHurtsByTouch) {
    AddPlayer(1000, 500);
    const int32_t flamer = Add(kFlamer, 1000, 480, 81, 115, kEnemyDepth, 100);
    const int32_t crawler = Add(kCrawler, 1000, 470, 91, 125, kEnemyDepth, 10);
    const int32_t beaten = Add(kCrawler, 1000, 470, 91, 125, kEnemyDepth, 0);
    Pass();
    EXPECT_EQ(pool[flamer].life, 100) << "only the crawler hurts by touch";
    EXPECT_EQ(Player().life, 495);

    Player().row = 3;  // charging
    Pass();
    EXPECT_EQ(pool[flamer].life, 80);
    EXPECT_EQ(pool[crawler].life, 5);
    EXPECT_EQ(pool[beaten].life, 0);
    EXPECT_EQ(Player().life, 495);
    EXPECT_TRUE(sounds_.events.empty());
}

TEST_F(ContactTest, EnemyShotsHurtTheFlameStaysAndBurnsOnEveryPass) {
    AddPlayer(1000, 500);
    const int32_t shot = Add(kBombShot, 1040, 540, 31, 30, kEnemyShotDepth);
    Pass();
    EXPECT_EQ(Player().life, 490);
    EXPECT_EQ(pool[shot].life, 0);
    EXPECT_EQ(Played(), (std::vector<int32_t>{8}));

    game.Sprite_Getsu = 1;
    sounds_.events.clear();
    const int32_t flame = Add(kFlame, 1070, 580, 33, 33, kEnemyShotDepth);
    for (int pass = 0; pass < 10; ++pass) Pass();
    EXPECT_EQ(Player().life, 440);
    EXPECT_EQ(pool[flame].life, 1);
    EXPECT_EQ(Played(), std::vector<int32_t>(10, 8));

    // A shot beside the body's box misses.
    pool[flame].x = 1081;
    Pass();
    EXPECT_EQ(Player().life, 440);
}

TEST_F(ContactTest, PadsLaunchOnlyAPlayerOnTheGround) {
    AddPlayer(1000, 500);
    const int32_t spring = Add(kSpringPad, 1040, 592, 48, 80, kItemDepth);
    Player().step = 6;
    Player().tick = 2;
    Player().frame = 3;
    Pass();
    EXPECT_EQ(pool[spring].life, 0);
    EXPECT_EQ(Player().step, -1);
    EXPECT_EQ(Player().tick, 30);
    EXPECT_EQ(Player().frame, 0);
    EXPECT_EQ(Played(), (std::vector<int32_t>{4, 1}));

    game.Sprite_Getsu = 1;
    sounds_.events.clear();
    const int32_t pad = Add(kFirstJumpPad + 2, 1030, 593, 59, 65, kItemDepth);
    int32_t* flags[] = {&game.JumpOn, &game.SpringJumpOn, &game.PadJumpOn, &game.UpHeld};
    for (int32_t* flag : flags) {
        *flag = 1;
        Pass();
        *flag = 0;
        EXPECT_EQ(pool[pad].life, 1);
    }
    EXPECT_TRUE(sounds_.events.empty());
    Pass();
    EXPECT_EQ(pool[pad].life, 0);
    EXPECT_EQ(Played(), (std::vector<int32_t>{5}));

    // Feet that only reach down to the top of the pad's box.
    game.Sprite_Getsu = 1;
    sounds_.events.clear();
    Add(kFirstJumpPad, 1030, 597, 59, 65, kItemDepth);
    Pass();
    EXPECT_EQ(pool[1].life, 1);
}

TEST(FrameSourceRect, WrapsRowsAtTheSheetEdge) {
    const int expectX[8] = {1, 122, 243, 364, 485, 1, 122, 243};
    for (int f = 0; f < 8; ++f) {
        const Rect r = FrameSourceRect(1, 1, 121, 105, 1, f);
        EXPECT_EQ(r.left, expectX[f]) << f;
        EXPECT_EQ(r.right - r.left, 121);
        EXPECT_EQ(r.top, 1 + 105 * (f < 5 ? 1 : 2)) << f;
    }
    // A frame ending exactly at 640 already wraps.
    EXPECT_EQ(FrameSourceRect(0, 0, 128, 10, 0, 4).top, 10);
    EXPECT_EQ(FrameSourceRect(1, 1, 121, 105, 9, 0).top, 1 + 105 * 13);
    EXPECT_EQ(FrameSourceRect(1, 1, 121, 105, 40, 0).top, 1);  // no such row: row 0
}

}  // namespace
}  // namespace zoa::test
