#include "play/stage_loader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "files/le_words.h"
#include "files/replace_file.h"
#include "files/utf8_path.h"
#include "platform/data_path.h"
#include "platform/message_box.h"
#include "platform/platform.h"
#include "platform/user_folder.h"
#include "play/fade.h"
#include "sim/game_state.h"
#include "sim/level_track.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

constexpr int32_t kDemoTitleChoice = 2;  // the title's demo item starts a stage without a fade

// Why the last stage that did not load failed, for those who asked for it.
std::string lastProblem;

void Complain(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "zoa_noli: %s: %s\n", path.c_str(), why.c_str());
    lastProblem = path + ": " + why;
}

// A file that could not be read at all: missing, or there but unreadable.
// Only noted, not printed: the stage after the last one is missing on purpose.
void NoteUnreadable(const std::string& path) {
    std::error_code ec;
    lastProblem = path + (std::filesystem::exists(files::FsPath(path), ec) ? ": cannot be read"
                                                                           : ": no such file");
}

// The stage file could not be used: back to the title, ready for a new game.
int32_t StageFileMissing() {
    game.TitleActive = 1;
    game.Level = 1;
    return 0;
}

// Reads and checks the tile map file; false (with the reason on stderr when the
// file exists but is unusable) when it cannot be used.
bool ReadTileMap(const std::string& path, TileMapFile& map) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        NoteUnreadable(path);
        return false;
    }
    std::string why;
    if (!ReadTileMapFile(bytes, map, &why)) {
        Complain(path, why);
        return false;
    }
    return true;
}

// A camera value stored in a damaged snapshot can survive the centring when the
// player stands outside the map; the camera must stay inside it all the same.
void KeepCameraInsideMap() {
    game.Scr.x = std::clamp(game.Scr.x, 0, (game.Map_w - kViewColumns) * kTileSize);
    game.Scr.y = std::clamp(game.Scr.y, 0, (game.Map_h - kViewRows) * kTileSize);
}

}  // namespace

const std::string& LastStageProblem() {
    return lastProblem;
}

std::string StageFilePath(int32_t index) {
    if (index == kDemoStage) return DataPath("data\\map\\demo.map");
    if (index == kUserSave) return UserSavePath();
    return DataPath("data\\map\\stage" + std::to_string(index) + ".map");
}

std::string TileMapFilePath(int32_t number) {
    return DataPath("data\\map\\" + std::to_string(number) + ".m");
}

std::string UserSavePath() {
    return game.WindowsDir + "/temp/USER.MAP";
}

StageFile CaptureStage() {
    StageFile stage;
    for (int32_t w = 0; w < kStageWordCount; ++w) stage.words[w] = StoredGameWord(game, w);
    const int32_t width = game.Map_w;
    const int32_t height = game.Map_h;
    if (width > 0 && width <= kMapColumns && height > 0 && height <= kMapRows) {
        stage.tiles.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int32_t r = 0; r < height; ++r) {
            for (int32_t c = 0; c < width; ++c) stage.tiles.push_back(world.At(c, r));
        }
    }
    stage.sprites.assign(pool.records.begin(), pool.records.begin() + LiveSpriteCount());
    stage.Lives = game.Lives;
    stage.Level = game.Level;
    return stage;
}

void ApplyStage(const StageFile& stage) {
    for (int32_t w = 0; w < kStageWordCount; ++w) {
        StoredGameWord(game, w) = stage.words[w];
        // The editor's switch is carried by the file but never starts a stage.
        if (w == kEditMode) game.EditMode = 0;
    }
    for (int32_t r = 0; r < game.Map_h; ++r) {
        for (int32_t c = 0; c < game.Map_w; ++c) {
            world.At(c, r) = stage.tiles[static_cast<size_t>(r) * game.Map_w + c];
        }
    }
    std::copy(stage.sprites.begin(), stage.sprites.end(), pool.records.begin());
    game.Lives = stage.Lives;
    game.Level = stage.Level;
}

void ApplyTileMap(const TileMapFile& map) {
    game.Map_w = map.Map_w;
    game.Map_h = map.Map_h;
    for (int32_t r = 0; r < map.Map_h; ++r) {
        for (int32_t c = 0; c < map.Map_w; ++c) {
            world.At(c, r) = map.tiles[static_cast<size_t>(r) * map.Map_w + c];
        }
    }
}

int32_t LoadStage(int32_t index) {
    ClearMap();
    const std::string path = StageFilePath(index);
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        NoteUnreadable(path);
        return StageFileMissing();
    }
    StageFile stage;
    std::string why;
    switch (ReadStageFile(bytes, stage, &why)) {
        case StageRead::kOk:
            break;
        case StageRead::kBadMarker:
            Complain(path, why);
            return 0;
        case StageRead::kRejected:
            Complain(path, why);
            return StageFileMissing();
    }
    ApplyStage(stage);

    const int32_t mapNumber = index == kUserSave ? game.Level : index;
    TileMapFile map;
    if (!ReadTileMap(TileMapFilePath(mapNumber), map)) {
        ShowMessageBox("ERROR: Map load fail");
        return 0;
    }
    ApplyTileMap(map);

    const SpriteRecord& player = pool[game.PlayerIndex];
    CenterCameraOn(player.x, player.y, player.width);
    KeepCameraInsideMap();

    StopLevelTracks();
    PlaySound(LevelTrack(game.Level), 1);

    if (game.TitleChoice != kDemoTitleChoice) {
        game.TitleActive = 0;
        game.PauseActive = 0;
        FadeOutUntilTimer();
    }
    return 1;
}

bool SaveStage() {
    if (game.WindowsDir.empty()) {
        std::fprintf(stderr, "zoa_noli: no user folder to save the game in\n");
        return false;
    }
    const std::string folder = game.WindowsDir + "/temp";
    if (!platform::MakeFolders(folder)) {
        std::fprintf(stderr, "zoa_noli: cannot create %s; the game is not saved\n", folder.c_str());
        return false;
    }
    const std::string path = UserSavePath();
    const StageFile stage = CaptureStage();
    std::string why = CheckStageFile(stage);
    if (!why.empty()) {
        Complain(path, "the game is not saved: " + why);
        return false;
    }
    WordWriter out;
    WriteStageFile(stage, out);
    if (!files::ReplaceFile(path, out.Data(), &why)) {
        Complain(path, "the game is not saved: " + why);
        return false;
    }
    return true;
}

}  // namespace zoa
