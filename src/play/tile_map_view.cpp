#include "play/tile_map_view.h"

#include "gfx/display.h"
#include "sim/game_state.h"
#include "sim/world_map.h"

namespace zoa {

void DrawTileMap() {
    const int32_t c0 = game.Scr.x / kTileSize;
    const int32_t r0 = game.Scr.y / kTileSize;
    const int32_t fx = game.Scr.x % kTileSize;
    const int32_t fy = game.Scr.y % kTileSize;
    const int32_t columns = kViewColumns + (fx != 0 ? 1 : 0);
    const int32_t rows = kViewRows + (fy != 0 ? 1 : 0);
    const uint32_t sheet = static_cast<uint32_t>(game.SurfaceSPt);
    for (int32_t i = 0; i < rows; ++i) {
        for (int32_t j = 0; j < columns; ++j) {
            const int32_t column = c0 + j;
            const int32_t row = r0 + i;
            // The camera stays inside the map; a cell outside MapGrid is never read.
            if (column < 0 || column >= kMapColumns || row < 0 || row >= kMapRows) continue;
            const int32_t tile = world.At(column, row);
            if (tile < 0 || tile >= kTileCount) continue;
            const TileAttribute& cell = world.tiles[tile];
            Rect src{cell.sheetX, cell.sheetY, cell.sheetX + kTileSize, cell.sheetY + kTileSize};
            Point dest{kTileSize * j - fx, kTileSize * i - fy};
            if (dest.x < 0) {
                src.left += -dest.x;
                dest.x = 0;
            }
            if (dest.y < 0) {
                src.top += -dest.y;
                dest.y = 0;
            }
            if (dest.x > kScreenWidth - kTileSize) src.right = src.left + kScreenWidth - dest.x;
            if (dest.y > kScreenHeight - kTileSize) src.bottom = src.top + kScreenHeight - dest.y;
            g_display->Blit(dest, sheet, src);
        }
    }
}

}  // namespace zoa
