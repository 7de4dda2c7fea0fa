#include "sprite_layout.h"

#include "sim/catalogue.h"
#include "sim/frame_rect.h"
#include "sim/sprite_conventions.h"
#include "sim/sprite_types.h"

namespace zoa::databuild {

const SheetSpec kSheetSpecs[kSheetIdCount] = {
    {"SPl.nbm", 480, false},   {"SPm.nbm", 480, false},   {"SPmi.nbm", 480, true},
    {"SPgi.nbm", 2000, true},  {"SPcca.nbm", 2000, true}, {"SPccb.nbm", 2000, true},
    {"SPmca.nbm", 2000, true}, {"SPmcb.nbm", 2000, true}, {"SPt.nbm", 960, true},
    {"SPb.nbm", 1920, true},
};

namespace {

// How many rows, from row 0 on, a type's behaviour shows. Below the player no type
// shows any other row (their other frames entries are private words); the
// player shows all eight and its defeat row 9; the walker-shooters and the
// flamer walk, attack and fall in rows 0..2, the crawler falls in row 1, and
// the bombers show row 0 only.
int32_t RowsShown(int32_t type) {
    switch (type) {
        case kPlayer:
            return kAnimationRows;
        case kWalkerShooter:
        case kFlamer:
        case kWalkerShooterB:
            return 3;
        case kCrawler:
            return 2;
        default:
            return 1;
    }
}

SheetId SheetOf(int32_t type) {
    // Surfaces are numbered from 1 in loading order.
    return static_cast<SheetId>(SheetsOf(type).a - 1);
}

SpriteLayout LayoutOf(const CatalogueEntry& entry) {
    SpriteLayout l{};
    l.type = entry.type;
    l.srcX = entry.srcX;
    l.srcY = entry.srcY;
    l.width = entry.width;
    l.height = entry.height;
    l.sheet = SheetOf(entry.type);
    for (int32_t row = 0; row < RowsShown(entry.type); ++row) l.rowFrames[row] = entry.frames[row];
    if (entry.type == kPlayer) l.rowFrames[kDefeatRow] = kDefeatRowFrames;
    return l;
}

}  // namespace

const std::vector<SpriteLayout>& SpriteLayouts() {
    static const std::vector<SpriteLayout> layouts = [] {
        std::vector<SpriteLayout> all;
        for (const CatalogueEntry& entry : kCatalogue) all.push_back(LayoutOf(entry));
        return all;
    }();
    return layouts;
}

namespace {

bool Overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

}  // namespace

FramePlan PlanFrames(SheetId sheet) {
    FramePlan plan;
    const int32_t sheetHeight = kSheetSpecs[sheet].height;
    for (int32_t row = 0; row < 10; ++row) {
        for (const SpriteLayout& l : SpriteLayouts()) {
            if (l.sheet != sheet) continue;
            for (int32_t f = 0; f < l.rowFrames[row]; ++f) {
                const Rect r = FrameSourceRect(l.srcX, l.srcY, l.width, l.height, row, f);
                FrameSlot slot{l.type, row, f, r};
                bool free =
                    r.left >= 0 && r.top >= 0 && r.right <= kSheetWidth && r.bottom <= sheetHeight;
                for (const FrameSlot& d : plan.drawn)
                    if (free && Overlaps(d.rect, r)) free = false;
                (free ? plan.drawn : plan.skipped).push_back(slot);
            }
        }
    }
    return plan;
}

}  // namespace zoa::databuild
