// The editor's keys and mouse: what each message does to the stage or the view.
#include <algorithm>

#include "editor/editor_screen.h"
#include "editor/stage_editor.h"
#include "editor/stage_edits.h"
#include "platform/platform.h"
#include "sim/game_state.h"
#include "sim/world_map.h"

namespace zoa {

namespace {

namespace key = platform::vk;
constexpr uint32_t kShiftKey = 16;
constexpr uint32_t kTabKey = 9;
constexpr uint32_t kBackspaceKey = 8;
constexpr uint32_t kDeleteKey = 46;

}  // namespace

bool StageEditor::Message(const platform::Message& m) {
    using platform::MessageId;
    if (playing_) {
        if (m.id == MessageId::KeyDown && m.wParam == key::Escape) {
            StopPlaying("PLAY STOPPED");
            return true;
        }
        if (m.id == MessageId::Close) {
            StopPlaying("PLAY STOPPED");
        } else {
            return false;
        }
    }
    switch (m.id) {
        case MessageId::KeyDown:
            return Key(m.wParam);
        case MessageId::KeyUp:
            if (m.wParam == key::Control) ctrl_ = false;
            if (m.wParam == kShiftKey) shift_ = false;
            return true;
        case MessageId::MouseMove:
            MouseAt(m.lParam);
            return true;
        case MessageId::LButtonDown:
            MouseAt(m.lParam);
            LeftDown();
            return true;
        case MessageId::LButtonUp:
            MouseAt(m.lParam);
            LeftUp();
            return true;
        case MessageId::RButtonDown:
            MouseAt(m.lParam);
            RightDown();
            return true;
        case MessageId::RButtonUp:
            rightDown_ = false;
            history_.EndStroke();
            Changed();
            return true;
        case MessageId::ActivateApp:
            ctrl_ = shift_ = false;
            return false;
        case MessageId::Close:
            if (!Unsaved() || quitAsked_) return false;
            quitAsked_ = true;
            note_ = "UNSAVED CHANGES - CTRL-S SAVES - CLOSE AGAIN TO QUIT";
            UpdateStatus();
            return true;
        default:
            return false;
    }
}

bool StageEditor::Key(uint32_t vk) {
    if (vk == key::Control) {
        ctrl_ = true;
        return true;
    }
    if (vk == kShiftKey) {
        shift_ = true;
        return true;
    }
    note_.clear();
    if (ctrl_) {
        CtrlKey(vk);
        UpdateStatus();
        return true;
    }
    if (vk == key::Enter) {
        // The game takes the stage from here on.
        StartPlaying();
        return true;
    }
    PlainKey(vk);
    PutInWorld();
    UpdateStatus();
    return true;
}

// Ctrl with a key: saving, undo and redo, quitting, the map's size.
void StageEditor::CtrlKey(uint32_t vk) {
    const int32_t by = shift_ ? 10 : 1;
    switch (vk) {
        case 'S':
            Save();
            break;
        case 'Z':
            if (history_.Undo(edited_))
                Changed();
            else
                note_ = "NOTHING TO UNDO";
            break;
        case 'Y':
            if (history_.Redo(edited_))
                Changed();
            else
                note_ = "NOTHING TO REDO";
            break;
        case 'Q':
            Quit();
            break;
        case key::Left:
            Resize(-by, 0);
            break;
        case key::Right:
            Resize(by, 0);
            break;
        case key::Up:
            Resize(0, -by);
            break;
        case key::Down:
            Resize(0, by);
            break;
        default:
            break;
    }
}

// A key alone: scrolling, the views, the hero, deleting, the settings.
void StageEditor::PlainKey(uint32_t vk) {
    const int32_t step = shift_ ? -1 : 1;
    switch (vk) {
        case key::Left:
            Scroll(shift_ ? -kScreenWidth : -kTileSize, 0);
            break;
        case key::Right:
            Scroll(shift_ ? kScreenWidth : kTileSize, 0);
            break;
        case key::Up:
            Scroll(0, shift_ ? -kScreenHeight : -kTileSize);
            break;
        case key::Down:
            Scroll(0, shift_ ? kScreenHeight : kTileSize);
            break;
        case kTabKey:
            view_ = view_ == View::kTileSheet ? View::kMap : View::kTileSheet;
            break;
        case 'S':
            view_ = view_ == View::kSpriteStrip ? View::kMap : View::kSpriteStrip;
            break;
        case key::Escape:
            view_ = View::kMap;
            break;
        case 'A':
            showAttrs_ = !showAttrs_;
            break;
        case key::F1:
            help_ = !help_;
            break;
        case 'H':
            PlaceHero();
            break;
        case kDeleteKey:
        case kBackspaceKey:
            DeleteSprite();
            break;
        case 'L':
            Edit(StepLevel, step);
            break;
        case 'T':
            Edit(StepFrameInterval, step);
            break;
        case 'N':
            Edit(StepLives, step);
            break;
        default:
            break;
    }
}

void StageEditor::Scroll(int32_t dx, int32_t dy) {
    if (view_ == View::kTileSheet) {
        // The sheet is taller than the screen: up and down scroll it.
        const int32_t sheetHeight = kTileSheetRows * kTileCellPitch + 1;
        sheetTop_ = std::clamp(sheetTop_ + (dy > 0   ? 5
                                            : dy < 0 ? -5
                                                     : 0) *
                                               kTileCellPitch,
                               0, sheetHeight - kScreenHeight);
        return;
    }
    game.Scr.x = std::clamp(game.Scr.x + dx, 0, (edited_.Width() - kViewColumns) * kTileSize);
    game.Scr.y = std::clamp(game.Scr.y + dy, 0, (edited_.Height() - kViewRows) * kTileSize);
}

void StageEditor::MouseAt(int32_t lParam) {
    mouseX_ = static_cast<int32_t>(static_cast<uint32_t>(lParam) & 0xFFFF);
    mouseY_ = static_cast<int32_t>(static_cast<uint32_t>(lParam) >> 16);
    if (view_ != View::kMap) {
        // The sheet and the strip name what is under the mouse as it moves.
        UpdateStatus();
        return;
    }
    if (dragged_ >= 0) {
        SpriteRecord& s = edited_.stage.sprites[dragged_];
        s.x = MouseWorldX() - dragDx_;
        s.y = MouseWorldY() - dragDy_;
        PutInWorld();
    } else if (leftDown_ || rightDown_) {
        PaintAtCursor();
    }
    UpdateStatus();
}

void StageEditor::PaintAtCursor() {
    if (mouseY_ >= kStatusTop) return;
    const int32_t wx = MouseWorldX();
    const int32_t wy = MouseWorldY();
    const bool continuing = strokeX_ >= 0;
    const int32_t tile = leftDown_ ? tile_ : 0;
    ForEachStrokeCell(edited_, continuing ? strokeX_ : wx, continuing ? strokeY_ : wy, wx, wy,
                      [&](int32_t c, int32_t r) {
                          history_.SetTile(edited_, c, r, tile);
                          world.At(c, r) = tile;
                      });
    strokeX_ = wx;
    strokeY_ = wy;
    quitAsked_ = false;
}

void StageEditor::LeftDown() {
    note_.clear();
    if (view_ == View::kTileSheet) {
        const int32_t c = mouseX_ / kTileCellPitch;
        const int32_t r = (mouseY_ + sheetTop_) / kTileCellPitch;
        if (c < kTileSheetColumns && r < kTileSheetRows) {
            tile_ = r * kTileSheetColumns + c;
            tool_ = Tool::kTiles;
            view_ = View::kMap;
            PutInWorld();
        }
        UpdateStatus();
        return;
    }
    if (view_ == View::kSpriteStrip) {
        const int32_t i = StripCell(mouseX_, mouseY_);
        if (i >= 0) {
            spriteType_ = kStripTypes[i];
            tool_ = Tool::kSprites;
            view_ = View::kMap;
        }
        UpdateStatus();
        return;
    }
    if (mouseY_ >= kStatusTop) return;
    if (tool_ == Tool::kSprites) {
        const int32_t i = SpriteAt(edited_, MouseWorldX(), MouseWorldY());
        if (i >= 0) {
            // A drag moves the sprite; the release makes it one step.
            beforeDrag_ = edited_;
            dragged_ = i;
            dragDx_ = MouseWorldX() - edited_.stage.sprites[i].x;
            dragDy_ = MouseWorldY() - edited_.stage.sprites[i].y;
        } else {
            PlaceSprite(spriteType_);
        }
        return;
    }
    leftDown_ = true;
    strokeX_ = -1;
    PaintAtCursor();
    UpdateStatus();
}

void StageEditor::LeftUp() {
    leftDown_ = false;
    if (dragged_ >= 0) {
        dragged_ = -1;
        EditedStage moved = std::move(edited_);
        edited_ = std::move(beforeDrag_);
        Change(std::move(moved));
        return;
    }
    history_.EndStroke();
    Changed();
}

void StageEditor::RightDown() {
    note_.clear();
    if (view_ != View::kMap) {
        view_ = View::kMap;
        PutInWorld();
        return;
    }
    if (tool_ == Tool::kSprites) {
        DeleteSprite();
        UpdateStatus();
        return;
    }
    rightDown_ = true;
    strokeX_ = -1;
    PaintAtCursor();
    UpdateStatus();
}

}  // namespace zoa
