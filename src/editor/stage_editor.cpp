#include "editor/stage_editor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "files/le_words.h"
#include "files/pixel_font.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "gfx/display.h"
#include "platform/platform.h"
#include "play/background.h"
#include "play/run_frame.h"
#include "play/stage_loader.h"
#include "play/stage_source.h"
#include "play/still_sprites.h"
#include "play/tile_map_view.h"
#include "sim/catalogue_lookup.h"
#include "sim/enemy_kinds.h"
#include "sim/game_state.h"
#include "sim/level_track.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

namespace key = platform::vk;
constexpr uint32_t kShiftKey = 16;
constexpr uint32_t kTabKey = 9;
constexpr uint32_t kBackspaceKey = 8;
constexpr uint32_t kDeleteKey = 46;

constexpr int32_t kFirstEnemyType = 10001;
constexpr int32_t kLastEnemyType = 10006;
constexpr int32_t kFirstPastSheet = 551;  // tiles from here on are blank on the sheet
constexpr int32_t kEditorFrameMs = 16;
constexpr int32_t kLowestLevel = 1;
constexpr int32_t kHighestLevel = 8;
constexpr int32_t kStatusHeight = 11;
constexpr int32_t kStatusTop = kScreenHeight - kStatusHeight;
constexpr int32_t kStripCell = 64;
constexpr int32_t kStripColumns = kScreenWidth / kStripCell;

// What the sprite strip offers: pick-ups, pads, scenery and enemies (the hero
// has a key of its own: there is always exactly one).
constexpr int32_t kStripTypes[] = {1000, 1001, 1002,  1003,  1004,  1005,  1006,  1007, 1008,
                                   1009, 1010, 1011,  1012,  1014,  1015,  1016,  1017, 1018,
                                   1019, 1020, 10001, 10002, 10003, 10004, 10005, 10006};
constexpr int32_t kStripCount = static_cast<int32_t>(std::size(kStripTypes));

// A new stage: a floor, the hero at its left and an exit at its right.
std::string NewStageSource() {
    // The roof (a cloud deck) keeps the jet pack from leaving through the top.
    std::string text =
        "stage 1\n\nLevel = 1\nLives = 3\nTime_Chai = 16\nScr.h = 4\n\n"
        "tile . = 0\ntile ^ = 211\ntile = = 172\ntile E = 153\nmap\n";
    text += std::string(40, '^') + '\n';
    for (int r = 0; r < 12; ++r) text += std::string(40, '.') + '\n';
    text += std::string(38, '.') + "E.\n" + std::string(40, '=') + "\nend\n\n";
    text += "sprite 10000 64 343\n";
    return text;
}

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

// The flying enemies (drones and bats) start in the open, where clicked.
bool Flies(int32_t type) {
    return type >= kFirstEnemyType && type <= kLastEnemyType &&
           EnemyKindOf(type).family == EnemyFamily::kBomber;
}

