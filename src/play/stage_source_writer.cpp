// The writers of stage sources: a whole source from a stage, and an existing
// source brought up to date in place, statement by statement as the recogniser
// reads them.
#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>
#include <vector>

#include "play/stage_source.h"
#include "play/stage_source_statement.h"
#include "sim/world_map.h"

namespace zoa {

namespace {

void WriteMap(std::ostringstream& out, int32_t width, int32_t height,
              const std::vector<int32_t>& tiles) {
    std::array<bool, kTileCount> used{};
    for (int32_t tile : tiles) {
        if (tile >= 0 && tile < kTileCount) used[tile] = true;
    }
    std::array<char, kTileCount> character{};
    size_t next = 0;
    bool fits = true;
    for (int32_t tile = 0; tile < kTileCount; ++tile) {
        if (!used[tile]) continue;
        if (next == kMapCharacters.size()) {
            fits = false;
            break;
        }
        character[tile] = kMapCharacters[next++];
    }
    const auto at = [&](int32_t c, int32_t r) { return tiles[static_cast<size_t>(r) * width + c]; };
    if (!fits) {
        out << "tiles\n";
        for (int32_t r = 0; r < height; ++r) {
            for (int32_t c = 0; c < width; ++c) out << (c ? " " : "") << at(c, r);
            out << '\n';
        }
        out << "end\n";
        return;
    }
    for (int32_t tile = 0; tile < kTileCount; ++tile) {
        if (used[tile]) out << "tile " << character[tile] << " = " << tile << '\n';
    }
    out << "map\n";
    for (int32_t r = 0; r < height; ++r) {
        for (int32_t c = 0; c < width; ++c) out << character[at(c, r)];
        out << '\n';
    }
    out << "end\n";
}

}  // namespace

std::string DecompileStage(const StageFile& stage, const TileMapFile* map) {
    std::ostringstream out;
    out << kFormatLine << "\n\n";
    out << "Level = " << stage.Level << '\n';
    out << "Lives = " << stage.Lives << '\n';
    out << "Time_Chai = " << stage[kTime_Chai] << '\n';
    out << "Scr.h = " << stage[kScrH] << '\n';
    const int32_t player = LastPlayerSprite(stage);
    for (int32_t w = 0; w < kStageWordCount; ++w) {
        if (IsDerivedWord(w) || w == kTime_Chai || w == kScrH) continue;
        const bool keep =
            w == kPlayerIndex ? stage.words[w] != player : stage.words[w] != DefaultWord(w);
        if (keep) out << kStageWords[w].name << " = " << stage.words[w] << '\n';
    }
    out << '\n';
    if (map) {
        WriteMap(out, map->Map_w, map->Map_h, map->tiles);
    } else {
        WriteMap(out, stage[kMap_w], stage[kMap_h], stage.tiles);
    }
    out << '\n';
    for (const SpriteRecord& sprite : stage.sprites) {
        WriteSpriteLine(out, sprite);
        out << '\n';
    }
    return out.str();
}

namespace {

std::vector<std::string_view> SplitLines(const std::string& text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

// A statement of the source and the lines it spans: one, or a map block from
// its "map" or "tiles" line to its "end".
struct SourcePart {
    Statement statement;
    size_t first;
    size_t last;
};

// False when a line is no well-formed statement or a block has no end.
bool ReadParts(const std::vector<std::string_view>& lines, std::vector<SourcePart>& parts) {
    for (size_t i = 0; i < lines.size(); ++i) {
        SourcePart part{RecogniseStatement(lines[i]), i, i};
        if (!part.statement.error.empty()) return false;
        const StatementKind kind = part.statement.kind;
        if (kind == StatementKind::kMap || kind == StatementKind::kTiles) {
            while (part.last < lines.size() && !IsBlockEnd(lines[part.last])) ++part.last;
            if (part.last == lines.size()) return false;
        }
        i = part.last;
        parts.push_back(std::move(part));
    }
    return true;
}

// Rewrites a source statement by statement; see UpdateStageSource.
class SourceUpdater {
  public:
    SourceUpdater(const StageFile& before, const StageFile& stage, const TileMapFile& map,
                  const std::vector<int32_t>& spriteLines)
        : before_(before), stage_(stage), map_(map), spriteLines_(spriteLines) {}

    // False when the edit cannot be made in place.
    bool Update(const std::string& original, std::string& out) {
        const std::vector<std::string_view> lines = SplitLines(original);
        std::vector<SourcePart> parts;
        if (!ReadParts(lines, parts)) return false;
        // A new tile's character must be free in the whole source: legend
        // lines after the map count too.
        for (const SourcePart& part : parts) {
            if (part.statement.kind == StatementKind::kLegend)
                taken_[static_cast<unsigned char>(part.statement.character)] = true;
        }
        for (const SourcePart& part : parts) {
            if (!EmitPart(lines, part)) return false;
        }
        AddNewLines();
        const bool endsWithNewline = !original.empty() && original.back() == '\n';
        for (size_t k = 0; k < out_.size(); ++k) {
            out += out_[k];
            if (k + 1 < out_.size() || endsWithNewline) out += '\n';
        }
        return true;
    }

  private:
    bool EmitPart(const std::vector<std::string_view>& lines, const SourcePart& part) {
        const Statement& s = part.statement;
        const std::string_view line = lines[part.first];
        switch (s.kind) {
            case StatementKind::kFormat:
                Emit(line);
                lastWordLine_ = out_.size();
                return true;
            case StatementKind::kLegend:
                legend_[static_cast<unsigned char>(s.character)] = s.value;
                Emit(line);
                return true;
            case StatementKind::kMap:
            case StatementKind::kTiles:
                return EmitMap(lines, part.first, part.last, s.kind == StatementKind::kTiles);
            case StatementKind::kSprite:
                EmitSprite(line, spriteStatement_++);
                lastSpriteLine_ = out_.size();
                return true;
            case StatementKind::kWord:
                EmitWord(line, s);
                lastWordLine_ = out_.size();
                return true;
            default:
                Emit(line);
                return true;
        }
    }

    // Words the original leaves at their defaults but the stage changed go
    // after its last word; new sprites after its last sprite.
    void AddNewLines() {
        std::vector<std::string> newWords;
        if (!given_[kLivesKey] && stage_.Lives != before_.Lives)
            newWords.push_back("Lives = " + std::to_string(stage_.Lives));
        for (int32_t w = 0; w < kStageWordCount; ++w) {
            if (IsDerivedWord(w) || given_[w] || stage_.words[w] == before_.words[w]) continue;
            // Left out, the player's index follows the player's line.
            if (w == kPlayerIndex && stage_.words[w] == LastPlayerSprite(stage_)) continue;
            newWords.push_back(std::string(kStageWords[w].name) + " = " +
                               std::to_string(stage_.words[w]));
        }
        out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(lastWordLine_), newWords.begin(),
                    newWords.end());
        if (lastSpriteLine_ >= lastWordLine_) lastSpriteLine_ += newWords.size();
        if (lastSpriteLine_ == 0) lastSpriteLine_ = out_.size();
        std::vector<std::string> newSprites;
        for (size_t s = 0; s < stage_.sprites.size(); ++s) {
            if (spriteLines_[s] < 0) newSprites.push_back(SpriteLine(stage_.sprites[s]));
        }
        out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(lastSpriteLine_), newSprites.begin(),
                    newSprites.end());
    }

