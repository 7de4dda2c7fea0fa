#pragma once
#include <cstdint>
#include <string>

#include "play/stage_file.h"

namespace zoa {

// Stage indices with a meaning of their own; every other index is a stage number.
constexpr int32_t kDemoStage = 0;
constexpr int32_t kUserSave = 900;

// data\map\demo.map, the user save, or data\map\stage<index>.map.
std::string StageFilePath(int32_t index);
// data\map\<number>.m
std::string TileMapFilePath(int32_t number);
// The user's saved game: WindowsDir followed by /temp/USER.MAP.
std::string UserSavePath();

// Loads and starts a stage: the snapshot replaces the stored game-state words,
// the map, the sprite pool, Lives and Level; the stage's tile map replaces the
// map; the camera goes to the player; the level's track starts; and unless the
// demo is being started from the title, the screen fades out and timer 1 is
// set to fade it back in. 1 when the stage is loaded and started, 0 otherwise:
// - stage file missing or unusable: TitleActive = 1, Level = 1;
// - not a stage file (tag or marker): nothing changes but the cleared map;
// - tile map missing or unusable: "ERROR: Map load fail", with the snapshot's
//   state already in force.
// A damaged file is checked whole before anything of the running game changes.
int32_t LoadStage(int32_t index);
// The file behind the last LoadStage that failed and why ("<path>: no such file").
const std::string& LastStageProblem();

// Writes the running game to the user save. The old save is replaced only by a
// complete new one; a failed save leaves it as it was, says why on stderr and
// returns false. Play goes on either way.
bool SaveStage();

// The running game as a stage file, and the two halves of putting one in force.
StageFile CaptureStage();
void ApplyStage(const StageFile& stage);
void ApplyTileMap(const TileMapFile& map);

}  // namespace zoa