uint8_t NearestColour(const Palette& palette, int r, int g, int b) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < kPaletteSize; ++i) {
        if (i == TransparentIndex) continue;
        const int dr = palette[i].red - r, dg = palette[i].green - g, db = palette[i].blue - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

const char* AttributeName(int32_t attribute) {
    switch (attribute) {
        case kAttrEmpty:
            return "EMPTY";
        case kAttrSolid:
            return "SOLID";
        case kAttrExit:
            return "EXIT";
        default:
            return "OTHER";
    }
}

int32_t AttributeOf(int32_t tile) {
    return tile >= 0 && tile < kTileCount ? world.tiles[tile].attribute : kAttrEmpty;
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
    const Palette& p = g_display->palette;
    black_ = NearestColour(p, 0, 0, 0);
    white_ = NearestColour(p, 255, 255, 255);
    yellow_ = NearestColour(p, 255, 230, 0);
    red_ = NearestColour(p, 230, 0, 0);
    grey_ = NearestColour(p, 96, 96, 96);
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
                Resize(shift_ ? -10 : -1, 0);
                break;
            case key::Right:
                Resize(shift_ ? 10 : 1, 0);
                break;
            case key::Up:
                Resize(0, shift_ ? -10 : -1);
                break;
            case key::Down:
                Resize(0, shift_ ? 10 : 1);
                break;
            default:
                break;
        }
        UpdateStatus();
        return true;
    }
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
        case 'H':
            PlaceHero();
            break;
        case kDeleteKey:
        case kBackspaceKey:
            DeleteSprite();
            break;
        case 'L':
            SetLevel(edited_.stage.Level + step);
            break;
        case 'T': {
            EditedStage after = edited_;
            after.stage[kTime_Chai] = std::clamp(after.stage[kTime_Chai] + step, 1, 1000);
            Change(std::move(after));
            break;
        }
        case 'N': {
            EditedStage after = edited_;
            after.stage.Lives = std::clamp(after.stage.Lives + step, 1, 99);
            Change(std::move(after));
            break;
        }
        case key::Enter:
            // The game takes the stage from here on.
            StartPlaying();
            return true;
        default:
            break;
    }
    PutInWorld();
    UpdateStatus();
    return true;
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

void StageEditor::SetLevel(int32_t level) {
    if (level < kLowestLevel) level = kHighestLevel;
    if (level > kHighestLevel) level = kLowestLevel;
    EditedStage after = edited_;
    after.stage.Level = level;
    Change(std::move(after));
}

void StageEditor::Resize(int32_t dw, int32_t dh) {
    const int32_t w = std::clamp(edited_.Width() + dw, kMinMapWidth, kMaxMapWidth);
    const int32_t h = std::clamp(edited_.Height() + dh, kMinMapHeight, kMaxMapHeight);
    if (w == edited_.Width() && h == edited_.Height()) {
        note_ = "THE MAP IS 20 TO 320 WIDE AND 15 TO 255 HIGH";
        return;
    }
    EditedStage after;
    after.stage = edited_.stage;
    after.stage[kMap_w] = w;
    after.stage[kMap_h] = h;
    after.stage.tiles.assign(static_cast<size_t>(w) * h, 0);
    bool cuts = false;
    for (int32_t r = 0; r < edited_.Height(); ++r) {
        for (int32_t c = 0; c < edited_.Width(); ++c) {
            const int32_t tile = edited_.stage.tiles[static_cast<size_t>(r) * edited_.Width() + c];
            if (c < w && r < h) {
                after.Tile(c, r) = tile;
            } else if (tile != 0) {
                cuts = true;
            }
        }
    }
    after.stage.sprites.clear();
    const int32_t hero = edited_.stage[kPlayerIndex];
    for (size_t i = 0; i < edited_.stage.sprites.size(); ++i) {
        SpriteRecord s = edited_.stage.sprites[i];
        const bool outside = s.x >= w * kTileSize || s.y >= h * kTileSize;
        if (static_cast<int32_t>(i) == hero) {
            // The hero stays, pulled back inside.
            if (outside) cuts = true;
            s.x = std::min(s.x, w * kTileSize - s.width);
            s.y = std::min(s.y, h * kTileSize - s.height);
            after.stage[kPlayerIndex] = static_cast<int32_t>(after.stage.sprites.size());
        } else if (outside) {
            cuts = true;
            continue;
        }
        after.stage.sprites.push_back(s);
        after.spriteIds.push_back(edited_.spriteIds[i]);
    }
    after.stage[kSprite_Getsu] = static_cast<int32_t>(after.stage.sprites.size());
    if (cuts && cutAsked_ != std::array<int32_t, 2>{w, h}) {
        cutAsked_ = {w, h};
        note_ = "CUTTING TO " + std::to_string(w) + "X" + std::to_string(h) +
                " LOSES TILES OR SPRITES - PRESS AGAIN TO CUT";
        return;
    }
    cutAsked_ = {};
    Change(std::move(after));
}

