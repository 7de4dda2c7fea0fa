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

// The one wrap-add: record words and steps summed in 64 bits, kept as the
// 32-bit word the sum is. Every term is widened before it is added, so no
// partial sum can overflow on the way.
template <typename... Terms>
constexpr int32_t WrapAdd(int64_t word, Terms... terms) {
    return Wrap32((word + ... + int64_t{terms}));
}

// word - by, the same way (by may be the most negative word).
constexpr int32_t WrapSub(int64_t word, int64_t by) {
    return Wrap32(word - by);
}

// A record word moved in place by `by`.
constexpr void MoveBy(int32_t& word, int64_t by) {
    word = WrapAdd(word, by);
}

}  // namespace zoa
