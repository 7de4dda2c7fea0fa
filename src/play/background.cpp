#include "play/background.h"

#include "gfx/display.h"
#include "sim/game_state.h"
#include "sim/world_map.h"

namespace zoa {

const BackgroundStripRecord BackgroundStrip[kBackgroundRecords] = {
    {0, 0, 640, 215, {0, 0, 0, 0, 1, 1, 1, 1, 1}},    // far layer's choices
    {0, 216, 640, 264, {1, 1, 1, 1, 2, 2, 2, 2, 2}},  // middle layer's choices
    {0, 481, 640, 256, {3, 3, 4, 4, 5, 5, 6, 6, 6}},  // near layer's choices
    {0, 739, 640, 220, {3, 3, 4, 4, 5, 5, 6, 6, 6}},
    {0, 960, 640, 220, {3, 3, 4, 4, 5, 5, 6, 6, 6}},
    {0, 1181, 640, 220, {3, 3, 4, 4, 5, 5, 6, 6, 6}},
    {0, 1402, 640, 220, {3, 3, 4, 4, 5, 5, 6, 6, 6}},
};

namespace {

enum Layer : int32_t { kFarLayer = 0, kMiddleLayer = 1, kNearLayer = 2 };
constexpr int32_t kWalkStep = 4;
constexpr int32_t kMiddleLayerTop = 130;
constexpr int32_t kNearLayerHiddenRows = 20;  // the near strip's bottom rows never show

void Shift(int32_t& offset, int32_t by) {
    offset -= by;
    if (offset < 0) offset += kParallaxPeriod;
    if (offset > kParallaxPeriod - 1) offset = 0;
}

const BackgroundStripRecord& LayerStrip(Layer layer) {
    return BackgroundStrip[BackgroundStrip[layer].choice[BackgroundLevel(game.Level)]];
}

// The strip's left part shifted right by `offset`, then its last `offset`
// pixels in the gap at the left, so it scrolls endlessly.
void DrawLayer(const BackgroundStripRecord& s, int32_t offset, int32_t top, int32_t rows) {
    const uint32_t sheet = static_cast<uint32_t>(game.SurfaceSPb);
    g_display->Blit({offset, top}, sheet, {s.x, s.y, s.width - offset, s.y + rows});
    g_display->Blit({0, top}, sheet, {s.width - offset, s.y, s.width, s.y + rows});
}

}  // namespace

int32_t BackgroundLevel(int32_t level) {
    const uint32_t stage = static_cast<uint32_t>(level);
    return stage < kBackgroundLevels ? level : kBackgroundLevels - 1;
}

void MoveBackground() {
    int32_t step = 0;
    if (game.PlayerDx != 0 && game.LeftHeld) step = -kWalkStep;
    if (game.PlayerDx != 0 && game.RightHeld) step = kWalkStep;
    if (game.Scr.x == 0 || game.Scr.x == (game.Map_w - kViewColumns) * kTileSize) step = 0;
    Shift(game.BgOffset1, step / 4);
    Shift(game.BgOffset2, step / 2);
    Shift(game.BgOffset3, step);
}

void DrawBackground() {
    const BackgroundStripRecord& far = LayerStrip(kFarLayer);
    DrawLayer(far, game.BgOffset1, 0, far.height);
    const BackgroundStripRecord& middle = LayerStrip(kMiddleLayer);
    DrawLayer(middle, game.BgOffset2, kMiddleLayerTop, middle.height);
    const BackgroundStripRecord& near = LayerStrip(kNearLayer);
    DrawLayer(near, game.BgOffset3, kScreenHeight - near.height + kNearLayerHiddenRows,
              near.height - kNearLayerHiddenRows);
}

}  // namespace zoa