// The y at which a sprite of this size, with its left edge at x, stands on
// the first solid tile at or below world row wy; where nothing is solid, the
// cell under the cursor.
int32_t StageEditor::StandingY(int32_t x, int32_t width, int32_t height, int32_t wy) const {
    const int32_t column = std::clamp((x + width / 2) / kTileSize, 0, edited_.Width() - 1);
    for (int32_t r = std::max(0, wy / kTileSize); r < edited_.Height(); ++r) {
        const int32_t tile = edited_.stage.tiles[static_cast<size_t>(r) * edited_.Width() + column];
        if (AttributeOf(tile) == kAttrSolid) return r * kTileSize - height;
    }
    return kTileSize * (wy / kTileSize);
}

void StageEditor::PlaceSprite(int32_t type) {
    if (edited_.stage.sprites.size() >= static_cast<size_t>(kMaxStageSprites)) {
        note_ = "A STAGE HOLDS AT MOST 1000 SPRITES";
        return;
    }
    const int32_t wx = game.Scr.x + mouseX_;
    const int32_t wy = game.Scr.y + mouseY_;
    SpriteRecord s;
    if (!CatalogueRecord(type, kTileSize * (wx / kTileSize), kTileSize * (wy / kTileSize), s))
        return;
    if (!Flies(type)) s.y = StandingY(s.x, s.width, s.height, wy);
    EditedStage after = edited_;
    after.stage.sprites.push_back(s);
    after.spriteIds.push_back(nextId_++);
    after.stage[kSprite_Getsu] = static_cast<int32_t>(after.stage.sprites.size());
    Change(std::move(after));
}

void StageEditor::PlaceHero() {
    EditedStage after = edited_;
    SpriteRecord& hero = after.stage.sprites[after.stage[kPlayerIndex]];
    const int32_t wx = game.Scr.x + mouseX_;
    const int32_t wy = game.Scr.y + mouseY_;
    hero.x = kTileSize * (wx / kTileSize);
    hero.y = StandingY(hero.x, hero.width, hero.height, wy);
    Change(std::move(after));
    note_ = "THE HERO STARTS HERE";
}

void StageEditor::DeleteSprite() {
    const int32_t i = SpriteAt(game.Scr.x + mouseX_, game.Scr.y + mouseY_);
    if (i < 0) {
        note_ = "NO SPRITE UNDER THE CURSOR";
        return;
    }
    if (i == edited_.stage[kPlayerIndex]) {
        note_ = "THE HERO STAYS - H MOVES IT";
        return;
    }
    EditedStage after = edited_;
    after.stage.sprites.erase(after.stage.sprites.begin() + i);
    after.spriteIds.erase(after.spriteIds.begin() + i);
    after.stage[kSprite_Getsu] = static_cast<int32_t>(after.stage.sprites.size());
    if (after.stage[kPlayerIndex] > i) after.stage[kPlayerIndex] -= 1;
    Change(std::move(after));
}

// The sprite drawn on top at world point (wx, wy), or -1.
int32_t StageEditor::SpriteAt(int32_t wx, int32_t wy) const {
    int32_t found = -1;
    int32_t foundDepth = 0;
    const std::vector<SpriteRecord>& sprites = edited_.stage.sprites;
    for (size_t i = 0; i < sprites.size(); ++i) {
        const SpriteRecord& s = sprites[i];
        if (wx < s.x || wy < s.y || wx >= s.x + s.width || wy >= s.y + s.height) continue;
        if (found < 0 || s.depth >= foundDepth) {
            found = static_cast<int32_t>(i);
            foundDepth = s.depth;
        }
    }
    return found;
}

