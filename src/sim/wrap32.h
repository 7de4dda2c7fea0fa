#pragma once
#include <cstdint>

namespace zoa {

// Record words are 32-bit and a stage file may hold any value in them. Sums
// and products of record words are worked out in 64 bits and stored back as
// the 32-bit words they are: values at the ends of the range wrap around
// instead of overflowing.
constexpr int32_t Wrap32(int64_t value) {
    return static_cast<int32_t>(value);
}

// The one wrap-add: a record word moved by `by`, as the 32-bit word it is.
constexpr void MoveBy(int32_t& word, int64_t by) {
    word = Wrap32(int64_t{word} + by);
}

}  // namespace zoa
