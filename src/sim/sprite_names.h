#pragma once
#include <cstdint>

namespace zoa {

// What a level maker calls each kind of sprite (the editor shows these): "crawler" for
// 10004, "jump pad" for 1008-1012 and so on; "" for a code no kind has.
const char* SpriteTypeName(int32_t type);

}  // namespace zoa
