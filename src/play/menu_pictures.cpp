// What the menus look like: the title picture with its highlighted choice,
// and the pause menu over a stage. Their keys are handled in app/menus.cpp.
#include "play/menu_pictures.h"

#include "gfx/display.h"
#include "sim/game_state.h"

namespace zoa {

namespace {

struct TitleHighlight {
    Point at;
    Rect source;  // on the interface sheet
};

constexpr TitleHighlight kTitleHighlights[4] = {
    {{18, 387}, {1, 300, 1 + 150, 300 + 36}},
    {{181, 387}, {1, 337, 1 + 150, 337 + 36}},
    {{349, 387}, {1, 374, 1 + 150, 374 + 36}},
    {{512, 387}, {153, 300, 153 + 128, 300 + 36}},
};

// The pause menu: three 154 x 36 items, 37 pixels apart, centred on the
// screen, with the cursor to their left. The pictures lie on the interface
// sheet in a column; the highlighted ones 111 pixels below the normal ones.
constexpr int32_t kPauseItems = 3;
constexpr int32_t kPauseItemWidth = 154;
constexpr int32_t kPauseItemHeight = 36;
constexpr int32_t kPauseItemPitch = 37;
constexpr Point kPauseFirstItem = {320 - kPauseItemWidth / 2,
                                   240 - kPauseItems* kPauseItemHeight / 2};
constexpr Point kPauseSheetItems = {485, 1};
constexpr int32_t kPauseHighlightBelow = 111;
constexpr int32_t kPauseCursorX = 207;
constexpr Rect kPauseCursor = {448, 1, 484, 37};

Rect PauseItemPicture(int32_t item, bool highlighted) {
    const int32_t top =
        kPauseSheetItems.y + kPauseItemPitch * item + (highlighted ? kPauseHighlightBelow : 0);
    return {kPauseSheetItems.x, top, kPauseSheetItems.x + kPauseItemWidth, top + kPauseItemHeight};
}

int32_t PauseItemY(int32_t item) {
    return kPauseFirstItem.y + kPauseItemPitch * item;
}

}  // namespace

void DrawTitle() {
    g_display->Blit({0, 0}, static_cast<uint32_t>(game.SurfaceSPm),
                    {0, 0, kScreenWidth, kScreenHeight});
    if (game.TitleChoice >= 0 && game.TitleChoice <= 3) {
        const TitleHighlight& h = kTitleHighlights[game.TitleChoice];
        g_display->Blit(h.at, static_cast<uint32_t>(game.SurfaceSPmi), h.source);
    }
    g_display->Flip();
}

void DrawPauseMenu() {
    const auto sheet = static_cast<uint32_t>(game.SurfaceSPmi);
    for (int32_t i = 0; i < kPauseItems; ++i)
        g_display->Blit({kPauseFirstItem.x, PauseItemY(i)}, sheet, PauseItemPicture(i, false));
    const int32_t chosen = game.PauseChoice;
    if (chosen < 0 || chosen >= kPauseItems) return;
    g_display->Blit({kPauseCursorX, PauseItemY(chosen)}, sheet, kPauseCursor);
    g_display->Blit({kPauseFirstItem.x, PauseItemY(chosen)}, sheet, PauseItemPicture(chosen, true));
}

}  // namespace zoa
