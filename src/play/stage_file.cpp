#include "play/stage_file.h"

#include <cstring>

#include "sim/world_map.h"

namespace zoa {

namespace {

int32_t& AsWord(int32_t& variable) {
    return variable;
}
// The frame interval is kept unsigned; the file holds the same 32 bits.
int32_t& AsWord(uint32_t& variable) {
    return reinterpret_cast<int32_t&>(variable);
}

}  // namespace

const StageWordField kStageWords[kStageWordCount] = {
#define ZOA_STAGE_WORD_FIELD(index, variable) \
    {#variable, [](GameState& g) -> int32_t& { return AsWord(g.variable); }},
    ZOA_STAGE_WORDS(ZOA_STAGE_WORD_FIELD)
#undef ZOA_STAGE_WORD_FIELD
};

int32_t FindStageWord(const std::string& name) {
    for (int32_t w = 0; w < kStageWordCount; ++w) {
        if (name == kStageWords[w].name) return w;
    }
    return -1;
}

namespace {

std::string CheckMapSize(int32_t w, int32_t h) {
    if (w < kMinMapWidth || w > kMaxMapWidth) {
        return "map width " + std::to_string(w) + " is outside " + std::to_string(kMinMapWidth) +
               ".." + std::to_string(kMaxMapWidth);
    }
    if (h < kMinMapHeight || h > kMaxMapHeight) {
        return "map height " + std::to_string(h) + " is outside " + std::to_string(kMinMapHeight) +
               ".." + std::to_string(kMaxMapHeight);
    }
    return {};
}

std::string CheckTiles(const std::vector<int32_t>& tiles, int32_t w, int32_t h) {
    if (tiles.size() != static_cast<size_t>(w) * static_cast<size_t>(h)) {
        return "the map holds " + std::to_string(tiles.size()) + " tiles, not " +
               std::to_string(w) + " x " + std::to_string(h);
    }
    for (size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i] < 0 || tiles[i] >= kTileCount) {
            return "tile number " + std::to_string(tiles[i]) + " at column " +
                   std::to_string(i % static_cast<size_t>(w)) + ", row " +
                   std::to_string(i / static_cast<size_t>(w)) + " is outside 0.." +
                   std::to_string(kTileCount - 1);
        }
    }
    return {};
}

std::string CheckSpriteCount(int32_t count, int32_t playerIndex) {
    if (count < 1 || count > kMaxStageSprites) {
        return "sprite count " + std::to_string(count) + " is outside 1.." +
               std::to_string(kMaxStageSprites);
    }
    if (playerIndex < 0 || playerIndex >= count) {
        return "player index " + std::to_string(playerIndex) + " is outside 0.." +
               std::to_string(count - 1);
    }
    return {};
}

size_t StageFileSize(int32_t w, int32_t h, int32_t n) {
    return kStageHeaderBytes + 4 * static_cast<size_t>(w) * static_cast<size_t>(h) +
           static_cast<size_t>(kSpriteRecordBytes) * static_cast<size_t>(n) + kStageTrailerBytes;
}

std::string SizeMismatch(size_t actual, size_t expected) {
    return "the file is " + std::to_string(actual) + " bytes long, its header says " +
           std::to_string(expected);
}

void ReadTiles(WordReader& in, int32_t w, int32_t h, std::vector<int32_t>& tiles) {
    tiles.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int32_t& tile : tiles) tile = in.Signed();
}

template <class Error>
void Fail(std::string* error, Error&& why) {
    if (error) *error = std::forward<Error>(why);
}

}  // namespace

std::string CheckStageFile(const StageFile& file) {
    std::string why = CheckMapSize(file[kMap_w], file[kMap_h]);
    if (why.empty()) why = CheckSpriteCount(file[kSprite_Getsu], file[kPlayerIndex]);
    if (why.empty() && file.sprites.size() != static_cast<size_t>(file[kSprite_Getsu])) {
        why = "the stage holds " + std::to_string(file.sprites.size()) +
              " sprites, its count says " + std::to_string(file[kSprite_Getsu]);
    }
    if (why.empty()) why = CheckTiles(file.tiles, file[kMap_w], file[kMap_h]);
    return why;
}

