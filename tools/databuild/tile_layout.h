#pragma once
#include <cstdint>

namespace zoa::databuild {

// What each of the 570 tile numbers shows. The solid/empty split follows the
// game's default tile attributes: every empty-attribute tile is decoration over
// transparency, the exit tile (kExitTile, sim/world_map.h) is the exit portal,
// everything else is a solid block.
//
// Terrain sets: one sheet row of 19 tiles each, always in this order.
enum TerrainPiece {
    kTopLeft,
    kTop,
    kTopRight,
    kLeft,
    kFill,
    kRight,
    kBottomLeft,
    kBottom,
    kBottomRight,
    kInnerTopLeft,
    kInnerTopRight,
    kPlatformLeft,
    kPlatformMiddle,
    kPlatformRight,
    kBlock,
    kColumnTop,
    kColumnMiddle,
    kColumnBottom,
    kFillAlt,
    kPieceCount
};

enum Terrain {
    kGrassEarth,
    kHillStone,
    kForestMoss,
    kForestLogs,
    kDesertSand,
    kDesertRock,
    kCityPlate,
    kCityGirder,
    kRedBrick,
    kGreyStone,
    kTerrainCount
};

// Sheet rows holding the terrain sets: rows 9 and 12..20 hold kGrassEarth ..
// kGreyStone; rows 21..28 hold weathered variants of kGrassEarth .. kCityGirder.
constexpr int kTerrainRow[kTerrainCount] = {9, 12, 13, 14, 15, 16, 17, 18, 19, 20};
constexpr int kVariantFirstRow = 21;
constexpr int kVariantRows = 8;
// Row 29 lies below the 960-pixel sheet: those tiles (551..569) cannot be shown.
constexpr int kFirstHiddenTile = 551;
// Pits: spikes on the floor's row, an abyss below (passable, like every
// decoration). Roofs: solid cloud deck and leaf canopy, body and underside.
constexpr int kPitSpikesTile = 110;
constexpr int kPitAbyssTile = 111;
constexpr int kCloudDeckTile = 211;
constexpr int kCloudUndersideTile = 212;
constexpr int kCanopyTile = 213;
constexpr int kCanopyUndersideTile = 214;
// A log stilt that a building in the forest stands on: decoration behind the
// hero, so he walks between the stilts under the building.
constexpr int kLogStiltTile = 130;

// Signs that teach the controls on the first stage: a board two tiles wide,
// the key's picture on its left half and what it does on its right, standing
// on two posts. Decoration tiles, so the hero walks past them.
constexpr int kSignJumpKeyTile = 112;   // the Z key
constexpr int kSignJumpTile = 113;      // an arrow leaping up and over
constexpr int kSignThrowKeyTile = 114;  // the X key
constexpr int kSignThrowTile = 115;     // a shot flying right
constexpr int kSignFlyKeyTile = 116;    // the Up key
constexpr int kSignFlyTile = 117;       // an arrow rising on a flame
constexpr int kSignPostTile = 118;      // the posts under a board half
constexpr bool IsSignTile(int n) {
    return n >= kSignJumpKeyTile && n <= kSignPostTile;
}

}  // namespace zoa::databuild
