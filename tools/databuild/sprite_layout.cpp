#include "sprite_layout.h"

#include "sprites/frame_rect.h"

namespace zoa::databuild {

const SheetSpec kSheetSpecs[kSheetIdCount] = {
    {"SPl.nbm", 480, false},   {"SPm.nbm", 480, false},   {"SPmi.nbm", 480, true},
    {"SPgi.nbm", 2000, true},  {"SPcca.nbm", 2000, true}, {"SPccb.nbm", 2000, true},
    {"SPmca.nbm", 2000, true}, {"SPmcb.nbm", 2000, true}, {"SPt.nbm", 960, true},
    {"SPb.nbm", 1920, true},
};

const std::vector<SpriteLayout>& SpriteLayouts() {
    static const std::vector<SpriteLayout> layouts = {
        {100, 1, 1478, 16, 16, {1}, kSPgi},
        {101, 1, 1444, 17, 16, {3}, kSPgi},
        {102, 1, 348, 101, 88, {6}, kSPgi},
        {103, 1, 1347, 33, 32, {6}, kSPgi},
        {104, 1, 1413, 31, 30, {5}, kSPgi},
        {105, 1, 1380, 33, 33, {10}, kSPgi},
        {106, 1, 1313, 33, 33, {6}, kSPgi},
        {107, 1, 1461, 16, 16, {1}, kSPgi},
        {1000, 1, 1, 57, 87, {10}, kSPgi},
        {1001, 1, 88, 44, 43, {10}, kSPgi},
        {1002, 1, 132, 124, 66, {10}, kSPgi},
        {1003, 1, 266, 51, 81, {10}, kSPgi},
        {1004, 1, 894, 167, 264, {1}, kSPgi},
        {1005, 169, 894, 157, 218, {1}, kSPgi},
        {1006, 327, 894, 142, 185, {1}, kSPgi},
        {1007, 1, 777, 48, 80, {3}, kSPgi},
        {1008, 1, 645, 59, 65, {3}, kSPgi},
        {1009, 178, 645, 59, 65, {3}, kSPgi},
        {1010, 355, 645, 59, 65, {3}, kSPgi},
        {1011, 1, 711, 59, 65, {3}, kSPgi},
        {1012, 178, 711, 59, 65, {3}, kSPgi},
        {1013, 1, 1497, 97, 96, {6}, kSPgi},
        {1014, 1, 858, 36, 35, {1}, kSPgi},
        {1015, 1, 437, 121, 103, {10}, kSPgi},
        {1016, 1, 1159, 130, 139, {1}, kSPgi},
        {1017, 132, 1159, 141, 141, {1}, kSPgi},
        {1018, 274, 1159, 116, 145, {1}, kSPgi},
        {1019, 391, 1159, 87, 137, {1}, kSPgi},
        {1020, 479, 1159, 106, 136, {1}, kSPgi},
        {10000, 1, 1, 121, 105, {5, 8, 8, 4, 4, 7, 6, 3, 0, 5}, kSPcca},
        {10001, 1, 1070, 81, 115, {7, 7, 8}, kSPmca},
        {10002, 1, 1, 81, 114, {7}, kSPmca},
        {10003, 1, 606, 81, 115, {7, 7, 8}, kSPmca},
        {10004, 1, 231, 91, 125, {7, 8}, kSPmca},
        {10005, 1, 116, 81, 115, {7}, kSPmca},
        {10006, 1, 1530, 81, 115, {7, 7, 8}, kSPmca},
    };
    return layouts;
}

const SpriteLayout* FindLayout(int32_t type) {
    for (const SpriteLayout& l : SpriteLayouts())
        if (l.type == type) return &l;
    return nullptr;
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
                bool free = r.left >= 0 && r.top >= 0 && r.right <= kSheetWidth &&
                            r.bottom <= sheetHeight;
                for (const FrameSlot& d : plan.drawn)
                    if (free && Overlaps(d.rect, r)) free = false;
                (free ? plan.drawn : plan.skipped).push_back(slot);
            }
        }
    }
    return plan;
}

}  // namespace zoa::databuild
