#include "stage_overview.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "files/png_writer.h"
#include "gfx/display.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "play/sheets.h"
#include "play/stage_loader.h"
#include "play/still_sprites.h"
#include "play/tile_map_view.h"
#include "sim/frame_rect.h"
#include "sim/game_state.h"
#include "sim/world_map.h"

namespace zoa::stagec {

namespace {

// The camera positions whose views cover `length` pixels: every full view
// step, the last one moved back so that it ends at the edge.
std::vector<int32_t> ViewStarts(int32_t length, int32_t view) {
    std::vector<int32_t> starts;
    for (int32_t at = 0; at < length; at += view) starts.push_back(std::min(at, length - view));
    return starts;
}

bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool RenderStageOverview(const StageFile& stage, const TileMapFile& map,
                         const OverviewOptions& options, const std::string& pngPath,
                         std::string* error) {
    if (options.shrink < 1) return Fail(error, "the shrink factor must be 1 or more");
    if (options.firstColumn < 0 || options.firstColumn >= map.Map_w || options.columns < 0)
        return Fail(error, "the column range lies outside the map");

    platform::HeadlessPlatform screen;
    platform::SetCurrent(&screen);
    SetDataRoot(options.dataRoot);
    Display display(&screen);
    g_display = &display;
    struct Restore {
        ~Restore() {
            g_display = nullptr;
            platform::SetCurrent(nullptr);
        }
    } restore;
    if (!LoadSheets())
        return Fail(error, "cannot load the sheets under " + options.dataRoot + "/data");
    SetUpWorld();
    ApplyTileMap(map);

    const int32_t width = map.Map_w * kTileSize;
    const int32_t height = map.Map_h * kTileSize;
    std::vector<uint8_t> picture(static_cast<size_t>(width) * height, 0);

    for (int32_t top : ViewStarts(height, kScreenHeight)) {
        for (int32_t left : ViewStarts(width, kScreenWidth)) {
            game.Scr.x = left;
            game.Scr.y = top;
            display.Clear(0);
            DrawTileMap();
            DrawStillSprites(stage.sprites);
            for (int32_t r = 0; r < kScreenHeight; ++r) {
                std::memcpy(&picture[static_cast<size_t>(top + r) * width + left],
                            display.BackBuffer() + static_cast<size_t>(r) * kScreenWidth,
                            kScreenWidth);
            }
        }
    }

    const int32_t firstX = options.firstColumn * kTileSize;
    const int32_t lastX =
        options.columns == 0 ? width : std::min(width, firstX + options.columns * kTileSize);
    const int32_t step = options.shrink;
    const int32_t outW = (lastX - firstX + step - 1) / step;
    const int32_t outH = (height + step - 1) / step;
    std::vector<uint8_t> out(static_cast<size_t>(outW) * outH);
    for (int32_t y = 0; y < outH; ++y) {
        for (int32_t x = 0; x < outW; ++x)
            out[static_cast<size_t>(y) * outW + x] =
                picture[static_cast<size_t>(y * step) * width + firstX + x * step];
    }
    if (!WritePng(pngPath, out.data(), outW, outH, display.palette))
        return Fail(error, "cannot write " + pngPath);
    return true;
}

}  // namespace zoa::stagec
