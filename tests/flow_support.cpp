#include "flow_support.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <stdexcept>

#include "app/game_app.h"
#include "files/le_words.h"
#include "sim/sprite_record.h"
#include "sim/world_map.h"
#include "sound_fixture.h"

namespace zoa::test {

namespace {

constexpr int32_t kWidth = 40;
constexpr int32_t kHeight = 15;
constexpr int32_t kFloorTile = 1;

SpriteRecord Scenery(int32_t x) {
    SpriteRecord r;
    r.type = 1010;
    r.width = 32;
    r.height = 32;
    r.x = x;
    r.y = 416;
    r.frames[0] = 1;
    r.sheetA = r.sheetB = 4;
    r.frameDelay = 5;
    r.depth = 10;
    r.life = 1;
    return r;
}

void WriteWords(const std::string& path, const WordWriter& w) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteBytes(path, w.Data());
}

}  // namespace

StageFile PlayerStage(int32_t level, uint32_t timeChai, int32_t playerX) {
    StageFile s;
    s[kDownReady] = s[kJumpReady] = s[kFireReady] = 1;
    s[kTime_Chai] = static_cast<int32_t>(timeChai);
    s[kSprite_Getsu] = 3;
    s[kPlayerIndex] = 1;
    s[kScrH] = 4;
    s[kMap_w] = kWidth;
    s[kMap_h] = kHeight;
    s.tiles.assign(static_cast<size_t>(kWidth * kHeight), 0);
    SpriteRecord player;
    player.type = 10000;
    player.width = 64;
    player.height = 64;
    player.x = playerX;
    player.y = 384;
    // The player's own frame counts: they are also the lengths of its jump,
    // charge and throw.
    const int32_t rows[] = {5, 8, 8, 4, 4, 7, 6, 3};
    std::copy(std::begin(rows), std::end(rows), player.frames);
    player.sheetA = 5;
    player.sheetB = 6;
    player.step = -1;
    player.frameDelay = 4;
    player.depth = 40;
    player.life = 321;
    player.gauge = 123;
    s.sprites = {Scenery(playerX - 100), player, Scenery(playerX + 200)};
    s.Lives = 5;
    s.Level = level;
    return s;
}

TileMapFile FloorMap() {
    TileMapFile m{kWidth, kHeight, std::vector<int32_t>(static_cast<size_t>(kWidth * kHeight), 0)};
    for (int32_t c = 0; c < kWidth; ++c)
        m.tiles[static_cast<size_t>((kHeight - 1) * kWidth + c)] = kFloorTile;
    return m;
}

void WriteStageFiles(const std::string& root, int32_t index, const StageFile& stage,
                     const TileMapFile& tiles) {
    const std::string map = root + "/data/map/";
    WordWriter s;
    WriteStageFile(stage, s);
    WriteWords(
        map + (index == 0 ? std::string("demo.map") : "stage" + std::to_string(index) + ".map"), s);
    WordWriter m;
    WriteTileMapFile(tiles, m);
    WriteWords(map + std::to_string(index) + ".m", m);
}

void WriteDemoInput(const std::string& root, const DemoInput& demo) {
    std::filesystem::create_directories(root + "/data/map");
    std::string why;
    if (!WriteDemoFile(root + "/data/map/DEMO.AV", demo, &why)) throw std::runtime_error(why);
}

InputRecord Press(uint32_t frame, uint32_t vk) {
    return {frame, vk, 0, kKeyPress};
}
InputRecord Release(uint32_t frame, uint32_t vk) {
    return {frame, 0, vk, kKeyRelease};
}

void ObservedPlatform::ShowPicture(const uint8_t* pixels, const Palette& palette) {
    HeadlessPlatform::ShowPicture(pixels, palette);
    if (onPresent) onPresent();
}

GameRun::GameRun() {
    WriteFixtureData(dir.str());
    platform->SetUserFolder(Path("home"));
    options.headless = true;
    options.dataDir = dir.str();
    options.seed = 1;
}

void GameRun::At(uint32_t ms, platform::MessageId id, uint32_t wParam) {
    platform->ScheduleMessage(ms, {id, wParam, 0});
}

int GameRun::Run() {
    SetAfterFrameHook(
        [](void* self) {
            auto* run = static_cast<GameRun*>(self);
            ++run->frames;
            if (run->onFrame) run->onFrame();
        },
        this);
    const int code = RunGame(options, std::move(owned));
    SetAfterFrameHook(nullptr, nullptr);
    platform = nullptr;
    return code;
}

}  // namespace zoa::test
