#include "app/menus.h"

#include "app/demo_replay.h"
#include "gfx/display.h"
#include "platform/message.h"
#include "platform/platform.h"
#include "play/fade.h"
#include "play/stage_loader.h"
#include "sim/game_state.h"
#include "sim/level_track.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

namespace key = platform::vk;

enum TitleItem : int32_t { kNewGame = 0, kContinue = 1, kDemo = 2, kQuit = 3 };
enum PauseItem : int32_t { kSaveAndResume = 0, kQuitToTitle = 1, kResume = 2 };

constexpr int32_t kFirstStage = 1;
constexpr int32_t kNewGameLives = 3;

SpriteRecord& Player() {
    return pool[game.PlayerIndex];
}

void MoveChoice(int32_t& choice, int32_t by, int32_t last) {
    choice += by;
    PlaySound(game.SoundB, 0);  // also at either end
    if (choice < 0) choice = 0;
    if (choice > last) choice = last;
}

void ContinueSavedGame() {
    if (LoadStage(kUserSave)) {
        game.RestartX = Player().x;
        game.RestartY = Player().y;
        game.TitleActive = 0;
    } else {
        game.TitleActive = 1;
    }
}

// The demo stage starts without a fade (the title's choice is still on the
// demo item), plays its recorded keys, and comes back to the title.
void RunDemo() {
    if (LoadStage(kDemoStage)) {
        game.TitleActive = 0;
        game.Level = 0;
        ReplayDemo();
        game.Level = 0;
    }
    game.TitleActive = 1;
}

void QuitFromTitle() {
    FadeScreen(kFadeOut);
    for (int i = 0; i < 2; ++i) {
        g_display->Clear(0);
        g_display->Flip();
    }
    if (platform::Platform* p = platform::Current()) p->PostCloseMessage();
}

}  // namespace

bool StartNewGame(int32_t stage) {
    game.Level = stage;
    if (!LoadStage(stage)) {
        game.Level = kFirstStage;
        game.TitleActive = 1;
        return false;
    }
    game.Lives = kNewGameLives;
    game.RestartX = Player().x;
    game.RestartY = Player().y;
    Player().life = kPlayerMaxLife;
    Player().gauge = kPlayerMaxGauge;
    game.TitleActive = 0;
    return true;
}

void TitleMenuKey(uint32_t vk) {
    switch (vk) {
        case key::Left:
            MoveChoice(game.TitleChoice, -1, kQuit);
            break;
        case key::Right:
            MoveChoice(game.TitleChoice, +1, kQuit);
            break;
        case key::Enter:
            switch (game.TitleChoice) {
                case kNewGame:
                    StartNewGame(kFirstStage);
                    break;
                case kContinue:
                    ContinueSavedGame();
                    break;
                case kDemo:
                    RunDemo();
                    break;
                case kQuit:
                    QuitFromTitle();
                    return;
                default:
                    break;
            }
            game.TitleChoice = kNewGame;
            break;
        default:
            break;
    }
}

void PauseMenuKey(uint32_t vk) {
    if (!game.PauseActive || game.Level == 0) return;
    switch (vk) {
        case key::Up:
            MoveChoice(game.PauseChoice, -1, kResume);
            break;
        case key::Down:
            MoveChoice(game.PauseChoice, +1, kResume);
            break;
        case key::Enter:
            switch (game.PauseChoice) {
                case kSaveAndResume:
                    SaveStage();
                    break;  // a failed save says why on stderr; play goes on
                case kQuitToTitle:
                    game.TitleActive = 1;
                    StopLevelTracks();
                    break;
                default:
                    break;
            }
            game.PauseActive = 0;
            game.PauseChoice = kSaveAndResume;
            break;
        default:
            break;
    }
}

}  // namespace zoa
