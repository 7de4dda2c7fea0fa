// zoa_campaign_bot: plays one stage of the campaign headless and writes what it
// pressed as a recorded run (the demo input format), for --play N --replay FILE.
//
// It runs the game itself, in this process, exactly as a replay will: the
// stage starts as a new game, and before every frame the keys of that frame go
// to the game's key handlers (keys.h). The bot (bot.h) plans its moves a
// second or two ahead along a distance field (distance_field.h) toward the
// waypoints of a route file (route.h; a few per stage, where the way is not
// plain); the last is the exit. On a terminal a line tells the stage, the
// frame, the waypoint and the time left.

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/menus.h"
#include "bot.h"
#include "gfx/display.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "play/sheets.h"
#include "route.h"
#include "sim/game_state.h"
#include "sim/random.h"
#include "sim/world_map.h"

namespace zoa::bot {
namespace {

const char* const kUsage =
    "usage: zoa_campaign_bot STAGE ROUTE OUT [--data DIR] [--seed N] [--max-frames N]\n"
    "                        [--stretch N] [--horizon N] [--verbose]\n"
    "  plays stage STAGE (0 = the demo stage) from data/map under DIR, heading for the\n"
    "  waypoints of ROUTE and then the exit, and writes its keys to OUT as a recorded run\n"
    "  for zoa_noli --play STAGE --replay OUT --seed N\n";

bool ParseNumber(const std::string& text, int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

int Run(Settings settings) {
    platform::HeadlessPlatform screen;
    platform::SetCurrent(&screen);
    SetDataRoot(settings.dataRoot);
    auto display = std::make_unique<Display>(&screen);
    g_display = display.get();
    game.DisplayReady = 1;
    if (!LoadSheets()) return 1;
    SeedRandom(settings.seed);
    SetUpWorld();
    if (!StartNewGame(settings.stage)) {
        std::fprintf(stderr, "zoa_campaign_bot: stage %d does not load\n", settings.stage);
        return 1;
    }
    std::vector<Waypoint> route;
    if (!settings.route.empty() && !ReadRoute(settings.route, route, settings.playFor)) return 1;
    Waypoint exit;
    if (settings.playFor == 0 && FindExit(exit)) route.push_back(exit);
    if (route.empty()) {
        std::fprintf(stderr, "zoa_campaign_bot: nowhere to go: no route and no exit\n");
        return 1;
    }
    auto bot = std::make_unique<Bot>(settings, route);
    const bool done = bot->Play();
    // A second more after the exit, so the replay sees the next stage start.
    if (!bot->Write(settings.out, settings.playFor > 0 ? 0 : 60)) return 1;
    g_display = nullptr;
    platform::SetCurrent(nullptr);
    return done ? 0 : 3;
}

}  // namespace
}  // namespace zoa::bot

int main(int argc, char** argv) {
    using zoa::bot::Settings;
    std::vector<std::string> args(argv + 1, argv + argc);
    Settings settings;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        int64_t value = 0;
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--verbose") {
            settings.verbose = true;
        } else if (args[i] == "--data" && hasValue) {
            settings.dataRoot = args[++i];
        } else if (args[i].rfind("--", 0) == 0 && hasValue &&
                   zoa::bot::ParseNumber(args[i + 1], value) && value > 0 &&
                   value < (int64_t{1} << 31)) {
            const std::string option = args[i++];
            if (option == "--seed")
                settings.seed = static_cast<uint32_t>(value);
            else if (option == "--max-frames")
                settings.maxFrames = static_cast<int32_t>(value);
            else if (option == "--stretch")
                settings.stretch = static_cast<int32_t>(value);
            else if (option == "--horizon")
                settings.horizon = static_cast<int32_t>(value);
            else
                files.clear(), files.resize(9);
        } else {
            files.push_back(args[i]);
        }
    }
    int64_t stage = 0;
    if (files.size() != 3 || !zoa::bot::ParseNumber(files[0], stage) || stage < 0 || stage > 99) {
        std::fputs(zoa::bot::kUsage, stderr);
        return 2;
    }
    settings.stage = static_cast<int32_t>(stage);
    settings.route = files[1] == "-" ? "" : files[1];
    settings.out = files[2];
    return zoa::bot::Run(settings);
}
