#include "sim/catalogue.h"

#include "sim/sprite_types.h"

namespace zoa {

namespace {

using enum Facing;
using enum Extra;

constexpr Placement Centred(int32_t dy) {
    return {PlaceKind::kCentred, dy};
}
constexpr Placement Drop(int32_t dy) {
    return {PlaceKind::kDrop, dy};
}
constexpr Placement kCell32{PlaceKind::kCell32, 0};
constexpr Placement kCell16{PlaceKind::kCell16, 0};
constexpr Placement kAhead{PlaceKind::kFlame, 0};    // the flame
constexpr Placement kAbove{PlaceKind::kSparkle, 0};  // the sparkle

// Surfaces of the sheets, numbered in the order start-up creates them.
constexpr int32_t kSurfaceSPgi = 4, kSurfaceSPcca = 5, kSurfaceSPccb = 6, kSurfaceSPmca = 7,
                  kSurfaceSPmcb = 8;

}  // namespace

// Frames of a row lie side by side on the sheet from (srcX, srcY) with a pitch
// of `width`. Types below the player only ever show row 0: their frames
// entries 1..7 are unused or private words of their behaviour (the arcing
// shots count their flight in entry 1 and keep its starting height in 2).
// The spark's life column is what it has when no shot hands its own on.
// Columns dl and dp are frameDelay and depth.
// clang-format off
const std::array<CatalogueEntry, kCatalogueSize> kCatalogue = {{
//   type   srcX srcY  w    h    frames              dl  dp  life facing   placement     extra
    {100,   1,   1478, 16,  16,  {1,0,0,0,0,0,0,0},  1,  35, 1,   kParent, Centred(+51), kStartY},
    {101,   1,   1444, 17,  16,  {3,0,0,0,0,0,0,0},  4,  25, 1,   kRandom, Centred(+1),  kLifeCopy},
    {102,   1,   348,  101, 88,  {6,0,0,0,0,0,0,0},  4,  25, 10,  kParent, Centred(-36), kNone},
    {103,   1,   1347, 33,  32,  {6,0,0,0,0,0,0,0},  8,  30, 1,   kParent, Centred(+59), kStartY},
    {104,   1,   1413, 31,  30,  {5,0,0,0,0,0,0,0},  4,  30, 1,   kParent, Drop(+109),   kStartY},
    {105,   1,   1380, 33,  33,  {10,0,0,0,0,0,0,0}, 4,  45, 10,  kParent, Centred(0),   kStartY},
    {106,   1,   1313, 33,  33,  {6,0,0,0,0,0,0,0},  8,  30, 1,   kParent, kAhead,       kStartY},
    {107,   1,   1461, 16,  16,  {1,0,0,0,0,0,0,0},  8,  30, 10,  kParent, Centred(+51), kStartY},
    {1000,  1,   1,    57,  87,  {10,8,4,8,4,7,6,2}, 2,  10, 1,   kRight,  kCell32,      kNone},
    {1001,  1,   88,   44,  43,  {10,8,4,8,4,7,6,2}, 3,  10, 1,   kRight,  kCell32,      kNone},
    {1002,  1,   132,  124, 66,  {10,8,4,8,4,7,6,2}, 4,  10, 1,   kRight,  kCell32,      kNone},
    {1003,  1,   266,  51,  81,  {10,8,4,8,4,7,6,2}, 4,  10, 1,   kRight,  kCell32,      kNone},
    {1004,  1,   894,  167, 264, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {1005,  169, 894,  157, 218, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {1006,  327, 894,  142, 185, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {1007,  1,   777,  48,  80,  {3,8,4,8,4,7,6,2},  2,  10, 1,   kRight,  kCell32,      kNone},
    {1008,  1,   645,  59,  65,  {3,8,4,8,4,7,6,2},  2,  10, 1,   kRight,  kCell32,      kNone},
    {1009,  178, 645,  59,  65,  {3,8,4,8,4,7,6,2},  2,  10, 1,   kRight,  kCell32,      kNone},
    {1010,  355, 645,  59,  65,  {3,8,4,8,4,7,6,2},  2,  10, 1,   kRight,  kCell32,      kNone},
    {1011,  1,   711,  59,  65,  {3,8,4,8,4,7,6,2},  2,  10, 1,   kRight,  kCell32,      kNone},
    {1012,  178, 711,  59,  65,  {3,8,4,8,4,7,6,2},  2,  10, 1,   kRight,  kCell32,      kNone},
    {1013,  1,   1497, 97,  96,  {6,8,4,8,4,7,6,2},  7,  10, 1,   kRight,  kAbove,       kNone},
    {1014,  1,   858,  36,  35,  {1,0,0,0,0,0,0,0},  20, 10, 1,   kRight,  kCell32,      kNone},
    {1015,  1,   437,  121, 103, {10,0,0,0,0,0,0,0}, 4,  10, 1,   kRight,  kCell32,      kNone},
    {1016,  1,   1159, 130, 139, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {1017,  132, 1159, 141, 141, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {1018,  274, 1159, 116, 145, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {1019,  391, 1159, 87,  137, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {1020,  479, 1159, 106, 136, {1,8,4,8,4,7,6,2},  4,  10, 1,   kRight,  kCell32,      kNone},
    {kPlayer, 1,  1,   121, 105, {5,8,8,4,4,7,6,3},  4,  40, kPlayerMaxLife, kRight,  kCell32,      kNone},
    {10001, 1,   1070, 81,  115, {7,7,8,0,0,0,0,0},  6,  20, 100, kRandom, kCell32,      kNone},
    {10002, 1,   1,    81,  114, {7,0,0,0,0,0,0,0},  8,  20, 100, kRandom, kCell32,      kNone},
    {10003, 1,   606,  81,  115, {7,7,8,0,0,0,0,0},  6,  20, 100, kRandom, kCell32,      kNone},
    {10004, 1,   231,  91,  125, {7,8,0,0,0,0,0,0},  4,  20, 10,  kRandom, kCell16,      kNone},
    {10005, 1,   116,  81,  115, {7,8,0,0,0,0,0,0},  4,  20, 100, kRandom, kCell16,      kNone},
    {10006, 1,   1530, 81,  115, {7,7,8,0,0,0,0,0},  6,  20, 100, kRandom, kCell16,      kNone},
}};
// clang-format on

const CatalogueEntry* FindCatalogueEntry(int32_t type) {
    for (const CatalogueEntry& entry : kCatalogue) {
        if (entry.type == type) return &entry;
    }
    return nullptr;
}

SheetPair SheetsOf(int32_t type) {
    if (type < kPlayer) return {kSurfaceSPgi, kSurfaceSPgi};
    if (type == kPlayer) return {kSurfaceSPcca, kSurfaceSPccb};
    return {kSurfaceSPmca, kSurfaceSPmcb};
}

SpriteRecord CatalogueBase(const CatalogueEntry& entry) {
    SpriteRecord r;
    r.type = entry.type;
    r.srcX = entry.srcX;
    r.srcY = entry.srcY;
    r.width = entry.width;
    r.height = entry.height;
    r.frame = kNewRecordFrame;
    for (int32_t k = 0; k < kAnimationRows; ++k) r.frames[k] = entry.frames[k];
    r.row = 0;
    r.sheetA = SheetsOf(entry.type).a;
    r.sheetB = SheetsOf(entry.type).b;
    // A reused slot keeps nothing of its last record: the player starts with
    // a fresh jump count and a full gauge, every other type with 0 in both.
    r.step = entry.type == kPlayer ? kPlayerStartStep : 0;
    r.gauge = entry.type == kPlayer ? kPlayerStartGauge : 0;
    r.tick = kNewRecordTick;
    r.frameDelay = entry.frameDelay;
    r.depth = entry.depth;
    r.life = entry.life;
    r.dir = kFacingRight;
    return r;
}

}  // namespace zoa