StageRead ReadStageFile(const std::vector<uint8_t>& bytes, StageFile& out, std::string* error) {
    if (bytes.size() < sizeof kStageTag ||
        std::memcmp(bytes.data(), kStageTag, sizeof kStageTag) != 0) {
        Fail(error, "not a stage file (no ZANL tag)");
        return StageRead::kBadMarker;
    }
    WordReader in(bytes.data(), bytes.size());
    in.Unsigned();
    for (int32_t marker : kStageMarkers) {
        const int32_t word = in.Signed();
        if (word != marker) {
            Fail(error, "not a stage file (marker " + std::to_string(word) + " where " +
                            std::to_string(marker) + " belongs)");
            return StageRead::kBadMarker;
        }
    }
    if (bytes.size() < kStageHeaderBytes) {
        Fail(error, "the file ends inside its header (" + std::to_string(bytes.size()) + " bytes)");
        return StageRead::kRejected;
    }
    for (int32_t& word : out.words) word = in.Signed();
    std::string why = CheckMapSize(out[kMap_w], out[kMap_h]);
    if (why.empty()) why = CheckSpriteCount(out[kSprite_Getsu], out[kPlayerIndex]);
    if (!why.empty()) {
        Fail(error, std::move(why));
        return StageRead::kRejected;
    }
    const size_t expected = StageFileSize(out[kMap_w], out[kMap_h], out[kSprite_Getsu]);
    if (bytes.size() != expected) {
        Fail(error, SizeMismatch(bytes.size(), expected));
        return StageRead::kRejected;
    }
    ReadTiles(in, out[kMap_w], out[kMap_h], out.tiles);
    why = CheckTiles(out.tiles, out[kMap_w], out[kMap_h]);
    if (!why.empty()) {
        Fail(error, std::move(why));
        return StageRead::kRejected;
    }
    out.sprites.resize(static_cast<size_t>(out[kSprite_Getsu]));
    for (SpriteRecord& sprite : out.sprites) {
        ForEachSpriteWord(sprite, [&in](int32_t& word) { word = in.Signed(); });
    }
    out.Lives = in.Signed();
    out.Level = in.Signed();
    return StageRead::kOk;
}

bool ReadTileMapFile(const std::vector<uint8_t>& bytes, TileMapFile& out, std::string* error) {
    if (bytes.size() < kTileMapHeaderBytes) {
        Fail(error, "the file ends inside its header (" + std::to_string(bytes.size()) + " bytes)");
        return false;
    }
    WordReader in(bytes.data(), bytes.size());
    out.Map_w = in.Signed();
    out.Map_h = in.Signed();
    std::string why = CheckMapSize(out.Map_w, out.Map_h);
    if (!why.empty()) {
        Fail(error, std::move(why));
        return false;
    }
    const size_t expected =
        kTileMapHeaderBytes + 4 * static_cast<size_t>(out.Map_w) * static_cast<size_t>(out.Map_h);
    if (bytes.size() != expected) {
        Fail(error, SizeMismatch(bytes.size(), expected));
        return false;
    }
    ReadTiles(in, out.Map_w, out.Map_h, out.tiles);
    why = CheckTiles(out.tiles, out.Map_w, out.Map_h);
    if (!why.empty()) {
        Fail(error, std::move(why));
        return false;
    }
    return true;
}

void WriteStageFile(const StageFile& file, WordWriter& out) {
    out.Bytes(kStageTag, sizeof kStageTag);
    for (int32_t marker : kStageMarkers) out.Signed(marker);
    for (int32_t word : file.words) out.Signed(word);
    for (int32_t tile : file.tiles) out.Signed(tile);
    for (const SpriteRecord& sprite : file.sprites) {
        ForEachSpriteWord(sprite, [&out](const int32_t& word) { out.Signed(word); });
    }
    out.Signed(file.Lives);
    out.Signed(file.Level);
}

void WriteTileMapFile(const TileMapFile& file, WordWriter& out) {
    out.Signed(file.Map_w);
    out.Signed(file.Map_h);
    for (int32_t tile : file.tiles) out.Signed(tile);
}

}  // namespace zoa
