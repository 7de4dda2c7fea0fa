#pragma once
#include <string>
#include <vector>

#include "canvas.h"
#include "sprite_layout.h"

namespace zoa::databuild {

// The picture of one sheet, exactly as it goes into its .nbm file.
Canvas BuildSheet(SheetId id);

// The nineteen sound files, in the game's order: A..O then 1..4.
struct SoundFileSpec {
    const char* file;  // under data/sound/
};
extern const SoundFileSpec kSoundFiles[19];
// 16-bit mono samples at kSampleRate of sound `index` (0..18).
std::vector<int16_t> BuildSound(int index);

// Writes the whole data set under `outDir`/data/. Previews of every sheet
// (with the rectangles the game reads outlined) go to `previewDir` when it is
// not empty. False, with a reason, when a file cannot be written.
bool WriteDataSet(const std::string& outDir, const std::string& previewDir, std::string* error);

}  // namespace zoa::databuild
