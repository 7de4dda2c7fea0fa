// zoa_fuzz_seeds OUT [STAGE_SOURCE...]: the seeds our own data builder does not
// make: the default settings text, a demo input file, the stage file and tile
// map of every stage source given (in OUT/map/ as <name>.map and <name>.m), and
// message streams for the whole-game program (in OUT/game/).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/le_words.h"
#include "platform/message.h"
#include "platform/settings.h"
#include "play/stage_file.h"
#include "play/stage_source.h"
#include "sim/demo_input.h"

namespace {

bool WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file.flush());
}

// A short run of play: walk right, jump twice, fly, throw, then let go.
zoa::DemoInput SampleDemo() {
    zoa::DemoInput demo;
    demo.RecordEndFrame = 600;
    const struct {
        uint32_t frame, key, kind;
    } events[] = {{10, zoa::platform::vk::Right, zoa::kKeyPress},
                  {40, zoa::platform::vk::Control, zoa::kKeyPress},
                  {48, zoa::platform::vk::Control, zoa::kKeyRelease},
                  {90, zoa::platform::vk::Up, zoa::kKeyPress},
                  {150, zoa::platform::vk::Up, zoa::kKeyRelease},
                  {200, zoa::platform::vk::Space, zoa::kKeyPress},
                  {204, zoa::platform::vk::Space, zoa::kKeyRelease},
                  {260, zoa::platform::vk::Control, zoa::kKeyPress},
                  {268, zoa::platform::vk::Control, zoa::kKeyRelease},
                  {400, zoa::platform::vk::Right, zoa::kKeyRelease}};
    size_t i = 0;
    for (const auto& e : events) {
        zoa::InputRecord& r = demo.records[i++];
        r.frame = e.frame;
        r.kind = e.kind;
        (e.kind == zoa::kKeyPress ? r.keyDown : r.keyUp) = e.key;
    }
    return demo;
}

// Message streams in the whole-game program's form: a start byte (0 the
// title, N stage N), a seed byte, then (wait in 4 ms steps, what, value) for
// each message. What: 0 key down, 4 key up (value: 0 Enter, 3 Escape,
// 4 Space, 7 Right, 8 Down, 10 Z), 8 focus (value 0 lost, 1 back), 9 close,
// 16 and 17 a practice tool down and up (value 1 save, 2 load, 3 rewind,
// 4 frame advance, 5 step, 6 overlay).
struct GameSeed {
    const char* name;
    std::vector<uint8_t> bytes;
};
std::vector<GameSeed> GameSeeds() {
    return {
        // Title to "quit", Enter pressed again while the screen fades.
        {"quit", {0, 1, 10, 0, 7, 10, 0, 7, 10, 0, 7, 10, 0, 0, 5, 0, 0, 5, 4, 0}},
        // The demo from the title, away and back during it, then Escape.
        {"demo", {0, 2, 10, 0, 7, 10, 0, 7, 10, 0, 0, 120, 8, 0, 120, 8, 1, 100, 0, 3}},
        // A new game: walk, jump, throw, pause, move in the menu, quit to the title.
        {"play", {0, 3, 10, 0, 0, 10, 4, 0, 40, 0, 7, 60, 0, 10, 10, 4, 10, 20, 0, 4, 10,
                  4, 4, 60, 0, 3, 20, 0, 8, 20, 0, 8, 20, 0, 0,  60, 0, 7,  10, 0, 0}},
        // Stage 2 at once: walk right, switch away, let go there, come back, save.
        {"background",
         {2, 4, 10, 0, 7, 100, 8, 0, 20, 4, 7, 100, 8, 1, 100, 0, 3, 20, 0, 0, 60, 9, 0}},
        // Stage 3 with the practice tools: the mouse moved while the stage
        // fades in (three seconds), then the overlay on, walk, save, walk on,
        // load, rewind, then frame advance with two steps.
        {"practice", {3,  5,   255, 11, 0,  255, 11, 40, 255, 11,  80, 200, 16, 6,  2,  17, 6,
                      10, 0,   7,   50, 16, 1,   2,  17, 1,   100, 16, 2,   2,  17, 2,  60, 16,
                      3,  150, 17,  3,  10, 16,  4,  2,  17,  4,   10, 16,  5,  2,  17, 5,  20,
                      16, 5,   40,  17, 5,  10,  16, 4,  2,   17,  4,  40,  4,  7}},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zoa_fuzz_seeds OUT [STAGE_SOURCE...]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "map");
    int status = 0;
    if (!WriteText(out / "settings.cfg", zoa::platform::DefaultSettingsText())) status = 1;
    std::string error;
    if (!zoa::WriteDemoFile((out / "DEMO.AV").string(), SampleDemo(), &error)) {
        std::fprintf(stderr, "zoa_fuzz_seeds: %s\n", error.c_str());
        status = 1;
    }
    std::filesystem::create_directories(out / "game");
    for (const GameSeed& seed : GameSeeds()) {
        std::ofstream file(out / "game" / seed.name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(seed.bytes.data()),
                   static_cast<std::streamsize>(seed.bytes.size()));
        if (!file.flush()) status = 1;
    }
    for (int i = 2; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        zoa::StageFile stage;
        zoa::TileMapFile map;
        if (!file || !zoa::CompileStageSource(text.str(), stage, map, &error)) {
            std::fprintf(stderr, "zoa_fuzz_seeds: %s: %s\n", argv[i], error.c_str());
            status = 1;
            continue;
        }
        const std::string name = std::filesystem::path(argv[i]).stem().string();
        zoa::WordWriter stageBytes, mapBytes;
        zoa::WriteStageFile(stage, stageBytes);
        zoa::WriteTileMapFile(map, mapBytes);
        if (!stageBytes.WriteFile((out / "map" / (name + ".map")).string()) ||
            !mapBytes.WriteFile((out / "map" / (name + ".m")).string())) {
            status = 1;
        }
    }
    return status;
}
