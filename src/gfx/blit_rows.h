#pragma once
#include <cstddef>
#include <cstdint>

namespace zoa {

// A rectangle of pixels to copy between two pictures, skipping `key`.
struct KeyedBlock {
    uint8_t* dst;
    size_t dstPitch;
    const uint8_t* src;
    size_t srcPitch;
    size_t cols;
    size_t rows;
    uint8_t key;
};

// Copies the block, leaving the destination as it is wherever the source holds
// the key. 16 pixels at a time where the processor has SSE2 (every x86-64).
void CopyBlockKeyed(const KeyedBlock& block);

}  // namespace zoa
