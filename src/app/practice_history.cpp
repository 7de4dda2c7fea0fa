#include "app/practice_history.h"

#include <algorithm>
#include <cstring>

namespace zoa {

namespace {

constexpr size_t kPoolBytes = sizeof(SpritePool);
static_assert(kPoolBytes % 8 == 0, "the pool is compared eight bytes at a time");
// A run of at most this many equal bytes inside changed ones is stored with
// them: starting a new run would cost as much.
constexpr size_t kLongestKeptGap = 2;
// Worst case of one difference: every byte changed, in runs of one.
constexpr size_t kWorstDifference = kPoolBytes / (kLongestKeptGap + 1) * 8 + kPoolBytes + 16;
constexpr size_t kReservedFolder = 256;

uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint8_t* PutCount(uint8_t* out, size_t n) {
    while (n >= 0x80) {
        *out++ = static_cast<uint8_t>(n | 0x80);
        n >>= 7;
    }
    *out++ = static_cast<uint8_t>(n);
    return out;
}

const uint8_t* GetCount(const uint8_t* in, size_t& n) {
    n = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t b = *in++;
        n |= size_t{b & 0x7Fu} << shift;
        if (!(b & 0x80)) return in;
    }
}

// Room that is written before it is read: left unset, so a large history
// costs no memory until it is used. The browser build's C++ library has no
// make_unique_for_overwrite; there the bytes start zeroed.
std::unique_ptr<uint8_t[]> UnsetBytes(size_t count) {
#ifdef __cpp_lib_smart_ptr_for_overwrite
    return std::make_unique_for_overwrite<uint8_t[]>(count);
#else
    return std::make_unique<uint8_t[]>(count);
#endif
}

}  // namespace

RewindHistory::RewindHistory(size_t entries, size_t bytes)
    : entries_(std::max<size_t>(entries, 2)),
      bytes_(UnsetBytes(std::max(bytes, kWorstDifference))),
      capacity_(std::max(bytes, kWorstDifference)),
      base_(std::make_unique<SpritePool>()),
      scratch_(UnsetBytes(kWorstDifference)) {
    // The folder name is the one string of the game state: with room kept, a
    // copy never allocates.
    for (Entry& e : entries_) e.game.WindowsDir.reserve(kReservedFolder);
}

size_t RewindHistory::reservedBytes() const {
    return entries_.size() * sizeof(Entry) + entries_.size() * kReservedFolder + capacity_ +
           sizeof(SpritePool) + kWorstDifference;
}

void RewindHistory::Clear() {
    count_ = 0;
    first_ = 0;
    head_ = 0;
    used_ = 0;
}

RewindHistory::Entry& RewindHistory::At(size_t age) {
    return entries_[(first_ + count_ - 1 - age) % entries_.size()];
}

void RewindHistory::DropOldest() {
    used_ -= entries_[first_].length;
    first_ = (first_ + 1) % entries_.size();
    if (--count_ == 0) Clear();
}

// Writes the difference between base_ and `now` into scratch_ as runs of
// (equal bytes skipped, changed bytes, the changed bytes XORed), and makes
// base_ equal to `now`. Its length.
size_t RewindHistory::Encode(const SpritePool& now) {
    auto* a = reinterpret_cast<uint8_t*>(base_.get());
    const auto* b = reinterpret_cast<const uint8_t*>(&now);
    uint8_t* out = scratch_.get();
    size_t i = 0;
    size_t last = 0;
    for (;;) {
        while (i < kPoolBytes && Load64(a + i) == Load64(b + i)) i += 8;
        if (i >= kPoolBytes) break;
        while (a[i] == b[i]) ++i;
        const size_t start = i;
        size_t end = i + 1;
        for (size_t j = end; j < kPoolBytes && j - end <= kLongestKeptGap; ++j)
            if (a[j] != b[j]) end = j + 1;
        out = PutCount(out, start - last);
        out = PutCount(out, end - start);
        for (size_t k = start; k < end; ++k) {
            *out++ = static_cast<uint8_t>(a[k] ^ b[k]);
            a[k] = b[k];
        }
        last = end;
        i = end & ~size_t{7};
    }
    return static_cast<size_t>(out - scratch_.get());
}

// Undoes the newest entry's difference on base_.
void RewindHistory::Decode(const Entry& e) {
    auto* a = reinterpret_cast<uint8_t*>(base_.get());
    const uint8_t* in = bytes_.get() + e.offset;
    const uint8_t* end = in + e.length;
    size_t at = 0;
    while (in < end) {
        size_t skip = 0, length = 0;
        in = GetCount(in, skip);
        in = GetCount(in, length);
        at += skip;
        for (size_t k = 0; k < length; ++k) a[at + k] ^= in[k];
        in += length;
        at += length;
    }
}

void RewindHistory::Push(const Simulation& s, const Stamp& stamp) {
    size_t length = 0;
    if (count_ == 0) {
        *base_ = s.pool;
    } else {
        length = Encode(s.pool);
    }
    if (count_ == entries_.size()) DropOldest();
    // Room in the ring: a difference is stored in one piece, so when it does
    // not fit before the end, the entries up there (the oldest) go and it
    // starts again at the beginning.
    if (head_ + length > capacity_) {
        while (count_ > 0 && used_ > 0 && entries_[first_].offset >= head_) DropOldest();
        head_ = 0;
    }
    // Then the oldest entries go while their bytes lie where it goes.
    for (;;) {
        size_t k = 0;
        while (k < count_ && entries_[(first_ + k) % entries_.size()].length == 0) ++k;
        if (k == count_) break;
        const Entry& old = entries_[(first_ + k) % entries_.size()];
        if (old.offset >= head_ + length || old.offset + old.length <= head_) break;
        for (size_t d = 0; d <= k; ++d) DropOldest();
    }
    if (count_ == 0) {
        head_ = 0;
        length = 0;  // the first entry needs no difference: base_ is its pool
    }
    Entry& e = entries_[(first_ + count_) % entries_.size()];
    ++count_;
    e.game = s.game;
    e.demo = s.demo;
    e.stamp = stamp;
    e.offset = head_;
    e.length = length;
    std::memcpy(bytes_.get() + head_, scratch_.get(), length);
    head_ += length;
    used_ += length;
}

bool RewindHistory::StepBack(Simulation& s, Stamp* stamp) {
    if (count_ == 0) return false;
    bool stepped = false;
    if (count_ > 1) {
        Entry& newest = At(0);
        Decode(newest);
        used_ -= newest.length;
        head_ = newest.offset;
        --count_;
        stepped = true;
    }
    const Entry& e = At(0);
    s.game = e.game;
    s.demo = e.demo;
    s.pool = *base_;
    if (stamp) *stamp = e.stamp;
    return stepped;
}

}  // namespace zoa
