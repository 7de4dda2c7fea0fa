#include "world/run_frame.h"

#include "app/menus.h"
#include "gfx/display.h"
#include "world/game_state.h"

namespace zoa {

void RunFrame() {
    if (!game.InputActive) return;
    if (game.TitleActive) {
        DrawTitle();
        return;
    }
    g_display->Flip();
}

}  // namespace zoa
