#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "sim/simulation.h"

namespace zoa {

// The last moments of play, one per frame, for rewinding. The map and the
// tile attributes change only when a stage loads, and a load starts a new
// history, so an entry keeps the game state whole (a few hundred bytes) and
// of the sprite pool only what changed since the entry before it: the bytes
// of the two pools XORed together, with the runs of zeros left out. Walking
// back from the newest entry undoes these differences one by one. All memory
// is taken when the history is made; when it is full the oldest entries go.
class RewindHistory {
  public:
    // What an entry remembers besides the simulation: where the run was.
    struct Stamp {
        uint32_t runFrame = 0;      // the recorded run's frame count after this frame
        uint64_t soundsLogged = 0;  // the sound log's length after this frame
    };

    static constexpr size_t kDefaultEntries = 4096;            // over 60 s at 60 frames a second
    static constexpr size_t kDefaultBytes = size_t{48} << 20;  // pool differences

    explicit RewindHistory(size_t entries = kDefaultEntries, size_t bytes = kDefaultBytes);

    // Forgets every entry; the next Push starts over.
    void Clear();
    // Adds the moment `s` as the newest entry. The map is not kept: the
    // caller clears the history when it changes.
    void Push(const Simulation& s, const Stamp& stamp);
    // Drops the newest entry and puts the one before it into `s` (game state,
    // pool, demo position; the map stays). False when there is no earlier
    // entry: `s` then gets the newest one, if any.
    bool StepBack(Simulation& s, Stamp* stamp);

    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // Bytes the pool differences take now.
    size_t differenceBytes() const { return used_; }
    // Bytes the history has reserved in all, whether in use or not.
    size_t reservedBytes() const;

  private:
    struct Entry {
        GameState game;
        DemoPosition demo;
        Stamp stamp;
        size_t offset = 0;  // where the entry's pool difference starts in bytes_
        size_t length = 0;
    };

    Entry& At(size_t age);  // 0: the newest
    void DropOldest();
    size_t Encode(const SpritePool& now);
    void Decode(const Entry& e);

    std::vector<Entry> entries_;
    // Left uninitialised: the system gives the memory only as it is written.
    std::unique_ptr<uint8_t[]> bytes_;  // a ring of pool differences
    size_t capacity_ = 0;
    std::unique_ptr<SpritePool> base_;    // the newest entry's pool
    std::unique_ptr<uint8_t[]> scratch_;  // a difference being built (its worst case)
    size_t first_ = 0;                    // index of the oldest entry
    size_t count_ = 0;
    size_t head_ = 0;  // where the next difference goes in bytes_
    size_t used_ = 0;
};

}  // namespace zoa
