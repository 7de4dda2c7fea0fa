#include "app/state_json.h"

#include "sound/sound_system.h"
#include "world/game_state.h"

namespace zoa {

namespace {

void AppendSounds(std::string& out, uint64_t from) {
    if (!g_soundSystem) return;
    bool first = true;
    g_soundSystem->log.ForEachSince(from, [&](const SoundLog::Entry& e) {
        out += first ? "{\"frame\": " : ", {\"frame\": ";
        first = false;
        out += std::to_string(e.frame);
        out += e.op == SoundLog::kPlay ? ", \"op\": \"play\"" : ", \"op\": \"stop\"";
        out += ", \"index\": ";
        out += std::to_string(e.index);
        out += ", \"loop\": ";
        out += std::to_string(e.loop);
        out += '}';
    });
}

}  // namespace

uint64_t SoundLogTotal() { return g_soundSystem ? g_soundSystem->log.Total() : 0; }

void AppendStateJson(std::string& out, uint64_t soundsFrom) {
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
    out += "}, \"sprites\": [], \"sounds\": [";
    AppendSounds(out, soundsFrom);
    out += "]}";
}

}  // namespace zoa
