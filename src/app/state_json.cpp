#include "app/state_json.h"

#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sound/sound_system.h"

namespace zoa {

namespace {

// {"type": .., "srcX": .., ..., "frames": [8 values], ..., "dir": ..}
void AppendSpriteJson(std::string& out, const SpriteRecord& sprite) {
    out += '{';
    for (int32_t f = 0; f < kSpriteFieldCount; ++f) {
        if (f > 0) out += ", ";
        out += '"';
        out += kSpriteFields[f].name;
        out += "\": ";
        const int32_t* words = SpriteFieldWords(sprite, f);
        if (kSpriteFields[f].words == 1) {
            out += std::to_string(words[0]);
            continue;
        }
        out += '[';
        for (int32_t k = 0; k < kSpriteFields[f].words; ++k) {
            if (k > 0) out += ", ";
            out += std::to_string(words[k]);
        }
        out += ']';
    }
    out += '}';
}

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

uint64_t SoundLogTotal() {
    return g_soundSystem ? g_soundSystem->log.Total() : 0;
}

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
    out += "}, \"sprites\": [";
    for (int32_t i = 0; i < LiveSpriteCount(); ++i) {
        if (i > 0) out += ", ";
        AppendSpriteJson(out, pool[i]);
    }
    out += "], \"sounds\": [";
    AppendSounds(out, soundsFrom);
    out += "]}";
}

}  // namespace zoa
