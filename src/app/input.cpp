#include "app/input.h"

#include "app/menus.h"
#include "platform/message.h"
#include "world/game_state.h"

namespace zoa {

void OnKeyDown(uint32_t vk) {
    if (!game.InputActive) return;
    if (vk == platform::vk::Escape) {
        // The pause menu never opens on the title screen or in the demo.
        if (game.Level != 0 && game.TitleActive == 0) game.PauseActive = !game.PauseActive;
        return;
    }
    if (game.TitleActive) TitleMenuKey(vk);
}

void OnKeyUp(uint32_t) {}

void OnMouseMove(int32_t lParam) {
    if (!game.InputActive) return;
    const auto packed = static_cast<uint32_t>(lParam);
    game.CursorX = static_cast<int32_t>(packed & 0xFFFF);
    game.CursorY = static_cast<int32_t>(packed >> 16);
}

void OnLButtonDown() {
    if (game.InputActive) game.MouseLeftDown = 1;
}

void OnLButtonUp() {
    if (game.InputActive) game.MouseLeftDown = 0;
}

void OnRButtonDown(int32_t) {}

}  // namespace zoa
