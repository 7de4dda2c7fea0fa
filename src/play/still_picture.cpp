#include "play/still_picture.h"

#include "gfx/display.h"
#include "play/background.h"
#include "play/hud.h"
#include "play/menu_pictures.h"
#include "play/tile_map_view.h"
#include "sim/draw_sprites.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"

namespace zoa {

void DrawStillPicture() {
    if (!g_display) return;
    if (game.TitleActive) {
        DrawTitle();
        return;
    }
    DrawBackground();
    if (game.TileSheetView) {
        g_display->Blit({0, 0}, static_cast<uint32_t>(game.SurfaceSPt),
                        {0, 0, kScreenWidth, kScreenHeight});
    } else {
        DrawTileMap();
        for (int32_t j = 0; j < LiveSpriteCount(); ++j) {
            const int32_t index = pool.DrawList[static_cast<size_t>(j)].index;
            if (!IsPoolSlot(index)) continue;
            const SpriteRecord& s = pool[index];
            Point at;
            Rect source;
            const int32_t sheet = s.dir == 0 ? s.sheetA : s.sheetB;
            if (!SpriteBlit(s, at, source) || sheet < 0) continue;
            g_display->Blit(at, static_cast<uint32_t>(sheet), source);
        }
    }
    DrawHud();
    if (game.PauseActive) DrawPauseMenu();
    g_display->Flip();
}

}  // namespace zoa
