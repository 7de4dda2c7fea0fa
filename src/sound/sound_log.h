#pragma once
#include <array>
#include <cstdint>

namespace zoa {

// Every play and stop that reaches the sound output, with the main-loop frame
// it happened in. Only the most recent kCapacity entries are kept, so a very
// long run does not grow; Total() counts all of them, which lets a reader ask
// for the entries since it last looked.
class SoundLog {
  public:
    static constexpr uint32_t kCapacity = 8192;
    enum Op : int32_t { kPlay = 0, kStop = 1 };
    struct Entry {
        uint32_t frame = 0;
        Op op = kPlay;
        int32_t index = 0;
        int32_t loop = 0;
    };

    void Add(const Entry& entry) { ring_[total_++ % kCapacity] = entry; }
    uint64_t Total() const { return total_; }
    uint64_t Oldest() const {
        const uint64_t inRing = total_ > kCapacity ? total_ - kCapacity : 0;
        return inRing > lost_ ? inRing : lost_;
    }

    // Forgets the entries from number `total` on, as if they had never been
    // added (play was put back to an earlier moment). The slots they took
    // held older entries, which stay lost.
    void TruncateTo(uint64_t total) {
        if (total >= total_) return;
        if (Oldest() > lost_) lost_ = Oldest();
        total_ = total < lost_ ? lost_ : total;
    }

    // Calls visit(entry) for the kept entries numbered `from` and later, oldest first.
    template <class Visit>
    void ForEachSince(uint64_t from, Visit&& visit) const {
        for (uint64_t n = from > Oldest() ? from : Oldest(); n < total_; ++n)
            visit(ring_[n % kCapacity]);
    }

  private:
    std::array<Entry, kCapacity> ring_{};
    uint64_t total_ = 0;
    uint64_t lost_ = 0;  // entries before this one were overwritten
};

}  // namespace zoa
