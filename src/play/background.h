#pragma once
#include <cstdint>

namespace zoa {

constexpr int32_t kBackgroundLevels = 9;  // levels 0 to 8 have a choice of strips
constexpr int32_t kBackgroundRecords = 7;
constexpr int32_t kParallaxPeriod = 640;  // a strip repeats every 640 pixels

// A horizontal band of the background sheet and, in records 0 to 2, which
// record the far, middle and near layer show on each level.
struct BackgroundStripRecord {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t choice[kBackgroundLevels];
};
extern const BackgroundStripRecord BackgroundStrip[kBackgroundRecords];

// The level whose background a level shows: levels past 8 (and negative ones,
// which count as past 8 the way the level track compares them) show level 8's.
int32_t BackgroundLevel(int32_t level);

// Moves the three layer offsets: the far layer 1 pixel, the middle 2 and the
// near 4 against the player's walk, unless the camera rests at either end of
// the map. Offsets stay in 0..639.
void MoveBackground();

// Draws the far, middle and near layers of the current level at their offsets.
void DrawBackground();

}  // namespace zoa
