#pragma once
#include <cstdint>

namespace zoa {

// The title menu: new game, continue, demo, quit.
void DrawTitle();
void TitleMenuKey(uint32_t vk);

}  // namespace zoa
