#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/sprite_record.h"

namespace zoa {

constexpr int32_t kPoolCapacity = 1000;

// One entry of the draw order: a record's depth and its pool index.
struct DrawEntry {
    int32_t depth = 0;
    int32_t index = 0;

    bool operator==(const DrawEntry&) const = default;
};

// Every sprite of the running stage, in one fixed table. Records 0 to
// game.Sprite_Getsu - 1 are live, in the order they were added; the rest are
// free and hold whatever they last held. The live count is game.Sprite_Getsu
// and nothing else. `pool = SpritePool{}` empties the table (not the count).
struct SpritePool {
    std::array<SpriteRecord, kPoolCapacity> records{};
    std::array<DrawEntry, kPoolCapacity> DrawList{};

    SpriteRecord& operator[](int32_t index) { return records[static_cast<size_t>(index)]; }
    const SpriteRecord& operator[](int32_t index) const {
        return records[static_cast<size_t>(index)];
    }

    bool operator==(const SpritePool&) const = default;
};

// The running simulation's sprites (sim.pool, sim/simulation.h).
extern SpritePool& pool;

// True for an index of the table (live or not).
inline bool IsPoolSlot(int32_t index) {
    return index >= 0 && index < kPoolCapacity;
}

// The number of live records as a loop bound: the count, kept inside the table.
int32_t LiveSpriteCount();

// Appends a record at index Sprite_Getsu when the pool has room (count at most
// 999), then raises the count and clears MouseLeftDown. With a full pool
// nothing changes at all. True when the record was added. This is the storing
// half of SpawnSprite, which fills the record from the catalogue.
bool AddSpriteRecord(const SpriteRecord& record);

// Removes live record `index`; the records behind it move down one place in
// order. PlayerIndex is left as it is. An index that is not live is ignored.
void RemoveSprite(int32_t index);

}  // namespace zoa
