#include "play/stage_source.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "play/sheets.h"
#include "sim/catalogue_lookup.h"
#include "sim/sprite_types.h"
#include "sim/world_map.h"

namespace zoa {

namespace {

constexpr std::string_view kFormatLine = "stage 1";

// Header words a source may not set: they follow from its map and sprites.
bool IsDerivedWord(int32_t word) {
    return word == kSprite_Getsu || word == kMap_w || word == kMap_h;
}

// The value every stage word has unless the source says otherwise: what a new
// game starts with.
int32_t DefaultWord(int32_t word) {
    GameState fresh;
    return StoredGameWord(fresh, word);
}

constexpr int32_t kDefaultLives = 3;

// Fields a sprite must state when its type has no catalogue entry; the others
// start as the spawner starts every record (frame and tick 30: the first update
// shows frame 0).
bool IsCatalogueField(int32_t field) {
    const std::string_view name = kSpriteFields[field].name;
    return name == "srcX" || name == "srcY" || name == "width" || name == "height" ||
           name == "frames" || name == "sheetA" || name == "sheetB" || name == "frameDelay" ||
           name == "depth" || name == "life";
}

SpriteRecord CommonRecord(int32_t type) {
    SpriteRecord r;
    r.type = type;
    r.frame = 30;
    r.tick = 30;
    return r;
}

// The record a sprite line at (x, y) starts from, and whether it came from the
// catalogue.
SpriteRecord BaseRecord(int32_t type, int32_t x, int32_t y, bool& fromCatalogue) {
    SpriteRecord r;
    fromCatalogue = CatalogueRecord(type, x, y, r);
    if (fromCatalogue) return r;
    r = CommonRecord(type);
    r.x = x;
    r.y = y;
    return r;
}

// Printable characters a decompiled map uses, tile 0 first.
constexpr std::string_view kMapCharacters =
    ".#=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!$%&*+-/"
    ":;<>?@^_~|'\"(),[]{}`\\";

std::optional<int32_t> ParseInt(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<int32_t> ParseSheet(std::string_view text) {
    for (int i = 0; i < kSheetCount; ++i) {
        // "data\nbm\SPgi.bmp" -> "SPgi"
        std::string_view path = kSheets[i].path;
        path = path.substr(path.find_last_of('\\') + 1);
        path = path.substr(0, path.find('.'));
        if (text == path) return i + 1;
    }
    return ParseInt(text);
}

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// "text" in double quotes, for error messages.
std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string_view TrimEnd(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

class SourceParser {
  public:
    explicit SourceParser(const std::string& text) : text_(text) {}

    bool Parse(StageFile& stage, TileMapFile& map, std::string* error) {
        for (int32_t w = 0; w < kStageWordCount; ++w) stage.words[w] = DefaultWord(w);
        stage.Lives = kDefaultLives;
        bool ok = ParseLines(stage) && Finish(stage, map);
        if (!ok && error) *error = error_;
        return ok;
    }

  private:
    bool Fail(const std::string& message) {
        error_ = "line " + std::to_string(line_) + ": " + message;
        return false;
    }

    bool NextLine(std::string_view& out) {
        if (pos_ >= text_.size()) return false;
        size_t end = text_.find('\n', pos_);
        if (end == std::string::npos) end = text_.size();
        out = TrimEnd(std::string_view(text_).substr(pos_, end - pos_));
        pos_ = end + 1;
        ++line_;
        return true;
    }

    bool ParseLines(StageFile& stage) {
        std::string_view line;
        while (NextLine(line)) {
            const std::vector<std::string_view> words = SplitWords(line);
            if (words.empty() || words[0].front() == '#') continue;
            if (!sawFormat_) {
                if (words.size() != 2 || words[0] != "stage" || words[1] != "1") {
                    return Fail("a stage source starts with the line \"" +
                                std::string(kFormatLine) + "\"");
                }
                sawFormat_ = true;
                continue;
            }
            const std::string_view keyword = words[0];
            bool ok;
            if (keyword == "tile") {
                ok = ParseLegend(words);
            } else if (keyword == "map") {
                ok = words.size() == 1 ? ParseMapBlock(false)
                                       : Fail("\"map\" stands alone on its line");
            } else if (keyword == "tiles") {
                ok = words.size() == 1 ? ParseMapBlock(true)
                                       : Fail("\"tiles\" stands alone on its line");
            } else if (keyword == "sprite") {
                ok = ParseSprite(words, stage);
            } else if (words.size() >= 2 && words[1] == "=") {
                ok = ParseWord(words, stage);
            } else {
                ok = Fail(Quoted(keyword) +
                          " is not a statement (expected NAME = VALUE, tile, map, tiles, sprite)");
            }
            if (!ok) return false;
        }
        if (!sawFormat_)
            return Fail("empty source: a stage source starts with \"" + std::string(kFormatLine) +
                        "\"");
        return true;
    }

    bool ParseWord(const std::vector<std::string_view>& words, StageFile& stage) {
        const std::string name(words[0]);
        if (words.size() != 3) return Fail("expected " + name + " = VALUE");
        const std::optional<int32_t> value = ParseInt(words[2]);
        if (!value) return Fail(Quoted(words[2]) + " is not a 32-bit integer");
        int32_t* target = nullptr;
        int32_t key = -1;
        if (name == "Lives") {
            target = &stage.Lives;
            key = kLivesKey;
        } else if (name == "Level") {
            target = &stage.Level;
            key = kLevelKey;
        } else {
            key = FindStageWord(name);
            if (key < 0) return Fail("unknown name \"" + name + "\"");
            if (IsDerivedWord(key)) {
                return Fail(name + " follows from the map and the sprites and cannot be set");
            }
            target = &stage.words[key];
        }
        if (given_[key]) return Fail(name + " is given twice");
        given_[key] = true;
        *target = *value;
        return true;
    }

    bool ParseLegend(const std::vector<std::string_view>& words) {
        if (words.size() != 4 || words[2] != "=") return Fail("expected tile CHARACTER = NUMBER");
        if (words[1].size() != 1) {
            return Fail(Quoted(words[1]) + " is not a single character");
        }
        const unsigned char c = static_cast<unsigned char>(words[1][0]);
        if (c < 33 || c > 126) return Fail("map characters are printable ASCII, not space");
        const std::optional<int32_t> tile = ParseInt(words[3]);
        if (!tile || *tile < 0 || *tile >= kTileCount) {
            return Fail("tile number \"" + std::string(words[3]) + "\" is outside 0.." +
                        std::to_string(kTileCount - 1));
        }
        if (legend_[c] >= 0)
            return Fail(std::string("character ") + words[1][0] + " is given twice");
        legend_[c] = *tile;
        return true;
    }

    // map: rows of legend characters; tiles: rows of tile numbers. Both end with "end".
    bool ParseMapBlock(bool numbers) {
        if (mapLine_ != 0)
            return Fail("the stage already has a map (line " + std::to_string(mapLine_) + ")");
        mapLine_ = line_;
        std::string_view line;
        int32_t width = -1;
        int32_t height = 0;
        while (NextLine(line)) {
            if (line == "end") {
                if (height == 0) return Fail("the map has no rows");
                return SetMapSize(width, height);
            }
            if (height == kMaxMapHeight) {
                return Fail("the map has more than " + std::to_string(kMaxMapHeight) + " rows");
            }
            std::vector<int32_t> row;
            if (!(numbers ? ParseNumberRow(line, row) : ParseCharacterRow(line, row))) return false;
            if (width < 0) {
                width = static_cast<int32_t>(row.size());
                if (width < kMinMapWidth || width > kMaxMapWidth) {
                    return Fail("the map is " + std::to_string(width) + " tiles wide; a map is " +
                                std::to_string(kMinMapWidth) + " to " +
                                std::to_string(kMaxMapWidth) + " wide");
                }
            } else if (static_cast<int32_t>(row.size()) != width) {
                return Fail("this row is " + std::to_string(row.size()) +
                            " tiles wide, the first is " + std::to_string(width));
            }
            tiles_.insert(tiles_.end(), row.begin(), row.end());
            ++height;
        }
        return Fail("the map has no \"end\" line");
    }

    bool SetMapSize(int32_t width, int32_t height) {
        if (height < kMinMapHeight) {
            return Fail("the map is " + std::to_string(height) + " rows high; a map is " +
                        std::to_string(kMinMapHeight) + " to " + std::to_string(kMaxMapHeight) +
                        " high");
        }
        width_ = width;
        height_ = height;
        return true;
    }

    bool ParseCharacterRow(std::string_view line, std::vector<int32_t>& row) {
        if (line.size() > static_cast<size_t>(kMaxMapWidth)) {
            return Fail("the row is longer than " + std::to_string(kMaxMapWidth) + " tiles");
        }
        for (size_t i = 0; i < line.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(line[i]);
            if (c >= legend_.size() || legend_[c] < 0) {
                return Fail("character '" + std::string(1, line[i]) + "' in column " +
                            std::to_string(i) + " has no tile line before the map");
            }
            row.push_back(legend_[c]);
        }
        return true;
    }

    bool ParseNumberRow(std::string_view line, std::vector<int32_t>& row) {
        for (std::string_view word : SplitWords(line)) {
            if (row.size() == static_cast<size_t>(kMaxMapWidth)) {
                return Fail("the row is longer than " + std::to_string(kMaxMapWidth) + " tiles");
            }
            const std::optional<int32_t> tile = ParseInt(word);
            if (!tile || *tile < 0 || *tile >= kTileCount) {
                return Fail("tile number \"" + std::string(word) + "\" in column " +
                            std::to_string(row.size()) + " is outside 0.." +
                            std::to_string(kTileCount - 1));
            }
            row.push_back(*tile);
        }
        return true;
    }

    // sprite TYPE X Y [FIELD=VALUE ...]
    bool ParseSprite(const std::vector<std::string_view>& words, StageFile& stage) {
        if (words.size() < 4) return Fail("expected sprite TYPE X Y [FIELD=VALUE ...]");
        if (stage.sprites.size() == static_cast<size_t>(kMaxStageSprites)) {
            return Fail("more than " + std::to_string(kMaxStageSprites) + " sprites");
        }
        std::optional<int32_t> numbers[3];
        for (int i = 0; i < 3; ++i) {
            numbers[i] = ParseInt(words[1 + i]);
            if (!numbers[i]) return Fail(Quoted(words[1 + i]) + " is not a 32-bit integer");
        }
        bool fromCatalogue = false;
        SpriteRecord record = BaseRecord(*numbers[0], *numbers[1], *numbers[2], fromCatalogue);
        std::array<bool, kSpriteFieldCount> set{};
        set[0] = set[5] = set[6] = true;  // type, x, y
        for (size_t i = 4; i < words.size(); ++i) {
            const size_t eq = words[i].find('=');
            if (eq == std::string_view::npos) {
                return Fail(Quoted(words[i]) + " is not FIELD=VALUE");
            }
            const std::string name(words[i].substr(0, eq));
            const int32_t field = FindSpriteField(name.c_str());
            if (field < 0) return Fail("unknown sprite field \"" + name + "\"");
            if (set[field]) return Fail("sprite field " + name + " is given twice");
            set[field] = true;
            if (!ParseFieldValue(field, words[i].substr(eq + 1), record)) return false;
        }
        if (!fromCatalogue) {
            std::string missing;
            for (int32_t f = 0; f < kSpriteFieldCount; ++f) {
                if (IsCatalogueField(f) && !set[f])
                    missing += std::string(missing.empty() ? "" : ", ") + kSpriteFields[f].name;
            }
            if (!missing.empty()) {
                return Fail("type " + std::to_string(record.type) +
                            " has no catalogue entry; give its fields: " + missing);
            }
        }
        stage.sprites.push_back(record);
        return true;
    }

    bool ParseFieldValue(int32_t field, std::string_view text, SpriteRecord& record) {
        int32_t* words = SpriteFieldWords(record, field);
        const std::string_view name = kSpriteFields[field].name;
        if (kSpriteFields[field].words > 1) {
            // frames=a,b,...: up to eight counts, the rest 0
            std::fill(words, words + kSpriteFields[field].words, 0);
            int32_t k = 0;
            size_t start = 0;
            for (;;) {
                const size_t comma = text.find(',', start);
                const std::string_view item =
                    text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
                if (k == kSpriteFields[field].words) {
                    return Fail(std::string(name) + " takes at most " +
                                std::to_string(kSpriteFields[field].words) + " values");
                }
                const std::optional<int32_t> value = ParseInt(item);
                if (!value)
                    return Fail(Quoted(item) + " in " + std::string(name) +
                                " is not a 32-bit integer");
                words[k++] = *value;
                if (comma == std::string_view::npos) return true;
                start = comma + 1;
            }
        }
        const std::optional<int32_t> value =
            name == "sheetA" || name == "sheetB" ? ParseSheet(text) : ParseInt(text);
        if (!value) return Fail(Quoted(text) + " is not a value for " + std::string(name));
        words[0] = *value;
        return true;
    }

    bool Finish(StageFile& stage, TileMapFile& map) {
        if (mapLine_ == 0) return Fail("the stage has no map (a map or tiles block)");
        if (!given_[kLevelKey]) return Fail("the stage does not say its Level");
        if (!given_[kTime_Chai]) return Fail("the stage does not say its Time_Chai");
        if (stage.sprites.empty())
            return Fail("the stage has no sprites; it needs the player (type 10000)");
        if (!given_[kPlayerIndex]) {
            int32_t player = -1;
            for (size_t i = 0; i < stage.sprites.size(); ++i) {
                if (stage.sprites[i].type == kPlayer) player = static_cast<int32_t>(i);
            }
            if (player < 0) return Fail("the stage has no player sprite (type 10000)");
            stage[kPlayerIndex] = player;
        }
        stage[kSprite_Getsu] = static_cast<int32_t>(stage.sprites.size());
        stage[kMap_w] = width_;
        stage[kMap_h] = height_;
        stage.tiles = tiles_;
        map.Map_w = width_;
        map.Map_h = height_;
        map.tiles = std::move(tiles_);
        const std::string why = CheckStageFile(stage);
        if (!why.empty()) return Fail(why);
        return true;
    }

    const std::string& text_;
    size_t pos_ = 0;
    int32_t line_ = 0;
    std::string error_;
    bool sawFormat_ = false;
    static constexpr int32_t kLivesKey = kStageWordCount;
    static constexpr int32_t kLevelKey = kStageWordCount + 1;
    std::array<bool, kStageWordCount + 2> given_{};  // stage words, then Lives and Level
    std::array<int32_t, 128> legend_ = [] {
        std::array<int32_t, 128> none;
        none.fill(-1);
        return none;
    }();
    int32_t mapLine_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<int32_t> tiles_;
};

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

void WriteSprite(std::ostream& out, const SpriteRecord& sprite) {
    bool fromCatalogue = false;
    const SpriteRecord base = BaseRecord(sprite.type, sprite.x, sprite.y, fromCatalogue);
    out << "sprite " << sprite.type << ' ' << sprite.x << ' ' << sprite.y;
    for (int32_t f = 0; f < kSpriteFieldCount; ++f) {
        const std::string_view name = kSpriteFields[f].name;
        if (name == "type" || name == "x" || name == "y") continue;
        const int32_t* words = SpriteFieldWords(sprite, f);
        const int32_t* baseWords = SpriteFieldWords(base, f);
        const int32_t count = kSpriteFields[f].words;
        const bool differs = !std::equal(words, words + count, baseWords);
        if (!differs && (fromCatalogue || !IsCatalogueField(f))) continue;
        out << ' ' << name << '=';
        for (int32_t k = 0; k < count; ++k) out << (k ? "," : "") << words[k];
    }
    out << '\n';
}

}  // namespace

bool CompileStageSource(const std::string& text, StageFile& stage, TileMapFile& map,
                        std::string* error) {
    stage = StageFile{};
    map = TileMapFile{};
    return SourceParser(text).Parse(stage, map, error);
}

std::string DecompileStage(const StageFile& stage, const TileMapFile* map) {
    std::ostringstream out;
    out << kFormatLine << "\n\n";
    out << "Level = " << stage.Level << '\n';
    out << "Lives = " << stage.Lives << '\n';
    out << "Time_Chai = " << stage[kTime_Chai] << '\n';
    out << "Scr.h = " << stage[kScrH] << '\n';
    int32_t player = -1;
    for (size_t i = 0; i < stage.sprites.size(); ++i) {
        if (stage.sprites[i].type == kPlayer) player = static_cast<int32_t>(i);
    }
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
    for (const SpriteRecord& sprite : stage.sprites) WriteSprite(out, sprite);
    return out.str();
}

namespace {

int32_t LastPlayer(const StageFile& stage) {
    int32_t player = -1;
    for (size_t i = 0; i < stage.sprites.size(); ++i) {
        if (stage.sprites[i].type == kPlayer) player = static_cast<int32_t>(i);
    }
    return player;
}

// Rewrites a source statement by statement; see UpdateStageSource.
class SourceUpdater {
  public:
    SourceUpdater(const StageFile& before, const StageFile& stage, const TileMapFile& map,
                  const std::vector<int32_t>& spriteLines)
        : before_(before), stage_(stage), map_(map), spriteLines_(spriteLines) {}

    // False when the edit cannot be made in place.
    bool Update(const std::string& original, std::string& out) {
        std::vector<std::string_view> lines;
        size_t pos = 0;
        while (pos < original.size()) {
            size_t end = original.find('\n', pos);
            if (end == std::string::npos) end = original.size();
            lines.push_back(std::string_view(original).substr(pos, end - pos));
            pos = end + 1;
        }
        const bool endsWithNewline = !original.empty() && original.back() == '\n';
        bool sawFormat = false;
        int32_t spriteStatement = 0;
        size_t lastWordLine = 0;    // where words the original leaves out go
        size_t lastSpriteLine = 0;  // where new sprites go
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string_view line = lines[i];
            const std::vector<std::string_view> words = SplitWords(TrimEnd(line));
            if (words.empty() || words[0].front() == '#') {
                Emit(line);
                continue;
            }
            if (!sawFormat) {
                sawFormat = true;
                Emit(line);
                lastWordLine = out_.size();
                continue;
            }
            if (words[0] == "tile" && words.size() == 4 && words[1].size() == 1) {
                const std::optional<int32_t> tile = ParseInt(words[3]);
                if (!tile) return false;
                const unsigned char c = static_cast<unsigned char>(words[1][0]);
                if (c < legend_.size()) legend_[c] = *tile;
                Emit(line);
            } else if ((words[0] == "map" || words[0] == "tiles") && words.size() == 1) {
                size_t end = i + 1;
                while (end < lines.size() && TrimEnd(lines[end]) != "end") ++end;
                if (end == lines.size()) return false;
                if (!EmitMap(lines, i, end, words[0] == "tiles")) return false;
                i = end;
            } else if (words[0] == "sprite") {
                EmitSprite(line, spriteStatement++);
                lastSpriteLine = out_.size();
            } else if (words.size() == 3 && words[1] == "=") {
                if (!EmitWord(line, words)) return false;
                lastWordLine = out_.size();
            } else {
                Emit(line);
            }
        }
        // Words the original leaves at their defaults but the stage changed.
        std::vector<std::string> newWords;
        if (!givenLives_ && stage_.Lives != before_.Lives)
            newWords.push_back("Lives = " + std::to_string(stage_.Lives));
        for (int32_t w = 0; w < kStageWordCount; ++w) {
            if (IsDerivedWord(w) || given_[w] || stage_.words[w] == before_.words[w]) continue;
            // Left out, the player's index follows the player's line.
            if (w == kPlayerIndex && stage_.words[w] == LastPlayer(stage_)) continue;
            newWords.push_back(std::string(kStageWords[w].name) + " = " +
                               std::to_string(stage_.words[w]));
        }
        out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(lastWordLine), newWords.begin(),
                    newWords.end());
        if (lastSpriteLine >= lastWordLine) lastSpriteLine += newWords.size();
        if (lastSpriteLine == 0) lastSpriteLine = out_.size();
        std::vector<std::string> newSprites;
        for (size_t s = 0; s < stage_.sprites.size(); ++s) {
            if (spriteLines_[s] < 0) newSprites.push_back(SpriteLine(stage_.sprites[s]));
        }
        out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(lastSpriteLine), newSprites.begin(),
                    newSprites.end());
        for (size_t k = 0; k < out_.size(); ++k) {
            out += out_[k];
            if (k + 1 < out_.size() || endsWithNewline) out += '\n';
        }
        return true;
    }

