// A crowded stage compiled from source: a full pool of every kind of sprite
// on floors, ledges and walls, played for many frames at several stages
// (early, the last, the bombers' climbing stages, far beyond). The pool never
// overflows, every record stays one of the game's types, and the chains of
// shots, bursts and sparkles all turn up. Run under the sanitizers this is
// also the check that no behaviour reads or writes outside its tables.
#include <set>
#include <string>

#include "behaviour_test_support.h"
#include "play/stage_loader.h"
#include "play/stage_source.h"
#include "sim/catalogue.h"

namespace zoa::test {
namespace {

constexpr int32_t kColumns = 160;
constexpr int32_t kRows = 40;

// Floors every 8 rows with gaps, ledges between them and a few walls.
std::string MapSource() {
    std::string text = "map\n";
    for (int32_t r = 0; r < kRows; ++r) {
        for (int32_t c = 0; c < kColumns; ++c) {
            const bool floor = r % 8 == 7 && c % 23 != 5 && c % 23 != 6;
            const bool ledge = r % 8 == 3 && c % 17 < 4;
            const bool wall = c % 31 == 0 && r % 8 > 3;
            text += floor || ledge || wall ? '#' : '.';
        }
        text += '\n';
    }
    return text + "end\n";
}

std::string StageSource(int32_t level) {
    std::string text = "stage 1\nLevel = " + std::to_string(level) +
                       "\nTime_Chai = 16\ntile . = 0\ntile # = 1\n" + MapSource();
    text += "sprite 10000 300 120\n";
    const int32_t kinds[] = {10001, 10002, 10003, 10004, 10005, 10006, 10001, 10003,
                             1000,  1001,  1002,  1003,  1014,  1015,  1007,  1008,
                             1010,  1004,  1013,  1016,  100,   101,   102,   103,
                             104,   105,   106,   107,   10006, 10004, 10002, 100};
    constexpr int32_t kKinds = sizeof(kinds) / sizeof(kinds[0]);
    for (int32_t n = 1; n < kMaxStageSprites; ++n) {
        const int32_t type = kinds[n % kKinds];
        // Spread over the map, many within the first screens the camera shows.
        const int32_t x = (n * 149) % (n % 3 == 0 ? 1200 : kColumns * 32 - 200);
        const int32_t y = (n * 97) % (kRows * 32 - 160);
        text +=
            "sprite " + std::to_string(type) + " " + std::to_string(x) + " " + std::to_string(y);
        if (n % 7 == 0 && type > 10000) text += " life=0";  // already beaten
        if (n % 2 == 0) text += " dir=2";
        text += "\n";
    }
    return text;
}

class SoakTest : public BehaviourTest {};

TEST_F(SoakTest, FullPoolOfEveryKindPlaysWithoutFault) {
    for (int32_t level : {1, 8, 11, 60}) {
        StageFile stage;
        TileMapFile map;
        std::string error;
        ASSERT_TRUE(CompileStageSource(StageSource(level), stage, map, &error)) << error;
        ApplyStage(stage);
        ApplyTileMap(map);
        ASSERT_EQ(game.Sprite_Getsu, kPoolCapacity);
        ASSERT_EQ(game.Level, level);
        SeedRandom(static_cast<uint32_t>(level));

        std::set<int32_t> seen;
        int32_t lowest = kPoolCapacity;
        for (int32_t frame = 0; frame < 1500; ++frame) {
            // The camera sweeps over the left of the map and back.
            game.Scr.x = (frame * 8) % 1600;
            game.Scr.y = (frame / 100 % 3) * 300;
            pool[game.PlayerIndex].life = 500;  // keep contact going
            UpdateSprites();
            DrawSprites();
            ASSERT_GT(game.Sprite_Getsu, 0);
            ASSERT_LE(game.Sprite_Getsu, kPoolCapacity);
            if (game.Sprite_Getsu < lowest) lowest = game.Sprite_Getsu;
            for (int32_t i = 0; i < game.Sprite_Getsu; ++i) {
                ASSERT_NE(FindCatalogueEntry(pool[i].type), nullptr)
                    << "record " << i << " holds type " << pool[i].type;
                seen.insert(pool[i].type);
            }
        }
        EXPECT_LT(lowest, kPoolCapacity - 50) << "Level " << level << ": records came and went";
        for (int32_t type : {101, 102, 103, 104, 105, 106, 107, 1013}) {
            EXPECT_TRUE(seen.count(type)) << "Level " << level << " never showed type " << type;
        }
        EXPECT_GT(TimesPlayed(game.SoundK), 0);
        EXPECT_GT(TimesPlayed(game.SoundN), 0);
        sounds_.events.clear();
    }
}

}  // namespace
}  // namespace zoa::test
