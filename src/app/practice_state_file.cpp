#include "app/practice_state_file.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <type_traits>

#include "files/replace_file.h"
#include "files/utf8_path.h"

namespace zoa {

namespace {

constexpr char kTag[8] = {'Z', 'O', 'A', 'S', 'T', 'A', 'T', 'E'};
constexpr size_t kChecksumBytes = 8;
// Larger than any state this version writes; a bigger file is not one.
constexpr size_t kLargestStateFile = size_t{2} << 20;

// FNV-1a over the bytes: catches a damaged file, not a forged one.
uint64_t Checksum(const uint8_t* p, size_t n) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001b3ull;
    return h;
}

class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void U64(uint64_t v) {
        for (int i = 0; i < 8; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Words(const int32_t* w, size_t n) {
        for (size_t i = 0; i < n; ++i) U32(static_cast<uint32_t>(w[i]));
    }

  private:
    std::vector<uint8_t>& out_;
};

class Reader {
  public:
    Reader(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return p_ == end_; }
    bool Bytes(void* to, size_t n) {
        if (!ok_ || static_cast<size_t>(end_ - p_) < n) return ok_ = false;
        std::memcpy(to, p_, n);
        p_ += n;
        return true;
    }
    uint64_t U64() {
        uint8_t b[8] = {};
        Bytes(b, 8);
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
        return v;
    }
    uint32_t U32() {
        uint8_t b[4] = {};
        Bytes(b, 4);
        return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
    }
    void Words(int32_t* w, size_t n) {
        for (size_t i = 0; i < n && ok_; ++i) w[i] = static_cast<int32_t>(U32());
    }

  private:
    const uint8_t* p_;
    const uint8_t* end_;
    bool ok_ = true;
};

// The game state goes by name, so a file of a build with other variables is
// refused rather than read into the wrong ones.
void WriteGame(Writer& w, const GameState& g) {
    uint32_t count = 0;
    ForEachStateVariable(g, [&](const char*, auto) { ++count; });
    w.U32(count);
    ForEachStateVariable(g, [&](const char* name, auto v) {
        const size_t n = std::strlen(name);
        w.U32(static_cast<uint32_t>(n));
        w.Bytes(name, n);
        w.U32(static_cast<uint32_t>(v));
    });
    w.U32(g.RandomState);
}

bool ReadGame(Reader& r, GameState& g) {
    uint32_t count = 0;
    ForEachStateVariable(g, [&](const char*, auto) { ++count; });
    if (r.U32() != count) return false;
    bool same = true;
    ForEachStateVariable(g, [&](const char* name, auto& v) {
        const size_t n = std::strlen(name);
        char stored[64] = {};
        if (r.U32() != n || n > sizeof stored || !r.Bytes(stored, n) ||
            std::memcmp(stored, name, n) != 0)
            same = false;
        v = static_cast<std::remove_reference_t<decltype(v)>>(r.U32());
    });
    g.RandomState = r.U32();
    return same && r.ok();
}

void WriteWorld(Writer& w, const WorldMap& m) {
    w.Words(m.grid.data(), m.grid.size());
    for (const TileAttribute& t : m.tiles) w.Words(&t.sheetX, 3);
    w.Words(m.SptAttrStage.data(), m.SptAttrStage.size());
}

void ReadWorld(Reader& r, WorldMap& m) {
    r.Words(m.grid.data(), m.grid.size());
    for (TileAttribute& t : m.tiles) {
        int32_t words[3] = {};
        r.Words(words, 3);
        t = {words[0], words[1], words[2]};
    }
    r.Words(m.SptAttrStage.data(), m.SptAttrStage.size());
}

void WritePool(Writer& w, const SpritePool& p) {
    for (const SpriteRecord& s : p.records)
        ForEachSpriteWord(s, [&](int32_t v) { w.U32(static_cast<uint32_t>(v)); });
    for (const DrawEntry& d : p.DrawList) {
        w.U32(static_cast<uint32_t>(d.depth));
        w.U32(static_cast<uint32_t>(d.index));
    }
}

void ReadPool(Reader& r, SpritePool& p) {
    for (SpriteRecord& s : p.records)
        ForEachSpriteWord(s, [&](int32_t& v) { v = static_cast<int32_t>(r.U32()); });
    for (DrawEntry& d : p.DrawList) {
        d.depth = static_cast<int32_t>(r.U32());
        d.index = static_cast<int32_t>(r.U32());
    }
}

}  // namespace

std::vector<uint8_t> EncodeStateFile(const Simulation& s, const SavedState& info) {
    std::vector<uint8_t> out;
    out.reserve(sizeof(WorldMap) + sizeof(SpritePool) + 4096);
    Writer w(out);
    w.Bytes(kTag, sizeof kTag);
    w.U32(kStateFormatVersion);
    w.U64(info.runId);
    w.U64(info.saveId);
    w.U32(info.runFrame);
    WriteGame(w, s.game);
    WriteWorld(w, s.world);
    WritePool(w, s.pool);
    w.U32(s.demo.frame);
    w.U64(s.demo.next);
    w.U64(Checksum(out.data(), out.size()));
    return out;
}

bool DecodeStateFile(const uint8_t* bytes, size_t size, Simulation& s, SavedState& info,
                     std::string* error) {
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    if (size < sizeof kTag + 4 + kChecksumBytes || std::memcmp(bytes, kTag, sizeof kTag) != 0)
        return fail("not a saved state");
    Reader head(bytes + sizeof kTag, 4);
    if (head.U32() != kStateFormatVersion)
        return fail("a saved state of another version of the game");
    Reader sum(bytes + size - kChecksumBytes, kChecksumBytes);
    if (sum.U64() != Checksum(bytes, size - kChecksumBytes))
        return fail("the saved state is damaged");
    // Read into a copy: nothing changes unless the whole file is good.
    auto loaded = std::make_unique<Simulation>();
    loaded->game.WindowsDir = s.game.WindowsDir;
    SavedState got;
    Reader r(bytes + sizeof kTag + 4, size - sizeof kTag - 4 - kChecksumBytes);
    got.runId = r.U64();
    got.saveId = r.U64();
    got.runFrame = r.U32();
    if (!ReadGame(r, loaded->game)) return fail("the saved state holds other game variables");
    ReadWorld(r, loaded->world);
    ReadPool(r, loaded->pool);
    loaded->demo.frame = r.U32();
    loaded->demo.next = static_cast<size_t>(r.U64());
    if (!r.ok() || !r.atEnd()) return fail("the saved state is damaged");
    s = *loaded;
    info = got;
    return true;
}

bool WriteStateFile(const std::string& path, const Simulation& s, const SavedState& info,
                    std::string* error) {
    return files::ReplaceFile(path, EncodeStateFile(s, info), error);
}

bool ReadStateFile(const std::string& path, Simulation& s, SavedState& info, std::string* error) {
    std::ifstream file(files::FsPath(path), std::ios::binary);
    if (!file) {
        if (error) *error = "no saved state";
        return false;
    }
    std::vector<uint8_t> bytes;
    char chunk[65536];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + file.gcount());
        if (bytes.size() > kLargestStateFile) {
            if (error) *error = "not a saved state (too large)";
            return false;
        }
    }
    if (file.bad()) {
        if (error) *error = "the saved state cannot be read";
        return false;
    }
    return DecodeStateFile(bytes.data(), bytes.size(), s, info, error);
}

}  // namespace zoa