void StageEditor::MouseAt(int32_t lParam) {
    mouseX_ = static_cast<int32_t>(static_cast<uint32_t>(lParam) & 0xFFFF);
    mouseY_ = static_cast<int32_t>(static_cast<uint32_t>(lParam) >> 16);
    if (view_ != View::kMap) return;
    if (dragged_ >= 0) {
        SpriteRecord& s = edited_.stage.sprites[dragged_];
        s.x = game.Scr.x + mouseX_ - dragDx_;
        s.y = game.Scr.y + mouseY_ - dragDy_;
        PutInWorld();
    } else if (leftDown_ || rightDown_) {
        PaintAtCursor();
    }
    UpdateStatus();
}

void StageEditor::PaintAtCursor() {
    if (mouseY_ >= kStatusTop) return;
    const int32_t wx = game.Scr.x + mouseX_;
    const int32_t wy = game.Scr.y + mouseY_;
    // A fast drag reports points far apart: every cell on the way is painted.
    const bool continuing = strokeX_ >= 0;
    const int32_t fromX = continuing ? strokeX_ : wx;
    const int32_t fromY = continuing ? strokeY_ : wy;
    const int32_t steps = std::max({std::abs(wx - fromX), std::abs(wy - fromY), 1}) / 8 + 1;
    const int32_t tile = leftDown_ ? tile_ : 0;
    for (int32_t k = 1; k <= steps; ++k) {
        const int32_t c = (fromX + (wx - fromX) * k / steps) / kTileSize;
        const int32_t r = (fromY + (wy - fromY) * k / steps) / kTileSize;
        if (c < 0 || r < 0 || c >= edited_.Width() || r >= edited_.Height()) continue;
        history_.SetTile(edited_, c, r, tile);
        world.At(c, r) = tile;
    }
    strokeX_ = wx;
    strokeY_ = wy;
    quitAsked_ = false;
}

