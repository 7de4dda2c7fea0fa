// Playing the edited stage at once (Enter): from what the view shows, by the
// game's own frame and keys, back to the editor on Escape, a lost life or the
// exit, with the stage as it was.
#include "editor/editor_screen.h"
#include "editor/stage_checks.h"
#include "editor/stage_editor.h"
#include "platform/platform.h"
#include "play/run_frame.h"
#include "play/stage_loader.h"
#include "sim/game_state.h"
#include "sim/level_track.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

// Set while the editor plays a stage: a lost life and a reached exit end the
// play instead of fading and loading the next stage.
bool playEnded = false;
const char* playEndReason = "";
void EndPlayOnDefeat() {
    playEnded = true;
    playEndReason = "THE HERO WAS DEFEATED";
}
void NoNestedFrame() {}
int32_t EndPlayAtExit(int32_t) {
    playEnded = true;
    playEndReason = "THE HERO REACHED THE EXIT";
    return 0;
}

}  // namespace

// Enter plays what the view shows: the hero starts where the stage puts him
// when that is in view, else on the nearest floor in view. The edited stage
// keeps its own start either way.
void StageEditor::StartPlaying() {
    camX_ = game.Scr.x;
    camY_ = game.Scr.y;
    ClearMap();
    ApplyStage(edited_.stage);
    SpriteRecord& hero = pool[game.PlayerIndex];
    const bool startInView = hero.x >= camX_ && hero.x + hero.width <= camX_ + kScreenWidth &&
                             hero.y >= camY_ && hero.y + hero.height <= camY_ + kStatusTop;
    if (!startInView) {
        const WorldView view{camX_, camY_, kScreenWidth, kScreenHeight, kStatusTop};
        StandingPlaceInView(edited_, world.tiles, hero, view, &hero.x, &hero.y);
    }
    CenterCameraOn(hero.x, hero.y, hero.width);
    game.RestartX = hero.x;
    game.RestartY = hero.y;
    game.TitleActive = 0;
    game.PauseActive = 0;
    game.TileSheetView = 0;
    game.LastFrameTime = platform_->Now();
    StopLevelTracks();
    PlaySound(LevelTrack(game.Level), 1);
    gameHooks_ = simHooks;
    simHooks = {&EndPlayOnDefeat, &NoNestedFrame, &EndPlayAtExit};
    playEnded = false;
    playing_ = true;
    platform_->HideCursor();
}

void StageEditor::StopPlaying(const char* why) {
    simHooks = gameHooks_;
    playing_ = false;
    note_ = why;
    view_ = View::kMap;
    game.Scr.x = camX_;
    game.Scr.y = camY_;
    // Keys held when the play ended are let go.
    for (int32_t w = kRightHeld; w <= kPadJumpOn; ++w)
        StoredGameWord(game, w) = edited_.stage.words[w];
    StopLevelTracks();
    PlaySound(LevelTrack(edited_.stage.Level), 1);
    platform_->ShowCursor();
    PutInWorld();
    UpdateStatus();
}

void StageEditor::PlayFrame() {
    RunFrame();
    if (playEnded)
        StopPlaying(playEndReason);
    else if (game.TitleActive)
        StopPlaying("PLAY ENDED");
}

}  // namespace zoa
