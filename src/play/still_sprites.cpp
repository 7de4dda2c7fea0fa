#include "play/still_sprites.h"

#include <algorithm>

#include "gfx/display.h"
#include "sim/frame_rect.h"
#include "sim/game_state.h"

namespace zoa {

void DrawStillSprite(const SpriteRecord& s) {
    Rect src = FrameSourceRect(s.srcX, s.srcY, s.width, s.height, 0, 0);
    Point at{s.x - game.Scr.x, s.y - game.Scr.y};
    if (at.x < 0) {
        src.left -= at.x;
        at.x = 0;
    }
    if (at.y < 0) {
        src.top -= at.y;
        at.y = 0;
    }
    src.right -= std::max(0, at.x + src.Width() - kScreenWidth);
    src.bottom -= std::max(0, at.y + src.Height() - kScreenHeight);
    if (src.Empty()) return;
    g_display->Blit(at, static_cast<uint32_t>(s.dir == 0 ? s.sheetA : s.sheetB), src);
}

void DrawStillSprites(const std::vector<SpriteRecord>& sprites) {
    // The editor draws this every frame: the order is kept in one buffer that
    // only ever grows (to at most a pool's worth of sprites).
    static std::vector<const SpriteRecord*> order;
    order.clear();
    for (const SpriteRecord& s : sprites) order.push_back(&s);
    std::stable_sort(order.begin(), order.end(), [](const SpriteRecord* a, const SpriteRecord* b) {
        return a->depth < b->depth;
    });
    for (const SpriteRecord* s : order) DrawStillSprite(*s);
}

}  // namespace zoa
