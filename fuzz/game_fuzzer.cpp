// The whole game, headless and without the logo, driven by an arbitrary stream
// of window messages at arbitrary times: every key the game knows pressed and
// let go, focus lost and gained, the window closed, timer ticks, the mouse,
// and the practice tools' keys (states, rewind, frame advance, the overlay).
// The stream walks the title, the demo, the stages, the pause menu and the
// quitting; whatever arrives whenever it arrives, the game must neither crash
// nor leave its tables.
//
// The data set is the one the data builder made: ZOA_FUZZ_GAME_DATA names the
// folder that holds data/ (fuzz/run.sh sets it).
//
// Input: byte 0 picks the start (the title, or a stage as with --play), byte 1
// the seed of the game's generator, then three bytes per message: the wait
// before it (4 ms steps), what it is, and its value.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/game_app.h"
#include "fuzz_check.h"
#include "platform/headless/headless_platform.h"
#include "platform/message.h"

namespace {

using zoa::platform::Message;
using zoa::platform::MessageId;
namespace vk = zoa::platform::vk;

constexpr uint32_t kKeys[] = {vk::Enter, vk::Control, vk::Menu,  vk::Escape, vk::Space,
                              vk::Left,  vk::Up,      vk::Right, vk::Down,   vk::X,
                              vk::Z,     vk::F1,      vk::F5,    vk::F11,    vk::F12};
constexpr size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];
// The practice tools are numbered from 1 to 6; 0 and 7 are none, as a
// message from elsewhere might carry.
constexpr uint32_t kToolValues = 8;
constexpr uint32_t kWaitStepMs = 4;
constexpr uint32_t kStages = 9;  // the title, or stages 1 to 8
// Every run ends: a close after the last message, and at most this many frames.
constexpr uint32_t kCloseAfterMs = 400;
constexpr uint64_t kMostFrames = 1500;
constexpr int32_t kScreenW = 640;
constexpr int32_t kScreenH = 480;

std::string dataRoot;
std::string userFolder;

Message MessageFrom(uint8_t what, uint8_t value) {
    const uint32_t key = kKeys[value % kKeyCount];
    const int32_t point =
        zoa::platform::PackPoint(value * kScreenW / 256, (value * 7 % 256) * kScreenH / 256);
    switch (what % 18) {
        case 0:
        case 1:
        case 2:
        case 3:
            return {MessageId::KeyDown, key, 0};
        case 4:
        case 5:
        case 6:
        case 7:
            return {MessageId::KeyUp, key, 0};
        case 8:
            return {MessageId::ActivateApp, value & 1u, 0};
        case 9:
            return {MessageId::Close, 0, 0};
        case 10:
            return {MessageId::Timer, value % 3u, 0};
        case 11:
            return {MessageId::MouseMove, 0, point};
        case 12:
            return {value & 1 ? MessageId::LButtonDown : MessageId::LButtonUp, 0, point};
        case 13:
            return {value & 1 ? MessageId::RButtonDown : MessageId::RButtonUp, 0, point};
        case 14:
            return {MessageId::SysKeyDown, key, 0};
        case 15:
            return {MessageId::SysCommand, value & 1 ? zoa::platform::kScKeyMenu : 0u, 0};
        case 16:
            return {MessageId::PracticeDown, value % kToolValues, 0};
        default:
            return {MessageId::PracticeUp, value % kToolValues, 0};
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* data = std::getenv("ZOA_FUZZ_GAME_DATA");
    if (!data || !std::filesystem::is_directory(std::filesystem::path(data) / "data")) {
        std::fprintf(stderr, "zoa_fuzz_game: set ZOA_FUZZ_GAME_DATA to a folder holding data/\n");
        std::exit(2);
    }
    dataRoot = data;
    char folder[] = "/tmp/zoa_fuzz_game.XXXXXX";
    if (!mkdtemp(folder)) {
        std::perror("zoa_fuzz_game: mkdtemp");
        std::exit(2);
    }
    userFolder = folder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    zoa::Options options;
    options.headless = true;
    options.noLogo = true;
    options.noSound = true;
    options.dataDir = dataRoot;
    options.configFile = userFolder + "/settings.ini";
    options.saveDir = userFolder;
    options.seed = data[1];
    options.frames = kMostFrames;
    if (const uint32_t start = data[0] % kStages; start != 0)
        options.playStage = static_cast<int32_t>(start);
    // Each input starts without a saved game, state or best splits, so
    // "continue", a state load and the overlay are the same every time.
    std::error_code ec;
    for (const char* kept : {"temp", "states", "splits.txt"})
        std::filesystem::remove_all(std::filesystem::path(userFolder) / kept, ec);

    auto platform = std::make_unique<zoa::platform::HeadlessPlatform>();
    uint32_t at = 0;
    for (size_t i = 2; i + 3 <= size; i += 3) {
        at += data[i] * kWaitStepMs;
        platform->ScheduleMessage(at, MessageFrom(data[i + 1], data[i + 2]));
    }
    platform->ScheduleMessage(at + kCloseAfterMs, {MessageId::Close, 0, 0});
    const int code = zoa::RunGame(options, std::move(platform));
    ZOA_FUZZ_CHECK(code == zoa::kExitOk, "the game did not end cleanly");
    return 0;
}
