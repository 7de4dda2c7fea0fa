#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "files/le_words.h"
#include "sim/game_state.h"
#include "sim/sprite_record.h"

namespace zoa {

// A stage file ("ZANL", 640, 480, 256, 23 game-state words, the map row by row,
// the sprite records, Lives, Level) and a tile map file (W, H, the map row by
// row): both little-endian 32-bit words. One stage file is a snapshot of a
// running game; the numbered ones start the stages and USER.MAP is the save.

constexpr char kStageTag[4] = {'Z', 'A', 'N', 'L'};
constexpr int32_t kStageMarkers[3] = {640, 480, 256};
constexpr size_t kStageHeaderBytes = 108;  // tag, markers and the 23 words
constexpr size_t kStageTrailerBytes = 8;   // Lives, Level
constexpr size_t kTileMapHeaderBytes = 8;  // W, H

// Sizes the game can hold: a map no smaller than the view and no larger than
// MapGrid, a sprite count the pool can hold (at least the player).
constexpr int32_t kMinMapWidth = 20;
constexpr int32_t kMinMapHeight = 15;
constexpr int32_t kMaxMapWidth = 320;
constexpr int32_t kMaxMapHeight = 255;
constexpr int32_t kMaxStageSprites = 1000;

// The 23 game-state words of a stage file, in file order: each one's index
// and the game-state variable it is stored from and restored to. This one
// list makes the indices, the names and the table below.
#define ZOA_STAGE_WORDS(X)           \
    X(kRightHeld, RightHeld)         \
    X(kLeftHeld, LeftHeld)           \
    X(kUpHeld, UpHeld)               \
    X(kDownOn, DownOn)               \
    X(kDownReady, DownReady)         \
    X(kJumpOn, JumpOn)               \
    X(kJumpReady, JumpReady)         \
    X(kFireOn, FireOn)               \
    X(kFireReady, FireReady)         \
    X(kSpringJumpOn, SpringJumpOn)   \
    X(kPadJumpOn, PadJumpOn)         \
    X(kTileSheetView, TileSheetView) \
    X(kShowTileAttrs, ShowTileAttrs) \
    X(kMouseLeftDown, MouseLeftDown) \
    X(kEditMode, EditMode)           \
    X(kTime_Chai, Time_Chai)         \
    X(kSprite_Getsu, Sprite_Getsu)   \
    X(kPlayerIndex, PlayerIndex)     \
    X(kScrX, Scr.x)                  \
    X(kScrY, Scr.y)                  \
    X(kScrH, Scr.h)                  \
    X(kMap_w, Map_w)                 \
    X(kMap_h, Map_h)

enum StageWord : int32_t {
#define ZOA_STAGE_WORD_INDEX(index, variable) index,
    ZOA_STAGE_WORDS(ZOA_STAGE_WORD_INDEX)
#undef ZOA_STAGE_WORD_INDEX
        kStageWordCount
};
static_assert(kStageHeaderBytes == sizeof(kStageTag) + sizeof(kStageMarkers) + 4 * kStageWordCount,
              "the header holds the tag, the markers and every stage word");

// A stage word's game name ("RightHeld", ..., "Scr.x", ...) and its variable.
struct StageWordField {
    const char* name;
    int32_t& (*variable)(GameState& g);
};
extern const StageWordField kStageWords[kStageWordCount];

inline int32_t& StoredGameWord(GameState& g, int32_t word) {
    return kStageWords[word].variable(g);
}
// Index of the stage word called `name`, or -1.
int32_t FindStageWord(const std::string& name);

struct StageFile {
    std::array<int32_t, kStageWordCount> words{};
    std::vector<int32_t> tiles;  // Map_w x Map_h tile numbers, row by row
    std::vector<SpriteRecord> sprites;
    int32_t Lives = 0;
    int32_t Level = 0;

    int32_t& operator[](StageWord w) { return words[w]; }
    int32_t operator[](StageWord w) const { return words[w]; }
    bool operator==(const StageFile&) const = default;
};

struct TileMapFile {
    int32_t Map_w = 0;
    int32_t Map_h = 0;
    std::vector<int32_t> tiles;  // row by row
    bool operator==(const TileMapFile&) const = default;
};

enum class StageRead {
    kOk,
    kBadMarker,  // not a stage file: wrong tag or marker words
    kRejected,   // a stage file the game cannot hold: bad sizes, indices or tiles
};

// Reads a stage file from its bytes, checking everything the game relies on:
// tag and markers, W in 20..320, H in 15..255, N in 1..1000, PlayerIndex in
// 0..N-1, every tile number in 0..569, and a length of exactly
// 116 + 4WH + 104N bytes. On failure `out` is unspecified and *error says why.
StageRead ReadStageFile(const std::vector<uint8_t>& bytes, StageFile& out, std::string* error);

// Reads a tile map file: W and H in range, tiles in 0..569, length exactly 8 + 4WH.
bool ReadTileMapFile(const std::vector<uint8_t>& bytes, TileMapFile& out, std::string* error);

// Checks a stage before it is written, by the rules ReadStageFile applies, so
// that what is written can be read back. Empty when it is fine.
std::string CheckStageFile(const StageFile& file);

// The file's bytes. The stage must pass CheckStageFile (its sizes must match).
void WriteStageFile(const StageFile& file, WordWriter& out);
void WriteTileMapFile(const TileMapFile& file, WordWriter& out);

}  // namespace zoa
