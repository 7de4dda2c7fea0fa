#include "play/sheets.h"

#include <cstdio>
#include <string>

#include "files/read_buffer.h"
#include "gfx/display.h"
#include "gfx/sheet_image.h"
#include "platform/data_path.h"
#include "play/run_frame.h"
#include "sim/demo_input.h"
#include "sim/game_state.h"

namespace zoa {

const SheetInfo kSheets[kSheetCount] = {
    {"data\\nbm\\SPl.bmp", 480, false},   {"data\\nbm\\SPm.bmp", 480, false},
    {"data\\nbm\\SPmi.bmp", 480, true},   {"data\\nbm\\SPgi.bmp", 2000, true},
    {"data\\nbm\\SPcca.bmp", 2000, true}, {"data\\nbm\\SPccb.bmp", 2000, true},
    {"data\\nbm\\SPmca.bmp", 2000, true}, {"data\\nbm\\SPmcb.bmp", 2000, true},
    {"data\\nbm\\SPt.bmp", 960, true},    {"data\\nbm\\SPb.bmp", 1920, true},
};

namespace {

enum Sheet { SPl, SPm, SPmi, SPgi, SPcca, SPccb, SPmca, SPmcb, SPt, SPb };

int32_t* SurfaceGlobal(int sheet) {
    int32_t* globals[kSheetCount] = {&game.SurfaceSPl,   &game.SurfaceSPm,   &game.SurfaceSPmi,
                                     &game.SurfaceSPgi,  &game.SurfaceSPcca, &game.SurfaceSPccb,
                                     &game.SurfaceSPmca, &game.SurfaceSPmcb, &game.SurfaceSPt,
                                     &game.SurfaceSPb};
    return globals[sheet];
}

// Copies one sheet file, read into `buffer`, into surface `index` (the whole
// 640 x h picture).
bool CopySheetFile(int sheet, uint32_t index, files::ReadBuffer& buffer) {
    const SheetInfo& info = kSheets[sheet];
    SheetImage image(DataPath(info.path), game.PaletteFromFile != 0, buffer);
    if (image.Empty()) {
        std::fprintf(stderr, "zoa_noli: %s\n", image.error.c_str());
        return false;
    }
    if (image.width != kScreenWidth || image.height != info.height) {
        std::fprintf(stderr, "zoa_noli: %s is %d x %d, the game needs %d x %d\n",
                     PackedSheetPath(DataPath(info.path)).c_str(), image.width, image.height,
                     kScreenWidth, info.height);
        return false;
    }
    return g_display->CopySheet(index, {0, 0}, image, {0, 0, kScreenWidth, info.height}) != 0;
}

bool CreateSheetSurface(int sheet) {
    const uint32_t index = g_display->CreateSurface(kScreenWidth, kSheets[sheet].height);
    *SurfaceGlobal(sheet) = static_cast<int32_t>(index);
    return index != 0;
}

bool SheetStep(int sheet, files::ReadBuffer& buffer) {
    return CreateSheetSurface(sheet) &&
           CopySheetFile(sheet, static_cast<uint32_t>(*SurfaceGlobal(sheet)), buffer);
}

void Key(int sheet) {
    g_display->SetColorKey(static_cast<uint32_t>(*SurfaceGlobal(sheet)), TransparentIndex,
                           TransparentIndex);
}

bool LoadPaletteFile() {
    std::string error;
    if (g_display->LoadPalette(DataPath(kPaletteFilePath), &error)) return true;
    std::fprintf(stderr, "zoa_noli: %s\n", error.c_str());
    return false;
}

}  // namespace

int32_t LoadSheets() {
    files::ReadBuffer buffer;
    if (!SheetStep(SPl, buffer)) return 0;
    // The title picture's surface comes first, then the palette, then its pixels.
    if (!CreateSheetSurface(SPm) || !LoadPaletteFile() ||
        !CopySheetFile(SPm, static_cast<uint32_t>(game.SurfaceSPm), buffer)) {
        return 0;
    }
    g_display->Blit({0, 0}, static_cast<uint32_t>(game.SurfaceSPl),
                    {0, 0, kScreenWidth, kScreenHeight});
    g_display->Flip();
    if (!SheetStep(SPmi, buffer)) return 0;
    for (int sheet = SPgi; sheet <= SPb; ++sheet) {
        Key(sheet - 1);
        if (!SheetStep(sheet, buffer)) return 0;
    }
    Key(SPb);
    g_display->Clear(0);
    g_display->Flip();
    g_display->Clear(0);
    g_display->Flip();
    LoadDemoInput();
    return 1;
}

void ReloadSheets(int32_t active) {
    if (!active) {
        game.InputActive = 0;
        return;
    }
    game.InputActive = 1;
    if (!game.DisplayReady) return;
    g_display->Clear(0);
    files::ReadBuffer buffer;
    {
        SheetImage image(DataPath(kSheets[SPm].path), game.PaletteFromFile != 0, buffer);
        g_display->LoadPalette(DataPath(kPaletteFilePath));
        g_display->CopySheet(static_cast<uint32_t>(game.SurfaceSPm), {0, 0}, image,
                             {0, 0, kScreenWidth, kScreenHeight});
    }
    // Tiles, backgrounds and the loading picture are not read again.
    if (!CopySheetFile(SPmi, static_cast<uint32_t>(game.SurfaceSPmi), buffer)) return;
    for (int sheet = SPgi; sheet <= SPmcb; ++sheet) {
        Key(sheet - 1);
        if (!CopySheetFile(sheet, static_cast<uint32_t>(*SurfaceGlobal(sheet)), buffer)) return;
    }
    Key(SPmcb);
    RunFrame();
    g_display->Flip();
}

}  // namespace zoa
