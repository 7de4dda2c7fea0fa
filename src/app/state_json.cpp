#include "app/state_json.h"

#include "world/game_state.h"

namespace zoa {

void AppendStateJson(std::string& out) {
    out += "{\"frameCounter\": ";
    out += std::to_string(game.FrameCounter);
    out += ", \"state\": {";
    bool first = true;
    ForEachStateVariable(game, [&](const char* name, int64_t value) {
        if (!first) out += ", ";
        first = false;
        out += '"';
        out += name;
        out += "\": ";
        out += std::to_string(value);
    });
    out += "}, \"sprites\": [], \"sounds\": []}";
}

}  // namespace zoa
