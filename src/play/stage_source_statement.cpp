#include "play/stage_source_statement.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "play/sheets.h"
#include "sim/catalogue_lookup.h"
#include "sim/sprite_types.h"
#include "sim/world_map.h"

namespace zoa {

namespace {

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

// Each Read* fills the statement from the line's words, or says what is wrong.

void ReadWord(const std::vector<std::string_view>& words, Statement& s) {
    s.name = words[0];
    const std::string name(words[0]);
    if (words.size() != 3) {
        s.error = "expected " + name + " = VALUE";
        return;
    }
    const std::optional<int32_t> value = ParseInt(words[2]);
    if (!value) {
        s.error = Quoted(words[2]) + " is not a 32-bit integer";
        return;
    }
    s.value = *value;
    if (name == "Lives") {
        s.key = kLivesKey;
    } else if (name == "Level") {
        s.key = kLevelKey;
    } else {
        s.key = FindStageWord(name);
        if (s.key < 0) {
            s.error = "unknown name \"" + name + "\"";
        } else if (IsDerivedWord(s.key)) {
            s.error = name + " follows from the map and the sprites and cannot be set";
        }
    }
}

void ReadLegend(const std::vector<std::string_view>& words, Statement& s) {
    if (words.size() != 4 || words[2] != "=") {
        s.error = "expected tile CHARACTER = NUMBER";
        return;
    }
    if (words[1].size() != 1) {
        s.error = Quoted(words[1]) + " is not a single character";
        return;
    }
    const unsigned char c = static_cast<unsigned char>(words[1][0]);
    if (c < 33 || c > 126) {
        s.error = "map characters are printable ASCII, not space";
        return;
    }
    const std::optional<int32_t> tile = ParseInt(words[3]);
    if (!tile || *tile < 0 || *tile >= kTileCount) {
        s.error = "tile number \"" + std::string(words[3]) + "\" is outside 0.." +
                  std::to_string(kTileCount - 1);
        return;
    }
    s.character = words[1][0];
    s.value = *tile;
}

// FIELD=VALUE of a sprite line; frames=a,b,... takes up to eight counts, the rest 0.
std::string ReadFieldValue(int32_t field, std::string_view text, SpriteRecord& record) {
    int32_t* words = SpriteFieldWords(record, field);
    const std::string name(kSpriteFields[field].name);
    const int32_t count = kSpriteFields[field].words;
    if (count > 1) {
        std::fill(words, words + count, 0);
        int32_t k = 0;
        size_t start = 0;
        for (;;) {
            const size_t comma = text.find(',', start);
            const std::string_view item =
                text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
            if (k == count) return name + " takes at most " + std::to_string(count) + " values";
            const std::optional<int32_t> value = ParseInt(item);
            if (!value) return Quoted(item) + " in " + name + " is not a 32-bit integer";
            words[k++] = *value;
            if (comma == std::string_view::npos) return {};
            start = comma + 1;
        }
    }
    const std::optional<int32_t> value =
        name == "sheetA" || name == "sheetB" ? ParseSheet(text) : ParseInt(text);
    if (!value) return Quoted(text) + " is not a value for " + name;
    words[0] = *value;
    return {};
}

std::string ReadSpriteFields(const std::vector<std::string_view>& words, SpriteRecord& record,
                             bool fromCatalogue) {
    std::array<bool, kSpriteFieldCount> set{};
    set[0] = set[5] = set[6] = true;  // type, x, y
    for (size_t i = 4; i < words.size(); ++i) {
        const size_t eq = words[i].find('=');
        if (eq == std::string_view::npos) return Quoted(words[i]) + " is not FIELD=VALUE";
        const std::string name(words[i].substr(0, eq));
        const int32_t field = FindSpriteField(name.c_str());
        if (field < 0) return "unknown sprite field \"" + name + "\"";
        if (set[field]) return "sprite field " + name + " is given twice";
        set[field] = true;
        std::string error = ReadFieldValue(field, words[i].substr(eq + 1), record);
        if (!error.empty()) return error;
    }
    if (fromCatalogue) return {};
    std::string missing;
    for (int32_t f = 0; f < kSpriteFieldCount; ++f) {
        if (IsCatalogueField(f) && !set[f])
            missing += std::string(missing.empty() ? "" : ", ") + kSpriteFields[f].name;
    }
    if (missing.empty()) return {};
    return "type " + std::to_string(record.type) +
           " has no catalogue entry; give its fields: " + missing;
}

void ReadSprite(const std::vector<std::string_view>& words, Statement& s) {
    if (words.size() < 4) {
        s.error = "expected sprite TYPE X Y [FIELD=VALUE ...]";
        return;
    }
    int32_t numbers[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<int32_t> n = ParseInt(words[1 + i]);
        if (!n) {
            s.error = Quoted(words[1 + i]) + " is not a 32-bit integer";
            return;
        }
        numbers[i] = *n;
    }
    bool fromCatalogue = false;
    s.sprite = BaseRecord(numbers[0], numbers[1], numbers[2], fromCatalogue);
    s.error = ReadSpriteFields(words, s.sprite, fromCatalogue);
}

}  // namespace

int32_t& SettableValue(StageFile& stage, int32_t key) {
    if (key == kLivesKey) return stage.Lives;
    if (key == kLevelKey) return stage.Level;
    return stage.words[key];
}

int32_t SettableValue(const StageFile& stage, int32_t key) {
    if (key == kLivesKey) return stage.Lives;
    if (key == kLevelKey) return stage.Level;
    return stage.words[key];
}

Statement RecogniseStatement(std::string_view line) {
    Statement s;
    const std::vector<std::string_view> words = SplitWords(TrimEnd(line));
    if (words.empty()) return s;
    const std::string_view keyword = words[0];
    if (keyword.front() == '#') {
        s.kind = StatementKind::kComment;
    } else if (words.size() == 2 && keyword == "stage" && words[1] == "1") {
        s.kind = StatementKind::kFormat;
    } else if (keyword == "tile") {
        s.kind = StatementKind::kLegend;
        ReadLegend(words, s);
    } else if (keyword == "map" || keyword == "tiles") {
        s.kind = keyword == "map" ? StatementKind::kMap : StatementKind::kTiles;
        if (words.size() != 1) s.error = Quoted(keyword) + " stands alone on its line";
    } else if (keyword == "sprite") {
        s.kind = StatementKind::kSprite;
        ReadSprite(words, s);
    } else if (words.size() >= 2 && words[1] == "=") {
        s.kind = StatementKind::kWord;
        ReadWord(words, s);
    } else {
        s.kind = StatementKind::kUnknown;
        s.error = NotAStatement(keyword);
    }
    return s;
}

std::string NotAStatement(std::string_view keyword) {
    return Quoted(keyword) +
           " is not a statement (expected NAME = VALUE, tile, map, tiles, sprite)";
}

bool IsBlockEnd(std::string_view line) {
    return TrimEnd(line) == "end";
}

std::string_view TrimEnd(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
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

std::optional<int32_t> ParseInt(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

bool IsDerivedWord(int32_t word) {
    return word == kSprite_Getsu || word == kMap_w || word == kMap_h;
}

int32_t DefaultWord(int32_t word) {
    GameState fresh;
    return StoredGameWord(fresh, word);
}

int32_t LastPlayerSprite(const StageFile& stage) {
    int32_t player = -1;
    for (size_t i = 0; i < stage.sprites.size(); ++i) {
        if (stage.sprites[i].type == kPlayer) player = static_cast<int32_t>(i);
    }
    return player;
}

void WriteSpriteLine(std::ostream& out, const SpriteRecord& sprite) {
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
}

}  // namespace zoa
