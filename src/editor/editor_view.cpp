// The editor's picture: the stage as the game draws it with the editor's marks
// over it, the tile sheet, the sprite strip and the status line.
#include <algorithm>
#include <iterator>
#include <string>

#include "editor/editor_screen.h"
#include "editor/stage_editor.h"
#include "editor/stage_edits.h"
#include "files/pixel_font.h"
#include "gfx/display.h"
#include "platform/platform.h"
#include "play/background.h"
#include "play/still_sprites.h"
#include "play/tile_map_view.h"
#include "sim/catalogue_lookup.h"
#include "sim/game_state.h"
#include "sim/sprite_names.h"
#include "sim/world_map.h"

namespace zoa {

namespace {

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

// The keys, as F1 shows them over the picture.
constexpr const char* kHelpLines[] = {
    "ARROWS SCROLL (SHIFT: A SCREEN)",
    "LEFT CLICK OR DRAG PAINTS - RIGHT ERASES",
    "TAB TILE SHEET - S SPRITE STRIP - ESC BACK TO THE MAP",
    "SPRITE TOOL: CLICK PLACES - DRAG MOVES - RIGHT CLICK DELETES",
    "DELETE OR BACKSPACE DELETES THE SPRITE UNDER THE MOUSE",
    "H PUTS THE HERO AT THE MOUSE",
    "A SHOWS THE ATTRIBUTES (SOLID BOXED - EXITS YELLOW)",
    "L LEVEL - T FRAME INTERVAL - N LIVES (SHIFT: DOWN)",
    "CTRL+ARROWS RESIZE (SHIFT: BY 10)",
    "ENTER PLAYS WHAT THE VIEW SHOWS - ESC STOPS",
    "CTRL+Z UNDO - CTRL+Y REDO",
    "CTRL+S SAVES - CTRL+Q QUITS",
    "F1 HIDES THIS",
};

// A sprite kind's name for the status line: "CRAWLER", or its number.
std::string SpriteName(int32_t type) {
    const std::string name = SpriteTypeName(type);
    return name.empty() ? std::to_string(type) : Upper(name);
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

}  // namespace

void StageEditor::Frame() {
    if (playing_) {
        PlayFrame();
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
    if (help_) DrawHelp();
    DrawStatusBar();
    g_display->Flip();
}

// The marks are drawn in the stage's own palette: the colours nearest these.
void StageEditor::PickColours() {
    const Palette& p = g_display->palette;
    black_ = NearestColour(p, 0, 0, 0);
    white_ = NearestColour(p, 255, 255, 255);
    yellow_ = NearestColour(p, 255, 230, 0);
    red_ = NearestColour(p, 230, 0, 0);
    grey_ = NearestColour(p, 96, 96, 96);
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
    if (showAttrs_) DrawAttributes();
    // Where a click goes: the cell, or the sprite under the cursor.
    if (mouseY_ < kStatusTop) {
        const int32_t wx = MouseWorldX();
        const int32_t wy = MouseWorldY();
        const int32_t i = tool_ == Tool::kSprites ? SpriteAt(edited_, wx, wy) : -1;
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

// Every cell's attribute over the map: solid boxed, exits yellow, any other
// value red.
void StageEditor::DrawAttributes() {
    const int32_t fx = game.Scr.x % kTileSize;
    const int32_t fy = game.Scr.y % kTileSize;
    for (int32_t r = 0; r <= kViewRows; ++r) {
        for (int32_t c = 0; c <= kViewColumns; ++c) {
            const int32_t mc = game.Scr.x / kTileSize + c;
            const int32_t mr = game.Scr.y / kTileSize + r;
            if (mc >= edited_.Width() || mr >= edited_.Height()) continue;
            const int32_t a = AttributeOf(world.tiles, world.At(mc, mr));
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

void StageEditor::DrawTileSheet() {
    DrawBackground();
    g_display->Blit({0, 0}, static_cast<uint32_t>(game.SurfaceSPt),
                    {0, sheetTop_, kScreenWidth, sheetTop_ + kScreenHeight});
    // A grid, so that a tile's edges show against the background behind it.
    for (int32_t c = 0; c <= kTileSheetColumns; ++c)
        FillBox(c * kTileCellPitch, 0, 1, kScreenHeight, grey_);
    for (int32_t r = 0; r <= kTileSheetRows; ++r)
        FillBox(0, r * kTileCellPitch - sheetTop_, kTileSheetColumns * kTileCellPitch + 1, 1,
                grey_);
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

void StageEditor::DrawHelp() {
    constexpr int32_t kLineHeight = 12;
    constexpr int32_t kCount = static_cast<int32_t>(std::size(kHelpLines));
    const int32_t top = (kStatusTop - kCount * kLineHeight) / 2;
    FillBox(40, top - 8, kScreenWidth - 80, kCount * kLineHeight + 16, black_);
    DrawBox(40, top - 8, kScreenWidth - 80, kCount * kLineHeight + 16, white_);
    for (int32_t i = 0; i < kCount; ++i)
        DrawPixelText(g_display->BackBuffer(), kScreenWidth, kScreenHeight, 52,
                      top + i * kLineHeight, kHelpLines[i], i + 1 == kCount ? yellow_ : white_);
}

void StageEditor::DrawStatusBar() {
    FillBox(0, kStatusTop, kScreenWidth, kStatusHeight, black_);
    DrawPixelText(g_display->BackBuffer(), kScreenWidth, kScreenHeight, 3, kStatusTop + 2, status_,
                  note_.empty() ? white_ : yellow_);
}

// The status line and the window's title, as the stage and the mouse are now.
void StageEditor::UpdateStatus() {
    const int32_t c = MouseWorldX() / kTileSize;
    const int32_t r = MouseWorldY() / kTileSize;
    std::string line = "CELL " + std::to_string(c) + " " + std::to_string(r) + " ";
    const int32_t sheetC = mouseX_ / kTileCellPitch;
    const int32_t sheetR = (mouseY_ + sheetTop_) / kTileCellPitch;
    if (view_ == View::kTileSheet && sheetC < kTileSheetColumns && sheetR < kTileSheetRows) {
        const int32_t hovered = sheetR * kTileSheetColumns + sheetC;
        line = "SHEET TILE " + std::to_string(hovered) + " " +
               AttributeName(AttributeOf(world.tiles, hovered)) + " - CLICK CHOOSES IT - ";
    }
    const int32_t stripHovered = StripCell(mouseX_, mouseY_);
    if (view_ == View::kSpriteStrip && stripHovered >= 0)
        line = SpriteName(kStripTypes[stripHovered]) + " - CLICK CHOOSES IT - ";
    if (view_ == View::kMap && tool_ == Tool::kSprites) {
        const int32_t under = SpriteAt(edited_, MouseWorldX(), MouseWorldY());
        if (under >= 0) line += SpriteName(edited_.stage.sprites[under].type) + " - ";
    }
    if (tool_ == Tool::kTiles) {
        line +=
            "TILE " + std::to_string(tile_) + " " + AttributeName(AttributeOf(world.tiles, tile_));
    } else {
        line += "SPRITE " + SpriteName(spriteType_);
    }
    line += " L" + std::to_string(edited_.stage.Level) + " T" +
            std::to_string(edited_.stage[kTime_Chai]) + " LIVES " +
            std::to_string(edited_.stage.Lives) + " " + std::to_string(edited_.Width()) + "X" +
            std::to_string(edited_.Height()) + " " + Upper(name_);
    if (Unsaved()) line += " (CHANGED)";
    line += note_.empty() ? StageWarnings(edited_, world.tiles, sky_) : " - " + note_;
    status_ = line;
    std::string title = "ZOA_NOLI editor - " + name_ + (Unsaved() ? " *" : "");
    if (title != title_ && platform_) {
        title_ = title;
        platform_->SetWindowTitle(title_.c_str());
    }
}

}  // namespace zoa