    void Emit(std::string_view line) { out_.emplace_back(line); }

    static std::string SpriteLine(const SpriteRecord& sprite) {
        std::ostringstream text;
        WriteSpriteLine(text, sprite);
        return text.str();
    }

    void EmitWord(std::string_view line, const Statement& s) {
        given_[s.key] = true;
        const int32_t now = SettableValue(stage_, s.key);
        if (now == SettableValue(before_, s.key)) {
            Emit(line);
        } else {
            out_.push_back(std::string(s.name) + " = " + std::to_string(now));
        }
    }

    void EmitSprite(std::string_view line, int32_t statement) {
        for (size_t s = 0; s < stage_.sprites.size(); ++s) {
            if (spriteLines_[s] != statement) continue;
            const bool same = statement < static_cast<int32_t>(before_.sprites.size()) &&
                              before_.sprites[statement] == stage_.sprites[s];
            if (same) {
                Emit(line);
            } else {
                out_.push_back(SpriteLine(stage_.sprites[s]));
            }
            return;
        }
        // Its sprite was deleted: so is its line.
    }

    // The map block from line `first` ("map" or "tiles") to `end` ("end").
    bool EmitMap(const std::vector<std::string_view>& lines, size_t first, size_t end,
                 bool numbers) {
        const size_t legendAt = out_.size();
        Emit(lines[first]);
        const int32_t oldW = before_[kMap_w];
        const int32_t oldH = before_[kMap_h];
        const auto oldTile = [&](int32_t c, int32_t r) {
            return before_.tiles[static_cast<size_t>(r) * oldW + c];
        };
        std::array<char, kTileCount> character{};
        for (size_t c = legend_.size(); c-- > 0;) {
            if (legend_[c] >= 0 && legend_[c] < kTileCount)
                character[legend_[c]] = static_cast<char>(c);
        }
        std::vector<std::string> newLegend;
        for (int32_t r = 0; r < map_.Map_h; ++r) {
            const int32_t* row = &map_.tiles[static_cast<size_t>(r) * map_.Map_w];
            bool same = r < oldH && map_.Map_w == oldW && first + 1 + r < end;
            for (int32_t c = 0; same && c < map_.Map_w; ++c) same = row[c] == oldTile(c, r);
            if (same) {
                Emit(lines[first + 1 + r]);
                continue;
            }
            std::string text;
            for (int32_t c = 0; c < map_.Map_w; ++c) {
                const int32_t tile = row[c];
                if (numbers) {
                    text += (c ? " " : "") + std::to_string(tile);
                    continue;
                }
                if (tile < 0 || tile >= kTileCount) return false;
                if (character[tile] == 0) {
                    const char free = FreeCharacter();
                    if (free == 0) return false;
                    character[tile] = free;
                    taken_[static_cast<unsigned char>(free)] = true;
                    newLegend.push_back(std::string("tile ") + free + " = " + std::to_string(tile));
                }
                text += character[tile];
            }
            out_.push_back(std::move(text));
        }
        Emit(lines[end]);
        out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(legendAt), newLegend.begin(),
                    newLegend.end());
        return true;
    }

