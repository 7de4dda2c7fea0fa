#include "route.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "sim/game_state.h"
#include "sim/world_map.h"

namespace zoa::bot {

bool ReadRoute(const std::string& path, std::vector<Waypoint>& route, int32_t& playFor) {
    std::ifstream file(path);
    if (!file) return false;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        int32_t column = 0, row = 0;
        if (word == "play" && words >> playFor && playFor > 0) continue;
        if ((word != "waypoint" && word != "via") || !(words >> column >> row)) {
            std::fprintf(stderr,
                         "zoa_campaign_bot: %s: line %d: expected waypoint or via COLUMN ROW, or "
                         "play FRAMES\n",
                         path.c_str(), number);
            return false;
        }
        Waypoint w{column * kTileSize + kTileSize / 2, row * kTileSize, word == "via"};
        std::string flag;
        while (words >> flag) {
            if (flag == "walk") {
                w.walk = true;
            } else if (flag == "nothrow") {
                w.noThrow = true;
            } else if (flag == "clear") {
                w.clear = true;
            } else {
                std::fprintf(stderr, "zoa_campaign_bot: %s: line %d: unknown flag %s\n",
                             path.c_str(), number, flag.c_str());
                return false;
            }
        }
        route.push_back(w);
    }
    return true;
}

bool FindExit(Waypoint& exit) {
    bool found = false;
    for (int32_t c = 0; c < game.Map_w; ++c) {
        for (int32_t r = 0; r + 1 < game.Map_h; ++r) {
            if (world.At(c, r) == kExitTile) {
                exit = {c * kTileSize + kTileSize / 2, (r + 1) * kTileSize};
                found = true;
            }
        }
    }
    return found;
}

}  // namespace zoa::bot
