#include "play/run_frame.h"

#include "gfx/display.h"
#include "play/background.h"
#include "play/hud.h"
#include "play/menu_pictures.h"
#include "play/tile_map_view.h"
#include "sim/draw_sprites.h"
#include "sim/game_state.h"
#include "sim/update_sprites.h"

namespace zoa {

void RunFrame() {
    if (!game.InputActive) return;
    if (game.TitleActive) {
        DrawTitle();
        return;
    }
    MoveBackground();
    DrawBackground();
    if (game.TileSheetView) {
        g_display->Blit({0, 0}, static_cast<uint32_t>(game.SurfaceSPt),
                        {0, 0, kScreenWidth, kScreenHeight});
    } else {
        // Paused, nothing moves; the picture is still drawn whole.
        if (!game.PauseActive) UpdateSprites();
        DrawTileMap();
        DrawSprites();
    }
    DrawHud();
    if (game.PauseActive) DrawPauseMenu();
    g_display->Flip();
}

}  // namespace zoa
