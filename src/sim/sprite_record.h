#pragma once
#include <cstdint>

namespace zoa {

// Number of frame-count entries a record carries, one per animation row 0..7.
constexpr int32_t kAnimationRows = 8;

// One sprite: 26 signed 32-bit words in a fixed order, which is also the order
// of the 104 bytes a stage file stores for it. The kind of sprite is its type
// code; what it does, how it is drawn and what it touches follow from that.
struct SpriteRecord {
    int32_t type = 0;  // type code
    int32_t srcX = 0;  // sheet position of frame 0 of row 0
    int32_t srcY = 0;
    int32_t width = 0;  // frame size, also the extent for contact and view tests
    int32_t height = 0;
    int32_t x = 0;  // world position of the top-left corner
    int32_t y = 0;
    int32_t frame = 0;                    // current frame within the current row
    int32_t frames[kAnimationRows] = {};  // frame count of each row (or private words)
    int32_t row = 0;                      // current animation row
    int32_t sheetA = 0;                   // surface drawn from while dir is 0
    int32_t sheetB = 0;                   // surface drawn from otherwise
    int32_t step = 0;                     // the player's step within a jump
    int32_t tick = 0;                     // updates since the frame last advanced
    int32_t frameDelay = 0;               // updates per animation frame
    int32_t depth = 0;                    // draw order and contact class
    int32_t life = 0;
    int32_t gauge = 0;
    int32_t dir = 0;  // facing: 0 draws from sheetA

    bool operator==(const SpriteRecord&) const = default;
};

// Facing values (dir): 0 moves right and draws from sheetA, 2 moves left;
// any other value does not move and draws from sheetB.
constexpr int32_t kFacingRight = 0;
constexpr int32_t kFacingLeft = 2;

constexpr int32_t kSpriteWords = 26;
constexpr int32_t kSpriteRecordBytes = kSpriteWords * 4;
static_assert(sizeof(SpriteRecord) == kSpriteRecordBytes, "a record is 26 words without padding");

// The record's fields by name, in stored order; `frames` is the one field of
// more than one word.
struct SpriteFieldInfo {
    const char* name;
    int32_t words;
};
constexpr int32_t kSpriteFieldCount = 19;
extern const SpriteFieldInfo kSpriteFields[kSpriteFieldCount];

// The words of field `field` (0..18) of a record, `kSpriteFields[field].words` long.
int32_t* SpriteFieldWords(SpriteRecord& record, int32_t field);
const int32_t* SpriteFieldWords(const SpriteRecord& record, int32_t field);

// Index of the field called `name`, or -1.
int32_t FindSpriteField(const char* name);

// Calls visit(word) for the 26 words of a record in stored order.
template <class Record, class Visit>
void ForEachSpriteWord(Record& record, Visit&& visit) {
    for (int32_t f = 0; f < kSpriteFieldCount; ++f) {
        auto* words = SpriteFieldWords(record, f);
        for (int32_t k = 0; k < kSpriteFields[f].words; ++k) visit(words[k]);
    }
}

}  // namespace zoa
