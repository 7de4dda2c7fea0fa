#include "app/menus.h"

#include "app/fade.h"
#include "gfx/display.h"
#include "platform/message.h"
#include "platform/platform.h"
#include "sound/sound_calls.h"
#include "world/game_state.h"

namespace zoa {

namespace {

enum TitleItem : int32_t { kNewGame = 0, kContinue = 1, kDemo = 2, kQuit = 3 };

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

void QuitFromTitle() {
    FadeScreen(kFadeOut);
    for (int i = 0; i < 2; ++i) {
        g_display->Clear(0);
        g_display->Flip();
    }
    if (platform::Platform* p = platform::Current()) p->PostCloseMessage();
}

}  // namespace

void DrawTitle() {
    g_display->Blit({0, 0}, static_cast<uint32_t>(game.SurfaceSPm), {0, 0, kScreenWidth, kScreenHeight});
    if (game.TitleChoice >= 0 && game.TitleChoice <= 3) {
        const TitleHighlight& h = kTitleHighlights[game.TitleChoice];
        g_display->Blit(h.at, static_cast<uint32_t>(game.SurfaceSPmi), h.source);
    }
    g_display->Flip();
}

void TitleMenuKey(uint32_t vk) {
    switch (vk) {
        case platform::vk::Left:
            game.TitleChoice -= 1;
            PlaySound(game.SoundB, 0);
            if (game.TitleChoice < 0) game.TitleChoice = 0;
            break;
        case platform::vk::Right:
            game.TitleChoice += 1;
            PlaySound(game.SoundB, 0);
            if (game.TitleChoice == 4) game.TitleChoice = 3;
            break;
        case platform::vk::Enter:
            // Starting a stage comes with the stage loader; quitting works now.
            if (game.TitleChoice == kQuit) QuitFromTitle();
            break;
        default: break;
    }
}

}  // namespace zoa
