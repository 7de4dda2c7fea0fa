#pragma once
#include <string>
#include <vector>

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

// A source brought up to date with an edited stage, as a level maker would
// edit it by hand: the words whose values changed, the map rows that changed
// (new tiles get a legend line before the map) and the sprite lines that
// changed are rewritten; comments, the legend, blank lines and the order of
// the statements stay as written. spriteLines[i] is the number (from 0) of the
// sprite statement of `original` that sprite i of `stage` was read from, or -1
// for a new sprite; a sprite whose statement is gone is left out. An unchanged
// stage gives `original` back byte for byte. The result always compiles to
// `stage` and `map`: when the edit cannot be made in place (the original does
// not compile, the legend runs out of characters), it is the decompiled source.
std::string UpdateStageSource(const std::string& original, const StageFile& stage,
                              const TileMapFile& map, const std::vector<int32_t>& spriteLines);

}  // namespace zoa
