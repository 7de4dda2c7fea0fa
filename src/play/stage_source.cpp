// The parser of stage sources: statements as the recogniser reads them, checked
// against each other (nothing given twice, a map, a Level) and compiled.
#include "play/stage_source.h"

#include <array>
#include <string_view>
#include <vector>

#include "play/stage_source_statement.h"
#include "sim/world_map.h"

namespace zoa {

namespace {

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
            const Statement s = RecogniseStatement(line);
            if (s.kind == StatementKind::kBlank || s.kind == StatementKind::kComment) continue;
            if (!sawFormat_) {
                if (s.kind != StatementKind::kFormat) {
                    return Fail("a stage source starts with the line \"" +
                                std::string(kFormatLine) + "\"");
                }
                sawFormat_ = true;
                continue;
            }
            if (!s.error.empty()) return Fail(s.error);
            if (!Take(s, stage)) return false;
        }
        if (!sawFormat_)
            return Fail("empty source: a stage source starts with \"" + std::string(kFormatLine) +
                        "\"");
        return true;
    }

    // A well-formed statement after the format line.
    bool Take(const Statement& s, StageFile& stage) {
        switch (s.kind) {
            case StatementKind::kWord:
                if (given_[s.key]) return Fail(std::string(s.name) + " is given twice");
                given_[s.key] = true;
                SettableValue(stage, s.key) = s.value;
                return true;
            case StatementKind::kLegend: {
                int32_t& tile = legend_[static_cast<unsigned char>(s.character)];
                if (tile >= 0)
                    return Fail(std::string("character ") + s.character + " is given twice");
                tile = s.value;
                return true;
            }
            case StatementKind::kMap:
            case StatementKind::kTiles:
                return ParseMapBlock(s.kind == StatementKind::kTiles);
            case StatementKind::kSprite:
                if (stage.sprites.size() == static_cast<size_t>(kMaxStageSprites)) {
                    return Fail("more than " + std::to_string(kMaxStageSprites) + " sprites");
                }
                stage.sprites.push_back(s.sprite);
                return true;
            default:
                // A second format line.
                return Fail(NotAStatement("stage"));
        }
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
            if (IsBlockEnd(line)) {
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

    bool Finish(StageFile& stage, TileMapFile& map) {
        if (mapLine_ == 0) return Fail("the stage has no map (a map or tiles block)");
        if (!given_[kLevelKey]) return Fail("the stage does not say its Level");
        if (!given_[kTime_Chai]) return Fail("the stage does not say its Time_Chai");
        if (stage.sprites.empty())
            return Fail("the stage has no sprites; it needs the player (type 10000)");
        if (!given_[kPlayerIndex]) {
            const int32_t player = LastPlayerSprite(stage);
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
    std::array<bool, kSettableCount> given_{};
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

}  // namespace

bool CompileStageSource(const std::string& text, StageFile& stage, TileMapFile& map,
                        std::string* error) {
    stage = StageFile{};
    map = TileMapFile{};
    return SourceParser(text).Parse(stage, map, error);
}

}  // namespace zoa
