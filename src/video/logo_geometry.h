#pragma once
#include <cstdint>

namespace zoa {

// a x b / c in 64 bits, rounded to nearest (c / 2 added before dividing).
inline int64_t RoundedMulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0) return 0;
    return (a * b + c / 2) / c;
}

// How many extra frames fit on each side of the centre frame.
inline int32_t SideFrameCount(int32_t areaWidth, int32_t frameWidth) {
    if (frameWidth <= 0) return 0;
    const int32_t n = (areaWidth - frameWidth) / (2 * frameWidth);
    return n > 0 ? n : 0;
}

// Left edge of frame j (0 the centre, negative to the left).
inline int32_t FrameLeft(int32_t areaWidth, int32_t j, int32_t frameWidth) {
    return areaWidth / 2 + j * frameWidth - frameWidth / 2;
}

// The place in a clip as ten-thousandths of its length, and back.
constexpr int32_t kPositionScale = 10000;
inline int64_t TimeAtPosition(int64_t timeStart, int64_t timeLength, int32_t position) {
    return timeStart + RoundedMulDiv(timeLength, position, kPositionScale);
}
inline int32_t PositionAtTime(int64_t timeStart, int64_t timeLength, int64_t time) {
    return static_cast<int32_t>(RoundedMulDiv(time - timeStart, kPositionScale, timeLength));
}

}  // namespace zoa
