#pragma once
#include <string>

#include "play/stage_file.h"

namespace zoa {

// The text form of a stage that level makers write and the stage compiler turns
// into a stage file and a tile map file (the format is described in
// tools/stagec/README.md):
//
//   stage 1
//   Level = 1
//   Time_Chai = 16
//   tile . = 0
//   tile # = 1
//   map
//   ....................
//   ####################
//   end
//   sprite 10000 64 320 srcX=1 srcY=1 ...
//
// Compiles a source. On an error returns false with "line N: what is wrong" in
// *error; nothing in the text can make it fail in any other way.
bool CompileStageSource(const std::string& text, StageFile& stage, TileMapFile& map,
                        std::string* error);

// The source of a stage file. The map is taken from `map` when given (it is
// the one a stage is played with), otherwise from the stage file itself.
// Compiling the result gives the same files back.
std::string DecompileStage(const StageFile& stage, const TileMapFile* map);

}  // namespace zoa
