#include "sim/world_map.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "files/le_words.h"
#include "files/utf8_path.h"
#include "platform/data_path.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "sim/game_state.h"
#include "sound/sound_system.h"

namespace zoa {

std::array<int32_t, kTileCount> WorldMap::DefaultTileAttributes() {
    std::array<int32_t, kTileCount> attrs;
    attrs.fill(kAttrSolid);
    const auto empty = [&attrs](int32_t first, int32_t last) {
        for (int32_t n = first; n <= last; ++n) attrs[n] = kAttrEmpty;
    };
    empty(0, 0);
    empty(10, 10);
    empty(30, 30);
    empty(34, 36);
    empty(53, 57);
    empty(73, 77);
    empty(90, 98);
    empty(110, 118);
    empty(130, 138);
    empty(150, 152);
    empty(154, 158);
    empty(190, 190);
    empty(210, 210);
    attrs[kExitTile] = kAttrExit;
    return attrs;
}

void ClearMap() {
    world.grid.fill(0);
}

int32_t TileAttrAt(int32_t x, int32_t y) {
    if (x < 0 || y < 0) return kAttrEmpty;
    const int32_t column = x / kTileSize;
    const int32_t row = y / kTileSize;
    if (column >= game.Map_w || row >= game.Map_h || column >= kMapColumns || row >= kMapRows) {
        return kAttrEmpty;
    }
    const int32_t tile = world.At(column, row);
    if (tile < 0 || tile >= kTileCount) return kAttrEmpty;
    return world.tiles[tile].attribute;
}

void CenterCameraOn(int32_t x, int32_t y, int32_t width) {
    // Worked out in 64 bits: a sprite far outside the map still gives a camera
    // inside it.
    const int64_t cx = int64_t{x} + width / 2;
    const int64_t maxX = (int64_t{game.Map_w} - kViewColumns) * kTileSize;
    if (cx < int64_t{game.Scr.x} + 320) {
        game.Scr.x = static_cast<int32_t>(std::max<int64_t>(cx - 320, 0));
    }
    if (cx > int64_t{game.Scr.x} + 320) {
        game.Scr.x = static_cast<int32_t>(std::min(cx - 320, maxX));
    }
    CenterCameraVerticallyOn(y);
}

void CenterCameraVerticallyOn(int32_t y) {
    const int64_t maxY = (int64_t{game.Map_h} - kViewRows) * kTileSize;
    if (y < int64_t{game.Scr.y} + 240) {
        game.Scr.y = static_cast<int32_t>(std::max<int64_t>(int64_t{y} - 240, 0));
    }
    if (y > int64_t{game.Scr.y} + 240) {
        game.Scr.y = static_cast<int32_t>(std::min(int64_t{y} - 240, maxY));
    }
}

bool ReadTileAttributeFile(const char* path) {
    std::FILE* file = files::OpenFile(path, "rb");
    if (!file) return false;
    // Bytes past the last record are never looked at.
    std::vector<uint8_t> bytes(kTileAttributeFileSize);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    ReadTileAttributeBytes(bytes.data(), bytes.size(), world.SptAttrStage);
    return true;
}

void ReadTileAttributeBytes(const uint8_t* bytes, size_t size,
                            std::array<int32_t, kTileCount>& attributes) {
    // The 8-byte header, then per tile 8 bytes of sheet position (unused) and
    // the attribute word; once the file ends, entries keep what they hold.
    WordReader in(bytes, size);
    in.Unsigned();
    in.Unsigned();
    for (int32_t n = 0; n < kTileCount; ++n) {
        in.Unsigned();
        in.Unsigned();
        const int32_t attribute = in.Signed();
        if (in.Overrun()) break;
        attributes[n] = attribute;
    }
}

bool WriteTileAttributeFile(const std::string& path,
                            const std::array<int32_t, kTileCount>& attributes) {
    WordWriter out;
    out.Unsigned(0);
    out.Unsigned(0);
    for (int32_t n = 0; n < kTileCount; ++n) {
        out.Signed((n % kTileSheetColumns) * kTileCellPitch + 1);
        out.Signed((n / kTileSheetColumns) * kTileCellPitch + 1);
        out.Signed(attributes[n]);
    }
    return out.WriteFile(path);
}

void SetUpWorld() {
    game.Scr.x = 0;
    game.Scr.y = 0;
    game.Scr.h = 4;
    if (platform::Platform* p = platform::Current()) game.WindowsDir = p->UserFolder();
    if (g_soundSystem) g_soundSystem->soundOn = game.SoundOnAtStart;
    if (!ReadTileAttributeFile(DataPath("data\\map\\Spt.T").c_str())) {
        ShowMessageBox("ERROR: Map Load Fail");
    }
    for (int32_t n = 0; n < kTileCount; ++n) {
        const int32_t column = n % kTileSheetColumns;
        const int32_t row = n / kTileSheetColumns;
        world.tiles[n] = {column * kTileCellPitch + 1, row * kTileCellPitch + 1,
                          world.SptAttrStage[n]};
    }
    ClearMap();
}

}  // namespace zoa
