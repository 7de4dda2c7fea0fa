#pragma once
#include <cstdint>

namespace zoa {

// Input handlers: they only set game-state flags that the frame acts on.
void OnKeyDown(uint32_t vk);
void OnKeyUp(uint32_t vk);
void OnMouseMove(int32_t lParam);
void OnLButtonDown();
void OnLButtonUp();
void OnRButtonDown(int32_t lParam);

}  // namespace zoa
