#pragma once
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "play/stage_file.h"

namespace zoa {

// What the parser and the writer of stage sources share: the one reading of a
// source line as a statement, so that a line the compiler accepts is a line the
// in-place update understands the same way, and the small pieces of the format
// both sides need.

constexpr std::string_view kFormatLine = "stage 1";

// Printable characters a written map uses for new tiles, tile 0 first.
constexpr std::string_view kMapCharacters =
    ".#=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!$%&*+-/"
    ":;<>?@^_~|'\"(),[]{}`\\";

// The values a NAME = VALUE line can set: the stage words, then these two,
// which the stage file keeps apart from the words.
constexpr int32_t kLivesKey = kStageWordCount;
constexpr int32_t kLevelKey = kStageWordCount + 1;
constexpr int32_t kSettableCount = kStageWordCount + 2;
int32_t& SettableValue(StageFile& stage, int32_t key);
int32_t SettableValue(const StageFile& stage, int32_t key);

enum class StatementKind {
    kBlank,
    kComment,  // the first word starts with #
    kFormat,   // stage 1
    kWord,     // NAME = VALUE
    kLegend,   // tile CHARACTER = NUMBER
    kMap,      // map: rows of legend characters up to "end"
    kTiles,    // tiles: rows of tile numbers up to "end"
    kSprite,   // sprite TYPE X Y [FIELD=VALUE ...]
    kUnknown,
};

struct Statement {
    StatementKind kind = StatementKind::kBlank;
    std::string error;      // what is wrong with the line; empty when it is well formed
    std::string_view name;  // kWord: the name as written
    int32_t key = -1;       // kWord: a stage word, kLivesKey or kLevelKey
    int32_t value = 0;      // kWord: its value; kLegend: the tile
    char character = 0;     // kLegend
    SpriteRecord sprite;    // kSprite: the record the line makes
};

// Reads one line of a source (outside a map block) as a statement.
Statement RecogniseStatement(std::string_view line);

// What is said of a line that is no statement (or a second format line).
std::string NotAStatement(std::string_view keyword);

// True for the line that ends a map or tiles block.
bool IsBlockEnd(std::string_view line);

// A line without the spaces, tabs and carriage return at its end.
std::string_view TrimEnd(std::string_view line);
std::vector<std::string_view> SplitWords(std::string_view line);
std::optional<int32_t> ParseInt(std::string_view text);
// "text" in double quotes, for error messages.
std::string Quoted(std::string_view text);

// Header words a source may not set: they follow from its map and sprites.
bool IsDerivedWord(int32_t word);
// The value every stage word has unless the source says otherwise: what a new
// game starts with.
int32_t DefaultWord(int32_t word);
constexpr int32_t kDefaultLives = 3;
// The last player sprite of the stage, or -1: where a source that leaves
// PlayerIndex out puts the player's index.
int32_t LastPlayerSprite(const StageFile& stage);

// The sprite line that gives back `sprite`, without its newline: only the
// fields that differ from what its type starts with.
void WriteSpriteLine(std::ostream& out, const SpriteRecord& sprite);

}  // namespace zoa
