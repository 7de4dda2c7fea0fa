#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "gfx/geometry.h"

namespace zoa::databuild {

// The ten sheets, in the game's loading order.
enum SheetId : int { kSPl, kSPm, kSPmi, kSPgi, kSPcca, kSPccb, kSPmca, kSPmcb, kSPt, kSPb };
constexpr int kSheetIdCount = 10;

struct SheetSpec {
    const char* file;  // under data/nbm/
    int32_t height;    // every sheet is 640 wide
    bool keyed;        // index 250 is transparent
};
extern const SheetSpec kSheetSpecs[kSheetIdCount];
constexpr int32_t kSheetWidth = 640;

// Where a sprite type's frames lie and which of them the game shows: the
// geometry comes from the game's own sprite catalogue (frame 0 of row 0, frame
// size, frames per row, the sheet the facing-right frames are on), so art and
// game cannot drift apart.
struct SpriteLayout {
    int32_t type;
    int32_t srcX, srcY, width, height;
    std::array<int32_t, 10> rowFrames;  // frames shown in rows 0..9 (0: row unused)
    SheetId sheet;                      // SPgi, SPcca (mirrored on SPccb) or SPmca (SPmcb)
};
const std::vector<SpriteLayout>& SpriteLayouts();

// One frame of one sprite type and the rectangle it occupies on the sheet.
struct FrameSlot {
    int32_t type, row, frame;
    Rect rect;
};

// Every frame drawn on a sheet, placed by the game's own frame rule. Frames are
// claimed in order of importance (all rows 0 first, then rows 1, 2, ...); a
// frame whose rectangle leaves the sheet or overlaps one already claimed cannot
// be drawn without spoiling the other and lands in `skipped`.
struct FramePlan {
    std::vector<FrameSlot> drawn;
    std::vector<FrameSlot> skipped;
};
FramePlan PlanFrames(SheetId sheet);

}  // namespace zoa::databuild
