#pragma once
#include <cstdint>
#include <deque>
#include <vector>

#include "play/stage_file.h"

namespace zoa {

// The stage being edited: the stage file the source compiles to (its map is
// also the tile map it is played with) and, beside each sprite, a number that
// follows the sprite through moves and undos, so that saving can keep the
// source line a sprite came from.
struct EditedStage {
    StageFile stage;
    std::vector<int32_t> spriteIds;

    int32_t Width() const { return stage[kMap_w]; }
    int32_t Height() const { return stage[kMap_h]; }
    int32_t& Tile(int32_t c, int32_t r) {
        return stage.tiles[static_cast<size_t>(r) * Width() + c];
    }
    int32_t Tile(int32_t c, int32_t r) const {
        return stage.tiles[static_cast<size_t>(r) * Width() + c];
    }
    TileMapFile Map() const { return {Width(), Height(), stage.tiles}; }
    bool operator==(const EditedStage&) const = default;
};

// Undo and redo. A stroke of the mouse over the map is one step holding only
// the cells it changed; every other change (sprites, settings, the map's size)
// is one step holding the stage before and after it, without the map unless
// its size changed. At most kEditSteps steps are kept.
constexpr size_t kEditSteps = 500;

class EditHistory {
  public:
    // A stroke: SetTile as often as it goes, then EndStroke makes it a step.
    void SetTile(EditedStage& s, int32_t c, int32_t r, int32_t tile);
    void EndStroke();
    // `after` replaces `s` as one step.
    void Replace(EditedStage& s, EditedStage after);
    bool Undo(EditedStage& s);
    bool Redo(EditedStage& s);
    size_t UndoSteps() const { return undo_.size(); }

  private:
    struct Cell {
        size_t at;
        int32_t before;
        int32_t after;
    };
    struct Step {
        std::vector<Cell> cells;
        bool whole = false;
        bool withMap = false;
        EditedStage before;
        EditedStage after;
    };
    void Push(Step step);
    static void Apply(EditedStage& s, const Step& step, bool forward);

    std::deque<Step> undo_;
    std::deque<Step> redo_;
    Step stroke_;
};

}  // namespace zoa
