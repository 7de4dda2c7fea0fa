// The campaign's compiled stages, loaded through the game's own LoadStage over
// the generated data set: sizes, tiles, where the hero and every sprite stand,
// the exit at the end of each stage, and the order enemies are introduced in.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "campaign_support.h"
#include "sim/catalogue_lookup.h"
#include "sim/frame_rect.h"
#include "sim/player_rules.h"
#include "sim/sprite_types.h"
#include "tile_layout.h"

namespace zoa::test {
namespace {

constexpr int32_t kHighestDrawnTile = 550;  // 551..569 lie below the tile sheet

bool Solid(int32_t x, int32_t y) {
    return TileAttrAt(x, y) == kAttrSolid;
}

int32_t TileAt(int32_t column, int32_t row) {
    return world.At(column, row);
}

bool IsBomber(int32_t type) {
    return type == 10002 || type == 10005;
}

bool IsEnemy(int32_t type) {
    return type >= 10001 && type <= 10006;
}

// Every type a stage may hold: the hero, enemies, pick-ups, pads and scenery.
bool IsStageType(int32_t type) {
    return (type >= kPlayer && type <= 10006) || (type >= 1000 && type <= 1020 && type != 1013);
}

std::vector<const SpriteRecord*> Sprites() {
    std::vector<const SpriteRecord*> out;
    for (int32_t i = 0; i < game.Sprite_Getsu; ++i) out.push_back(&pool[i]);
    return out;
}

std::string Describe(const SpriteRecord& s) {
    return "sprite " + std::to_string(s.type) + " at (" + std::to_string(s.x) + ", " +
           std::to_string(s.y) + ")";
}

// Stands on a floor: the row under its bottom edge is solid below its centre
// and its bottom row is free.
bool StandsOnFloor(const SpriteRecord& s) {
    const int32_t cx = s.x + s.width / 2;
    const int32_t bottom = s.y + s.height;
    return bottom % kTileSize == 0 && Solid(cx, bottom) && !Solid(cx, bottom - 1);
}

TEST_F(CampaignTest, EveryStageLoadsWithItsNumberPaceAndDrawnTiles) {
    for (int32_t index = kDemoStage; index <= kEpilogueStage; ++index) {
        SCOPED_TRACE(StageName(index));
        ASSERT_TRUE(Load(index));
        EXPECT_EQ(game.Level, index);
        EXPECT_EQ(game.Time_Chai, 16u);
        EXPECT_EQ(game.Scr.h, 4);
        EXPECT_EQ(game.Lives, 3);
        EXPECT_GE(game.Map_w, 20);
        EXPECT_LE(game.Map_w, 320);
        EXPECT_GE(game.Map_h, 15);
        EXPECT_LE(game.Map_h, 255);
        int32_t badTiles = 0;
        for (int32_t r = 0; r < game.Map_h; ++r) {
            for (int32_t c = 0; c < game.Map_w; ++c) {
                const int32_t tile = TileAt(c, r);
                if (tile < 0 || tile > kHighestDrawnTile) ++badTiles;
            }
        }
        EXPECT_EQ(badTiles, 0) << "tiles that the sheet does not draw";
    }
}

TEST_F(CampaignTest, TheHeroStartsOnTheGroundClearOfWalls) {
    for (int32_t index = kDemoStage; index <= kEpilogueStage; ++index) {
        SCOPED_TRACE(StageName(index));
        ASSERT_TRUE(Load(index));
        int32_t heroes = 0;
        for (const SpriteRecord* s : Sprites()) heroes += s->type == kPlayer ? 1 : 0;
        EXPECT_EQ(heroes, 1);
        const SpriteRecord& hero = pool[game.PlayerIndex];
        ASSERT_EQ(hero.type, kPlayer);
        EXPECT_TRUE(StandsOnFloor(hero)) << Describe(hero);
        for (int32_t column : {LeftColumn(hero), RightColumn(hero)}) {
            for (int32_t line : {FootLine(hero), WallLine(hero), HeadLine(hero)})
                EXPECT_FALSE(Solid(column, line)) << "probe (" << column << ", " << line << ")";
        }
        // Room to see what comes: no wall within two tiles ahead.
        for (int32_t ahead = 1; ahead <= 2 * kTileSize; ahead += kTileSize / 2)
            EXPECT_FALSE(Solid(RightColumn(hero) + ahead, FootLine(hero)));
    }
}

TEST_F(CampaignTest, EverySpriteIsAWholeRecordInsideTheMapStandingWhereItBelongs) {
    for (int32_t index = kDemoStage; index <= kEpilogueStage; ++index) {
        SCOPED_TRACE(StageName(index));
        ASSERT_TRUE(Load(index));
        for (const SpriteRecord* s : Sprites()) {
            SCOPED_TRACE(Describe(*s));
            ASSERT_TRUE(IsStageType(s->type));
            SpriteRecord catalogue;
            if (CatalogueRecord(s->type, s->x, s->y, catalogue)) {
                EXPECT_EQ(s->srcX, catalogue.srcX);
                EXPECT_EQ(s->srcY, catalogue.srcY);
                EXPECT_EQ(s->width, catalogue.width);
                EXPECT_EQ(s->height, catalogue.height);
                EXPECT_TRUE(std::equal(s->frames, s->frames + kAnimationRows, catalogue.frames));
                EXPECT_EQ(s->sheetA, catalogue.sheetA);
                EXPECT_EQ(s->sheetB, catalogue.sheetB);
                EXPECT_EQ(s->frameDelay, catalogue.frameDelay);
                EXPECT_EQ(s->depth, catalogue.depth);
                EXPECT_EQ(s->life, catalogue.life);
            }
            EXPECT_GT(s->width, 0);
            EXPECT_GT(s->height, 0);
            EXPECT_GT(s->frames[0], 0);
            EXPECT_GT(s->frameDelay, 0);
            EXPECT_GT(s->life, 0);
            EXPECT_TRUE(s->dir == 0 || s->dir == 2);
            EXPECT_EQ(s->frame, 30);
            EXPECT_EQ(s->tick, 30);
            for (int32_t sheet : {s->sheetA, s->sheetB}) {
                ASSERT_GE(sheet, 1);
                ASSERT_LE(sheet, kSheetCount);
                for (int32_t f = 0; f < s->frames[0]; ++f) {
                    const Rect r = FrameSourceRect(s->srcX, s->srcY, s->width, s->height, 0, f);
                    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= kScreenWidth &&
                                r.bottom <= kSheets[sheet - 1].height)
                        << "frame " << f << " lies outside its sheet";
                }
            }
            EXPECT_GE(s->x, 0);
            EXPECT_GE(s->y, 0);
            EXPECT_LE(s->x + s->width, game.Map_w * kTileSize);
            EXPECT_LE(s->y + s->height, game.Map_h * kTileSize);
            if (IsBomber(s->type)) {
                // Flying level: its wall probes start out in the open.
                for (int32_t line : {s->y + s->height - 2, s->y + s->height - 34}) {
                    EXPECT_FALSE(Solid(s->x, line));
                    EXPECT_FALSE(Solid(s->x + s->width, line));
                }
            } else {
                EXPECT_TRUE(StandsOnFloor(*s));
            }
        }
    }
}

TEST_F(CampaignTest, EachStageEndsAtAnExitOnTheFloorWithRoomToWalkIn) {
    for (int32_t index = kFirstCampaignStage; index <= kEpilogueStage; ++index) {
        SCOPED_TRACE(StageName(index));
        ASSERT_TRUE(Load(index));
        int32_t exits = 0;
        for (int32_t r = 0; r < game.Map_h; ++r) {
            for (int32_t c = 0; c < game.Map_w; ++c) {
                if (TileAt(c, r) != kExitTile) continue;
                ++exits;
                SCOPED_TRACE("exit at column " + std::to_string(c) + ", row " + std::to_string(r));
                EXPECT_GE(c, game.Map_w - kViewColumns) << "not at the end of the stage";
                ASSERT_LT(r + 1, game.Map_h);
                EXPECT_TRUE(Solid(c * kTileSize, (r + 1) * kTileSize)) << "not on a floor";
                // The hero walks in from the left on the same floor, head room above.
                for (int32_t k = 1; k <= 2; ++k) {
                    EXPECT_FALSE(Solid((c - k) * kTileSize, r * kTileSize));
                    EXPECT_TRUE(Solid((c - k) * kTileSize, (r + 1) * kTileSize));
                    EXPECT_FALSE(Solid(c * kTileSize, (r - k) * kTileSize));
                }
            }
        }
        EXPECT_GE(exits, 1);
    }
}

// The jet pack (and a jump from a high ledge) can carry the hero anywhere the
// gauge allows, and above the map the hero is lost at once: so every column is
// closed at the top by a solid, drawn roof tile (cloud deck, canopy, rock or
// girders), never left open. Four rows thick, so that with the camera against
// the map's top the hero stays below the HUD's bars and icons.
TEST_F(CampaignTest, EveryStageIsClosedByASolidRoofFourTilesThick) {
    for (int32_t index = kDemoStage; index <= kEpilogueStage; ++index) {
        SCOPED_TRACE(StageName(index));
        ASSERT_TRUE(Load(index));
        int32_t open = 0;
        for (int32_t r = 0; r < 4; ++r) {
            for (int32_t c = 0; c < game.Map_w; ++c)
                open += Solid(c * kTileSize, r * kTileSize) ? 0 : 1;
        }
        EXPECT_EQ(open, 0) << "open cells in the roof";
    }
}

TEST_F(CampaignTest, EnemiesArriveKindByKindAndEveryStageHasPickUps) {
    // The first stage each kind may appear on.
    const std::map<int32_t, int32_t> firstStage = {{10004, 1}, {10001, 1}, {10003, 2},
                                                   {10002, 4}, {10005, 4}, {10006, 6}};
    std::set<int32_t> seen;
    for (int32_t index = kFirstCampaignStage; index <= kLastCampaignStage; ++index) {
        SCOPED_TRACE(StageName(index));
        ASSERT_TRUE(Load(index));
        int32_t enemies = 0;
        int32_t pickUps = 0;
        for (const SpriteRecord* s : Sprites()) {
            if (IsEnemy(s->type)) {
                ++enemies;
                EXPECT_GE(index, firstStage.at(s->type)) << Describe(*s) << " comes too early";
                seen.insert(s->type);
            }
            if ((s->type >= 1000 && s->type <= 1003) || s->type == 1014 || s->type == 1015)
                ++pickUps;
        }
        EXPECT_GE(enemies, 5);
        EXPECT_LE(enemies, 40);
        EXPECT_GE(pickUps, 3);
    }
    EXPECT_EQ(seen.size(), firstStage.size()) << "every kind of enemy appears somewhere";
    // The epilogue is a celebration: rewards, no enemies.
    ASSERT_TRUE(Load(kEpilogueStage));
    int32_t rewards = 0;
    for (const SpriteRecord* s : Sprites()) {
        EXPECT_FALSE(IsEnemy(s->type)) << Describe(*s);
        rewards += s->type >= 1000 && s->type <= 1015 ? 1 : 0;
    }
    EXPECT_GE(rewards, 10);
}

// The first stage teaches the controls with signs built from tiles: each is
// decoration the hero walks past, and the jump sign stands before the first pit.
TEST_F(CampaignTest, TheFirstStageTeachesJumpThrowAndFlyWithSignsThatAreNotSolid) {
    ASSERT_TRUE(Load(kFirstCampaignStage));
    std::map<int32_t, int32_t> firstColumn;
    for (int32_t c = game.Map_w - 1; c >= 0; --c) {
        for (int32_t r = 0; r < game.Map_h; ++r) firstColumn[TileAt(c, r)] = c;
    }
    for (int32_t tile = databuild::kSignJumpKeyTile; tile <= databuild::kSignPostTile; ++tile) {
        SCOPED_TRACE(tile);
        ASSERT_TRUE(firstColumn.count(tile)) << "a sign tile is missing";
        EXPECT_EQ(world.tiles[tile].attribute, kAttrEmpty);
    }
    EXPECT_LT(firstColumn[databuild::kSignJumpTile], firstColumn[databuild::kPitSpikesTile]);
}

TEST_F(CampaignTest, NoTwoStagesAreAlike) {
    std::vector<std::vector<int32_t>> maps;
    for (int32_t index = kDemoStage; index <= kEpilogueStage; ++index) {
        ASSERT_TRUE(Load(index)) << StageName(index);
        std::vector<int32_t> tiles = {game.Map_w, game.Map_h};
        for (int32_t r = 0; r < game.Map_h; ++r) {
            for (int32_t c = 0; c < game.Map_w; ++c) tiles.push_back(TileAt(c, r));
        }
        for (size_t other = 0; other < maps.size(); ++other)
            EXPECT_NE(tiles, maps[other]) << StageName(index) << " repeats " << StageName(other);
        maps.push_back(std::move(tiles));
    }
}

}  // namespace
}  // namespace zoa::test
