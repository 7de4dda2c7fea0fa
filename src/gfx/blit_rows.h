#pragma once
#include <cstddef>
#include <cstdint>

namespace zoa {

// Copies n pixels, leaving the destination as it is wherever the source holds `key`.
void CopyRowKeyed(uint8_t* dst, const uint8_t* src, size_t n, uint8_t key);

}  // namespace zoa