    char FreeCharacter() const {
        for (char c : kMapCharacters) {
            if (!taken_[static_cast<unsigned char>(c)]) return c;
        }
        return 0;
    }

    const StageFile& before_;
    const StageFile& stage_;
    const TileMapFile& map_;
    const std::vector<int32_t>& spriteLines_;
    std::vector<std::string> out_;
    int32_t spriteStatement_ = 0;
    size_t lastWordLine_ = 0;    // where words the original leaves out go
    size_t lastSpriteLine_ = 0;  // where new sprites go
    std::array<bool, kSettableCount> given_{};
    // The legend so far (what the map's rows may use) and every character
    // the source gives a tile, before the map or after it.
    std::array<int32_t, 128> legend_ = [] {
        std::array<int32_t, 128> none;
        none.fill(-1);
        return none;
    }();
    std::array<bool, 128> taken_{};
};

}  // namespace

std::string UpdateStageSource(const std::string& original, const StageFile& stage,
                              const TileMapFile& map, const std::vector<int32_t>& spriteLines) {
    StageFile before;
    TileMapFile beforeMap;
    if (CompileStageSource(original, before, beforeMap, nullptr) &&
        spriteLines.size() == stage.sprites.size()) {
        if (before == stage && beforeMap == map) return original;
        std::string updated;
        StageFile check;
        TileMapFile checkMap;
        if (SourceUpdater(before, stage, map, spriteLines).Update(original, updated) &&
            CompileStageSource(updated, check, checkMap, nullptr) && check == stage &&
            checkMap == map) {
            return updated;
        }
    }
    return DecompileStage(stage, &map);
}

}  // namespace zoa
