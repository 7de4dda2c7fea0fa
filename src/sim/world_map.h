#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zoa {

constexpr int32_t kTileSize = 32;
constexpr int32_t kViewColumns = 20;  // 640 / 32
constexpr int32_t kViewRows = 15;     // 480 / 32
constexpr int32_t kMapColumns = 320;  // largest map
constexpr int32_t kMapRows = 255;
constexpr int32_t kTileCount = 570;
constexpr int32_t kTileSheetColumns = 19;
constexpr int32_t kTileSheetRows = 30;
constexpr int32_t kTileCellPitch = 33;  // 32-pixel cells with 1-pixel lines between

// Tile attributes; behaviours compare against one of these and treat every
// other value as not matching.
constexpr int32_t kAttrEmpty = 0;
constexpr int32_t kAttrSolid = 1;
constexpr int32_t kAttrExit = 10;
// The one tile the default attributes make an exit; new stages use it.
constexpr int32_t kExitTile = 153;

struct TileAttribute {
    int32_t sheetX = 0;
    int32_t sheetY = 0;
    int32_t attribute = 0;

    bool operator==(const TileAttribute&) const = default;
};

// The tile map (column-major: column c, row r is element c * 255 + r), the tile
// attribute table and the staging area the attribute file is read into.
struct WorldMap {
    std::array<int32_t, kMapColumns * kMapRows> grid{};
    std::array<TileAttribute, kTileCount> tiles{};
    std::array<int32_t, kTileCount> SptAttrStage = DefaultTileAttributes();

    int32_t& At(int32_t column, int32_t row) { return grid[column * kMapRows + row]; }
    int32_t At(int32_t column, int32_t row) const { return grid[column * kMapRows + row]; }

    static std::array<int32_t, kTileCount> DefaultTileAttributes();

    bool operator==(const WorldMap&) const = default;
};

// The running simulation's map (sim.world, sim/simulation.h).
extern WorldMap& world;

// Sets every entry of the grid to 0, outside the stage's size too.
void ClearMap();

// Attribute of the tile under world point (x, y); a point outside the map, or
// a tile number outside the table, reads as empty.
int32_t TileAttrAt(int32_t x, int32_t y);

// Places the camera on a sprite at (x, y) of the given width, kept inside the map.
void CenterCameraOn(int32_t x, int32_t y, int32_t width);
// The vertical half of it alone: the camera follows a sprite whose top is at y.
void CenterCameraVerticallyOn(int32_t y);

// One-time set-up at start: camera, the user folder, the sound switch, the tile
// attributes from data\map\Spt.T (defaults when it is missing), an empty map.
void SetUpWorld();

// The tile attribute file: an 8-byte header, then per tile its sheet x, sheet y
// (both informational only) and attribute, 12 bytes each, 6848 bytes in all.
constexpr size_t kTileAttributeFileSize = 8 + 12 * kTileCount;

// Reads the tile attribute file into SptAttrStage; false when it cannot be opened.
bool ReadTileAttributeFile(const char* path);
// Reads the attributes from the file's bytes into `attributes`: a file that
// ends early leaves the entries it does not reach as they were.
void ReadTileAttributeBytes(const uint8_t* bytes, size_t size,
                            std::array<int32_t, kTileCount>& attributes);

// Writes a tile attribute file for the given attributes; false when it fails.
bool WriteTileAttributeFile(const std::string& path,
                            const std::array<int32_t, kTileCount>& attributes);

}  // namespace zoa
