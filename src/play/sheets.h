#pragma once
#include <cstdint>

namespace zoa {

// The ten sprite sheets, in loading order: their surface indices are 1..10.
struct SheetInfo {
    const char* path;  // as the game names it; the file read is the .nbm beside it
    int32_t height;    // every sheet is 640 pixels wide
    bool keyed;        // palette index 250 is transparent
};

constexpr int kSheetCount = 10;
extern const SheetInfo kSheets[kSheetCount];
constexpr const char* kPaletteFilePath = "data\\nbm\\SP.PAL";

// Loads every sheet and the palette at start-up, showing the loading picture
// while the rest load. 1 on success; 0 (reason on stderr) when a sheet or the
// palette is missing or damaged, which ends start-up.
int32_t LoadSheets();

// Called on every change of activation. Leaving only freezes input; coming back
// reloads the palette and the sheets a lost display may have emptied, then
// redraws the frame.
void ReloadSheets(int32_t active);

}  // namespace zoa
