#include "sprite_sheets.h"

#include "enemy_art.h"
#include "hero_art.h"
#include "item_art.h"

namespace zoa::databuild {

void DrawSpriteFrame(int32_t type, int32_t row, int32_t frame, Canvas& c) {
    if (type == 10000) {
        Painter p(c);
        DrawHeroFrame(p, row, frame);
    } else if (type > 10000) {
        DrawEnemyFrame(type, row, frame, c);
    } else {
        DrawItemFrame(type, frame, c);
    }
}

Canvas BuildSpriteSheet(SheetId id) {
    const SheetId drawn = id == kSPccb ? kSPcca : (id == kSPmcb ? kSPmca : id);
    const bool mirror = drawn != id;
    Canvas sheet(kSheetWidth, kSheetSpecs[id].height);
    for (const FrameSlot& slot : PlanFrames(drawn).drawn) {
        Canvas frame(slot.rect.Width(), slot.rect.Height());
        DrawSpriteFrame(slot.type, slot.row, slot.frame, frame);
        sheet.Stamp(frame, slot.rect.left, slot.rect.top, mirror);
    }
    return sheet;
}

}  // namespace zoa::databuild