  private:
    void Emit(std::string_view line) { out_.emplace_back(line); }

    static std::string SpriteLine(const SpriteRecord& sprite) {
        std::ostringstream text;
        WriteSprite(text, sprite);
        std::string line = text.str();
        line.pop_back();  // the newline
        return line;
    }

    bool EmitWord(std::string_view line, const std::vector<std::string_view>& words) {
        const std::string name(words[0]);
        int32_t now = 0;
        int32_t was = 0;
        if (name == "Lives") {
            givenLives_ = true;
            now = stage_.Lives;
            was = before_.Lives;
        } else if (name == "Level") {
            now = stage_.Level;
            was = before_.Level;
        } else {
            const int32_t key = FindStageWord(name);
            if (key < 0) return false;
            given_[key] = true;
            now = stage_.words[key];
            was = before_.words[key];
        }
        if (now == was) {
            Emit(line);
        } else {
            out_.push_back(name + " = " + std::to_string(now));
        }
        return true;
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
                    legend_[static_cast<unsigned char>(free)] = tile;
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
            if (legend_[static_cast<unsigned char>(c)] < 0) return c;
        }
        return 0;
    }

    const StageFile& before_;
    const StageFile& stage_;
    const TileMapFile& map_;
    const std::vector<int32_t>& spriteLines_;
    std::vector<std::string> out_;
    std::array<bool, kStageWordCount> given_{};
    bool givenLives_ = false;
    std::array<int32_t, 128> legend_ = [] {
        std::array<int32_t, 128> none;
        none.fill(-1);
        return none;
    }();
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
