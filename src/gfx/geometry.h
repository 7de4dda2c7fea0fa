#pragma once
#include <cstdint>

namespace zoa {

// Pixels are signed 32-bit; rectangles exclude their right and bottom edges.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

}  // namespace zoa
