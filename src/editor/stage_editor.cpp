// The editor's core: opening a source, every change as an undo step, the
// edits made at the mouse, saving and quitting.
#include "editor/stage_editor.h"

#include <algorithm>
#include <filesystem>

#include "editor/editor_screen.h"
#include "editor/stage_edits.h"
#include "files/le_words.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "platform/platform.h"
#include "play/stage_loader.h"
#include "play/stage_source.h"
#include "sim/game_state.h"
#include "sim/level_track.h"
#include "sim/sprite_types.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

constexpr int32_t kEditorFrameMs = 16;

// A new stage: a floor, the hero at its left and an exit at its right.
std::string NewStageSource() {
    // The roof (a cloud deck) keeps the jet pack from leaving through the top.
    std::string text =
        "stage 1\n\nLevel = 1\nLives = 3\nTime_Chai = 16\nScr.h = 4\n\n"
        "tile . = 0\ntile ^ = 211\ntile = = 172\ntile E = " +
        std::to_string(kExitTile) + "\nmap\n";
    text += std::string(40, '^') + '\n';
    for (int r = 0; r < 12; ++r) text += std::string(40, '.') + '\n';
    text += std::string(38, '.') + "E.\n" + std::string(40, '=') + "\nend\n\n";
    text += "sprite " + std::to_string(kPlayer) + " 64 343\n";
    return text;
}

}  // namespace

bool StageEditor::Open(const std::string& path, std::string* error) {
    path_ = path;
    name_ = files::Utf8(files::FsPath(path).filename());
    std::vector<uint8_t> bytes;
    std::error_code ec;
    if (std::filesystem::exists(files::FsPath(path), ec)) {
        if (!ReadWholeFile(path, bytes)) {
            if (error) *error = path + ": cannot be read";
            return false;
        }
        baseText_.assign(bytes.begin(), bytes.end());
    } else {
        baseText_ = NewStageSource();
        savedOnce_ = false;
    }
    TileMapFile map;
    std::string why;
    if (!CompileStageSource(baseText_, edited_.stage, map, &why)) {
        if (error) *error = path + ": " + why;
        return false;
    }
    saved_ = edited_.stage;
    for (size_t i = 0; i < edited_.stage.sprites.size(); ++i)
        edited_.spriteIds.push_back(nextId_++);
    baseIds_ = edited_.spriteIds;
    return true;
}

void StageEditor::Start(platform::Platform* platform) {
    platform_ = platform;
    PickColours();
    platform_->ShowCursor();
    PutInWorld();
    const SpriteRecord& hero = edited_.stage.sprites[edited_.stage[kPlayerIndex]];
    CenterCameraOn(hero.x, hero.y, hero.width);
    StopLevelTracks();
    PlaySound(LevelTrack(game.Level), 1);
    Changed();
}

// The edited stage becomes the simulation's, standing still: the title flag
// keeps any frame of the game that might run meanwhile from moving it.
void StageEditor::PutInWorld() {
    const int32_t x = game.Scr.x;
    const int32_t y = game.Scr.y;
    ClearMap();
    ApplyStage(edited_.stage);
    game.Scr.x = std::clamp(x, 0, (game.Map_w - kViewColumns) * kTileSize);
    game.Scr.y = std::clamp(y, 0, (game.Map_h - kViewRows) * kTileSize);
    game.TitleActive = 1;
    game.PauseActive = 0;
    game.TileSheetView = view_ == View::kTileSheet ? 1 : 0;
    game.ShowTileAttrs = showAttrs_ ? 1 : 0;
    game.EditMode = 1;
    game.Time_Chai = kEditorFrameMs;
}

void StageEditor::Change(EditedStage after) {
    history_.Replace(edited_, std::move(after));
    Changed();
}

void StageEditor::Changed() {
    quitAsked_ = false;
    if (game.Level != edited_.stage.Level) {
        StopLevelTracks();
        PlaySound(LevelTrack(edited_.stage.Level), 1);
    }
    PutInWorld();
    UpdateStatus();
}

void StageEditor::Edit(void (*edit)(EditedStage&, int32_t), int32_t step) {
    EditedStage after = edited_;
    edit(after, step);
    Change(std::move(after));
}

int32_t StageEditor::MouseWorldX() const {
    return game.Scr.x + mouseX_;
}

int32_t StageEditor::MouseWorldY() const {
    return game.Scr.y + mouseY_;
}

void StageEditor::Resize(int32_t dw, int32_t dh) {
    const int32_t w = std::clamp(edited_.Width() + dw, kMinMapWidth, kMaxMapWidth);
    const int32_t h = std::clamp(edited_.Height() + dh, kMinMapHeight, kMaxMapHeight);
    if (w == edited_.Width() && h == edited_.Height()) {
        note_ = "THE MAP IS 20 TO 320 WIDE AND 15 TO 255 HIGH";
        return;
    }
    Resized resized = ResizeStage(edited_, w, h);
    if (resized.cuts && cutAsked_ != std::array<int32_t, 2>{w, h}) {
        cutAsked_ = {w, h};
        note_ = "CUTTING TO " + std::to_string(w) + "X" + std::to_string(h) +
                " LOSES TILES OR SPRITES - PRESS AGAIN TO CUT";
        return;
    }
    cutAsked_ = {};
    Change(std::move(resized.stage));
}

void StageEditor::PlaceSprite(int32_t type) {
    EditedStage after = edited_;
    switch (zoa::PlaceSprite(after, world.tiles, type, MouseWorldX(), MouseWorldY(), nextId_)) {
        case Placed::kPlaced:
            ++nextId_;
            Change(std::move(after));
            break;
        case Placed::kStageFull:
            note_ = "A STAGE HOLDS AT MOST 1000 SPRITES";
            break;
        case Placed::kUnknownType:
            break;
    }
}

void StageEditor::PlaceHero() {
    EditedStage after = edited_;
    zoa::PlaceHero(after, world.tiles, MouseWorldX(), MouseWorldY());
    Change(std::move(after));
    note_ = "THE HERO STARTS HERE";
}

void StageEditor::DeleteSprite() {
    const int32_t i = SpriteAt(edited_, MouseWorldX(), MouseWorldY());
    if (i < 0) {
        note_ = "NO SPRITE UNDER THE CURSOR";
        return;
    }
    EditedStage after = edited_;
    if (!zoa::DeleteSprite(after, i)) {
        note_ = "THE HERO STAYS - H MOVES IT";
        return;
    }
    Change(std::move(after));
}

void StageEditor::Save() {
    std::vector<int32_t> lines;
    for (int32_t id : edited_.spriteIds) {
        const auto at = std::find(baseIds_.begin(), baseIds_.end(), id);
        lines.push_back(at == baseIds_.end() ? -1 : static_cast<int32_t>(at - baseIds_.begin()));
    }
    const std::string text = UpdateStageSource(baseText_, edited_.stage, edited_.Map(), lines);
    std::string why;
    if (!files::ReplaceFile(path_, std::vector<uint8_t>(text.begin(), text.end()), &why)) {
        note_ = "NOT SAVED: " + Upper(why);
        return;
    }
    baseText_ = text;
    baseIds_ = edited_.spriteIds;
    saved_ = edited_.stage;
    savedOnce_ = true;
    note_ = "SAVED";
}

void StageEditor::Quit() {
    if (Unsaved() && !quitAsked_) {
        quitAsked_ = true;
        note_ = "UNSAVED CHANGES - CTRL-S SAVES - CTRL-Q AGAIN QUITS";
        return;
    }
    quitAsked_ = true;
    platform_->PostCloseMessage();
}

}  // namespace zoa
