#include "editor/edit_history.h"

#include <utility>

namespace zoa {

void EditHistory::SetTile(EditedStage& s, int32_t c, int32_t r, int32_t tile) {
    int32_t& cell = s.Tile(c, r);
    if (cell == tile) return;
    stroke_.cells.push_back({static_cast<size_t>(r) * s.Width() + c, cell, tile});
    cell = tile;
}

void EditHistory::EndStroke() {
    if (stroke_.cells.empty()) return;
    Push(std::move(stroke_));
    stroke_ = Step{};
}

void EditHistory::Replace(EditedStage& s, EditedStage after) {
    EndStroke();
    if (after == s) return;
    Step step;
    step.whole = true;
    step.withMap = after.Width() != s.Width() || after.Height() != s.Height() ||
                   after.stage.tiles != s.stage.tiles;
    step.before = s;
    step.after = std::move(after);
    s = step.after;
    // A step that keeps the map need not hold two copies of it.
    if (!step.withMap) {
        step.before.stage.tiles.clear();
        step.after.stage.tiles.clear();
    }
    Push(std::move(step));
}

void EditHistory::Push(Step step) {
    redo_.clear();
    undo_.push_back(std::move(step));
    if (undo_.size() > kEditSteps) undo_.pop_front();
}

void EditHistory::Apply(EditedStage& s, const Step& step, bool forward) {
    if (!step.whole) {
        for (const Cell& c : step.cells) s.stage.tiles[c.at] = forward ? c.after : c.before;
        return;
    }
    std::vector<int32_t> tiles = std::move(s.stage.tiles);
    s = forward ? step.after : step.before;
    if (!step.withMap) s.stage.tiles = std::move(tiles);
}

bool EditHistory::Undo(EditedStage& s) {
    EndStroke();
    if (undo_.empty()) return false;
    Apply(s, undo_.back(), false);
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    return true;
}

bool EditHistory::Redo(EditedStage& s) {
    EndStroke();
    if (redo_.empty()) return false;
    Apply(s, redo_.back(), true);
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    return true;
}

}  // namespace zoa