int32_t StageEditor::StripCell(int32_t x, int32_t y) const {
    const int32_t i = (y / kStripCell) * kStripColumns + x / kStripCell;
    return i < kStripCount ? i : -1;
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
        const int32_t wx = game.Scr.x + mouseX_;
        const int32_t wy = game.Scr.y + mouseY_;
        const int32_t i = SpriteAt(wx, wy);
        if (i >= 0) {
            beforeDrag_ = edited_;
            dragged_ = i;
            dragDx_ = wx - edited_.stage.sprites[i].x;
            dragDy_ = wy - edited_.stage.sprites[i].y;
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

void StageEditor::Save() {
    std::vector<int32_t> lines;
    for (int32_t id : edited_.spriteIds) {
        const auto at = std::find(baseIds_.begin(), baseIds_.end(), id);
        lines.push_back(at == baseIds_.end() ? -1 : static_cast<int32_t>(at - baseIds_.begin()));
    }
    const std::string text = UpdateStageSource(baseText_, edited_.stage, edited_.Map(), lines);
    std::string why;
    if (!platform::ReplaceFile(path_, std::vector<uint8_t>(text.begin(), text.end()), &why)) {
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

// Where the hero would stand for a trial play of what the view shows: on a
// solid tile inside the view with room for the whole hero above it, nearest
// the view's centre. False when the view has no such place.
bool StageEditor::StandingPlaceInView(const SpriteRecord& hero, int32_t* x, int32_t* y) const {
    const int32_t centreX = camX_ + kScreenWidth / 2;
    const int32_t centreY = camY_ + kScreenHeight / 2;
    int64_t best = -1;
    for (int32_t c = camX_ / kTileSize; c * kTileSize + hero.width <= camX_ + kScreenWidth; ++c) {
        const int32_t left = c * kTileSize;
        const int32_t foot = left + hero.width / 2;
        for (int32_t r = camY_ / kTileSize + 1; r * kTileSize <= camY_ + kStatusTop; ++r) {
            const int32_t top = r * kTileSize - hero.height;
            if (top < camY_ || TileAttrAt(foot, r * kTileSize) != kAttrSolid) continue;
            bool room = true;
            for (int32_t py = top; py < top + hero.height && room; py += 8) {
                for (int32_t px = left; px < left + hero.width && room; px += 8)
                    room = TileAttrAt(px, py) != kAttrSolid;
            }
            if (!room) continue;
            const int64_t dx = foot - centreX, dy = r * kTileSize - centreY;
            if (best < 0 || dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                *x = left;
                *y = top;
            }
        }
    }
    return best >= 0;
}

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
    if (!startInView) StandingPlaceInView(hero, &hero.x, &hero.y);
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

void StageEditor::Frame() {
    if (playing_) {
        RunFrame();
        if (playEnded)
            StopPlaying(playEndReason);
        else if (game.TitleActive)
            StopPlaying("PLAY ENDED");
        return;
    }
    switch (view_) {
        case View::kMap:
            DrawMap();
            break;
        case View::kTileSheet:
            DrawTileSheet();
            break;
        case View::kSpriteStrip:
            DrawMap();
            DrawSpriteStrip();
            break;
    }
    DrawStatusBar();
    g_display->Flip();
}

void StageEditor::FillBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour) {
    uint8_t* pixels = g_display->BackBuffer();
    for (int32_t j = std::max(0, y); j < std::min(kScreenHeight, y + h); ++j) {
        for (int32_t i = std::max(0, x); i < std::min(kScreenWidth, x + w); ++i)
            pixels[j * kScreenWidth + i] = colour;
    }
}

void StageEditor::DrawBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour) {
    FillBox(x, y, w, 1, colour);
    FillBox(x, y + h - 1, w, 1, colour);
    FillBox(x, y, 1, h, colour);
    FillBox(x + w - 1, y, 1, h, colour);
}

void StageEditor::DrawMap() {
    DrawBackground();
    DrawTileMap();
    DrawStillSprites(edited_.stage.sprites);
    const int32_t fx = game.Scr.x % kTileSize;
    const int32_t fy = game.Scr.y % kTileSize;
    if (showAttrs_) {
        for (int32_t r = 0; r <= kViewRows; ++r) {
            for (int32_t c = 0; c <= kViewColumns; ++c) {
                const int32_t mc = game.Scr.x / kTileSize + c;
                const int32_t mr = game.Scr.y / kTileSize + r;
                if (mc >= edited_.Width() || mr >= edited_.Height()) continue;
                const int32_t a = AttributeOf(world.At(mc, mr));
                const int32_t x = c * kTileSize - fx;
                const int32_t y = r * kTileSize - fy;
                if (a == kAttrSolid) {
                    DrawBox(x + 2, y + 2, kTileSize - 4, kTileSize - 4, white_);
                    DrawBox(x + 3, y + 3, kTileSize - 6, kTileSize - 6, black_);
                } else if (a == kAttrExit) {
                    FillBox(x + 8, y + 8, kTileSize - 16, kTileSize - 16, yellow_);
                } else if (a != kAttrEmpty) {
                    DrawBox(x + 6, y + 6, kTileSize - 12, kTileSize - 12, red_);
                }
            }
        }
    }
    // Where a click goes: the cell, or the sprite under the cursor.
    if (mouseY_ < kStatusTop) {
        const int32_t wx = game.Scr.x + mouseX_;
        const int32_t wy = game.Scr.y + mouseY_;
        const int32_t i = tool_ == Tool::kSprites ? SpriteAt(wx, wy) : -1;
        if (i >= 0) {
            const SpriteRecord& s = edited_.stage.sprites[i];
            DrawBox(s.x - game.Scr.x, s.y - game.Scr.y, s.width, s.height, yellow_);
        } else {
            DrawBox(kTileSize * (wx / kTileSize) - game.Scr.x,
                    kTileSize * (wy / kTileSize) - game.Scr.y, kTileSize, kTileSize,
                    tool_ == Tool::kSprites ? yellow_ : white_);
        }
    }
}

void StageEditor::DrawTileSheet() {
    DrawBackground();
    g_display->Blit({0, 0}, static_cast<uint32_t>(game.SurfaceSPt),
                    {0, sheetTop_, kScreenWidth, sheetTop_ + kScreenHeight});
    const int32_t c = tile_ % kTileSheetColumns;
    const int32_t r = tile_ / kTileSheetColumns;
    DrawBox(c * kTileCellPitch, r * kTileCellPitch - sheetTop_, kTileCellPitch + 1,
            kTileCellPitch + 1, yellow_);
    const int32_t hc = mouseX_ / kTileCellPitch;
    const int32_t hr = (mouseY_ + sheetTop_) / kTileCellPitch;
    if (hc < kTileSheetColumns && hr < kTileSheetRows)
        DrawBox(hc * kTileCellPitch, hr * kTileCellPitch - sheetTop_, kTileCellPitch + 1,
                kTileCellPitch + 1, white_);
}

void StageEditor::DrawSpriteStrip() {
    const int32_t rows = (kStripCount + kStripColumns - 1) / kStripColumns;
    FillBox(0, 0, kScreenWidth, rows * kStripCell, grey_);
    for (int32_t i = 0; i < kStripCount; ++i) {
        SpriteRecord s;
        if (!CatalogueRecord(kStripTypes[i], 0, 0, s)) continue;
        const int32_t x = (i % kStripColumns) * kStripCell;
        const int32_t y = (i / kStripColumns) * kStripCell;
        // Scaled down to fit the cell, keeping its shape.
        const int32_t room = kStripCell - 4;
        const int32_t longest = std::max(s.width, s.height);
        const int32_t w = longest > room ? s.width * room / longest : s.width;
        const int32_t h = longest > room ? s.height * room / longest : s.height;
        const Rect dest{x + (kStripCell - w) / 2, y + (kStripCell - h) / 2,
                        x + (kStripCell - w) / 2 + w, y + (kStripCell - h) / 2 + h};
        g_display->StretchBlit(dest, static_cast<uint32_t>(s.sheetA),
                               {s.srcX, s.srcY, s.srcX + s.width, s.srcY + s.height});
        DrawBox(x, y, kStripCell, kStripCell, kStripTypes[i] == spriteType_ ? yellow_ : black_);
    }
    const int32_t hover = StripCell(mouseX_, mouseY_);
    if (hover >= 0)
        DrawBox((hover % kStripColumns) * kStripCell, (hover / kStripColumns) * kStripCell,
                kStripCell, kStripCell, white_);
}

void StageEditor::DrawStatusBar() {
    FillBox(0, kStatusTop, kScreenWidth, kStatusHeight, black_);
    DrawPixelText(g_display->BackBuffer(), kScreenWidth, kScreenHeight, 3, kStatusTop + 2, status_,
                  note_.empty() ? white_ : yellow_);
}

std::string StageEditor::Warnings() const {
    const StageFile& s = edited_.stage;
    bool exit = false;
    bool pastSheet = false;
    for (int32_t tile : s.tiles) {
        exit = exit || AttributeOf(tile) == kAttrExit;
        pastSheet = pastSheet || tile >= kFirstPastSheet;
    }
    std::string warnings;
    if (!exit) warnings += " - NO EXIT TILE";
    if (pastSheet) warnings += " - A TILE PAST THE SHEET";
    const SpriteRecord& hero = s.sprites[s[kPlayerIndex]];
    if (OpenToTheSky(hero)) warnings += " - OPEN TO THE SKY";
    bool inWall = false;
    for (int32_t y = hero.y; y < hero.y + hero.height && !inWall; y += 8) {
        for (int32_t x = hero.x; x < hero.x + hero.width && !inWall; x += 8)
            inWall = TileAttrAt(x, y) == kAttrSolid;
    }
    if (inWall) warnings += " - HERO INSIDE A WALL";
    for (const SpriteRecord& sprite : s.sprites) {
        if (sprite.x < 0 || sprite.y < 0 || sprite.x >= edited_.Width() * kTileSize ||
            sprite.y >= edited_.Height() * kTileSize) {
            warnings += " - A SPRITE OUTSIDE THE MAP";
            break;
        }
    }
    return warnings;
}

// Above the map the hero is lost, so the jet pack must meet a roof wherever
// he can get to: true when the open cells reachable from his start (through
// any opening, not only straight up) include one in the map's top row.
bool StageEditor::OpenToTheSky(const SpriteRecord& hero) const {
    const int32_t w = edited_.Width(), h = edited_.Height();
    const auto open = [&](int32_t c, int32_t r) {
        return AttributeOf(edited_.stage.tiles[static_cast<size_t>(r) * w + c]) != kAttrSolid;
    };
    const int32_t c0 = std::clamp((hero.x + hero.width / 2) / kTileSize, 0, w - 1);
    const int32_t r0 = std::clamp((hero.y + hero.height - 1) / kTileSize, 0, h - 1);
    if (!open(c0, r0)) return false;
    // Kept between calls: the status line asks on every mouse move.
    std::vector<uint8_t>& seen = skySeen_;
    std::vector<int32_t>& todo = skyTodo_;
    seen.assign(static_cast<size_t>(w) * h, 0);
    todo.assign(1, r0 * w + c0);
    seen[static_cast<size_t>(r0) * w + c0] = 1;
    while (!todo.empty()) {
        const int32_t cell = todo.back();
        todo.pop_back();
        const int32_t c = cell % w, r = cell / w;
        if (r == 0) return true;
        const int32_t next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
        for (const auto& [nc, nr] : next) {
            if (nc < 0 || nc >= w || nr < 0 || nr >= h) continue;
            const size_t i = static_cast<size_t>(nr) * w + nc;
            if (seen[i] || !open(nc, nr)) continue;
            seen[i] = 1;
            todo.push_back(nr * w + nc);
        }
    }
    return false;
}

void StageEditor::UpdateStatus() {
    const int32_t c = (game.Scr.x + mouseX_) / kTileSize;
    const int32_t r = (game.Scr.y + mouseY_) / kTileSize;
    std::string line = "CELL " + std::to_string(c) + " " + std::to_string(r) + " ";
    const int32_t sheetC = mouseX_ / kTileCellPitch;
    const int32_t sheetR = (mouseY_ + sheetTop_) / kTileCellPitch;
    if (view_ == View::kTileSheet && sheetC < kTileSheetColumns && sheetR < kTileSheetRows) {
        const int32_t hovered = sheetR * kTileSheetColumns + sheetC;
        line = "SHEET TILE " + std::to_string(hovered) + " " + AttributeName(AttributeOf(hovered)) +
               " - CLICK CHOOSES IT - ";
    }
    if (tool_ == Tool::kTiles) {
        line += "TILE " + std::to_string(tile_) + " " + AttributeName(AttributeOf(tile_));
    } else {
        line += "SPRITE " + std::to_string(spriteType_);
    }
    line += " L" + std::to_string(edited_.stage.Level) + " T" +
            std::to_string(edited_.stage[kTime_Chai]) + " LIVES " +
            std::to_string(edited_.stage.Lives) + " " + std::to_string(edited_.Width()) + "X" +
            std::to_string(edited_.Height()) + " " + Upper(name_);
    if (Unsaved()) line += " (CHANGED)";
    line += note_.empty() ? Warnings() : " - " + note_;
    status_ = line;
    std::string title = "ZOA_NOLI editor - " + name_ + (Unsaved() ? " *" : "");
    if (title != title_ && platform_) {
        title_ = title;
        platform_->SetWindowTitle(title_.c_str());
    }
}

}  // namespace zoa
