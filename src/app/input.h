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

// The keys that jump (Ctrl, Z) and throw (Space, X) in play.
bool IsJumpKey(uint32_t vk);
bool IsThrowKey(uint32_t vk);

}  // namespace zoa
