#pragma once
#include <array>
#include <cstdint>

#include "sim/sprite_record.h"
#include "sim/sprite_types.h"

namespace zoa {

// Where the spawner puts a new sprite (x and y of its top-left corner).
enum class PlaceKind : int32_t {
    kCell32,   // the corner of the 32-pixel map cell under the mouse
    kCell16,   // the same on a 16-pixel grid
    kCentred,  // centred on the parent's width, dy below the parent's top
    kDrop,     // as kCentred, but kDropLateDy below from level kDropLateLevel on
    kFlame,    // in front of the parent by its facing, kFlameDy below its top
    kSparkle,  // at the parent's x, kSparkleRise above its top
};

struct Placement {
    PlaceKind kind;
    int32_t dy;  // for kCentred and kDrop
};

constexpr int32_t kDropLateDy = 63;
constexpr int32_t kDropLateLevel = 5;
constexpr int32_t kFlameAheadRight = 57;  // flame x from the parent's x, facing right
constexpr int32_t kFlameAheadLeft = -8;   // the same, facing left
constexpr int32_t kFlameDy = 79;
constexpr int32_t kSparkleRise = 16;

// Which way a new sprite faces.
enum class Facing : int32_t {
    kRight,   // dir 0
    kParent,  // a copy of the parent's dir
    kRandom,  // 0 or 2 with equal chance, from the game's one generator
};

// What a new record takes besides its entry's fields.
enum class Extra : int32_t {
    kNone,
    kStartY,    // frames[2] = its own starting y (where its flight starts from)
    kLifeCopy,  // life = the parent's life, instead of the entry's
};

// One type of the catalogue: what SpawnSprite makes for its code.
struct CatalogueEntry {
    int32_t type;
    int32_t srcX, srcY, width, height;  // frame 0 of row 0 and the frame size
    int32_t frames[kAnimationRows];     // frame counts of rows 0..7 (or private words)
    int32_t frameDelay;
    int32_t depth;
    int32_t life;
    Facing facing;
    Placement placement;
    Extra extra;
};

constexpr int32_t kCatalogueSize = 36;
extern const std::array<CatalogueEntry, kCatalogueSize> kCatalogue;

// The catalogue entry of `type`, or null for a code the catalogue does not hold.
const CatalogueEntry* FindCatalogueEntry(int32_t type);

// The surfaces a type is drawn from: SPgi for every type below the player,
// SPcca/SPccb for the player, SPmca/SPmcb for the enemies. Start-up creates
// the ten sheets first and in a fixed order, so their surface indices are
// always the same (1..10), and these are the numbers records and stage files hold.
struct SheetPair {
    int32_t a;  // drawn while dir is 0
    int32_t b;  // drawn for any other dir
};
SheetPair SheetsOf(int32_t type);

// Every new record starts its animation with these: the first update then
// shows frame 0 of row 0.
constexpr int32_t kNewRecordFrame = 30;
constexpr int32_t kNewRecordTick = 30;
// Only the player's entry sets step and gauge.
constexpr int32_t kPlayerStartStep = -1;
constexpr int32_t kPlayerStartGauge = kPlayerMaxGauge;

// The record an entry makes before it is placed and faced: the entry's fields,
// type, row 0, frame and tick 30, its sheets, step and gauge as the player
// starts them (0 for every other type), x, y and dir 0.
SpriteRecord CatalogueBase(const CatalogueEntry& entry);

}  // namespace zoa
